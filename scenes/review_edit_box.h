#pragma once
// The multi-line entry of the review page. The handset's page uses a native edit window laid
// over the program's surface; here the program draws the entry itself, as a node laid over the
// page: a white box with a grey border, the text broken at words and at the writer's line
// breaks (Enter), the caret at the end of the text, and the last lines in view when the text
// is taller than the box. Typing appends, backspace takes the last character back.

#include <string>

#include "ui/gobject.h"
#include "widgets/label.h"
#include "widgets/rect_drawer.h"

namespace zentri {

struct Key;

class ReviewEditBox : public TLabel<TRectDrawer<GObject>> {
  public:
    ReviewEditBox();

    bool IsEditBox() const override { return true; }
    void FocusChanged(bool focused) override;
    void DrawLabelText(Surface& surface, TextContext& dc, Rect& rect,
                       const std::u16string& value) override;

    // Where the caret stands in the node's own coordinates, and how far the text is scrolled
    // up (0 while it fits), for a text rectangle of the given size.
    struct Caret {
        int x = 0;
        int y = 0;
        int scroll = 0;
    };
    Caret CaretAt(const Rect& rect);

  private:
    void KeyEvent(GObjectPtr& self, const Key& key);
    void Character(char16_t c);
};

}  // namespace zentri
