#include "app/kestro_app.h"

namespace zentri {

// Defined here so that the class's virtual table has one home.
KestroApp::~KestroApp() = default;

shared_ptr<Delegation_1<PopupBox::PopupBoxResult>> KestroApp::ShowPopup(
    const std::u16string& caption, const std::u16string& text, const std::u16string& leftText,
    const std::u16string& rightText) {
    return popupBox.Show(caption, text, leftText, rightText);
}

}  // namespace zentri
