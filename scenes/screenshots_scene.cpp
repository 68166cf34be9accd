#include "scenes/screenshots_scene.h"

#include "platform/text.h"
#include "scenes/screenshots_layout.h"
#include "widgets/image.h"
#include "widgets/remote_image.h"

namespace zentri {

namespace {

using Picture = TRemoteImage<TImage<GObject>>;

}  // namespace

ScreenshotsScene::ScreenshotsScene(std::u16string appName, std::vector<std::u16string> screenshots)
    : appName(std::move(appName)), screenshots(std::move(screenshots)) {}

void ScreenshotsScene::Build(GObjectPtr& page) {
    // Only the soft keys; the pictures come with Activate.
    Scene::Activate(page);
}

void ScreenshotsScene::Activate(GObjectPtr& page) {
    Scene::Activate(page);
    // Activate also runs when a popup box closes or a scene above goes: fill the page once.
    GObjectPtr existing;
    if (!page->FindChild(kContentId, existing)) Fill(page);
}

void ScreenshotsScene::Fill(const GObjectPtr& page) {
    std::u16string title = Str(8004);
    if (!title.empty()) title.pop_back();
    GObjectPtr content = CreateContent(page);
    AddHeader(page, title, true, appName);
    for (size_t i = 0; i < screenshots.size(); ++i) {
        AddLabel(content, title + u" " + platform::Utf8ToUtf16(std::to_string(i + 1)) + u":",
                 false);
        shared_ptr<Picture> picture(new Picture);
        picture->SetStretch(true);
        picture->SetTouchable(false);
        picture->SetRequestFlag(true);
        picture->SetResizeParent(true);
        picture->SetUrl(screenshots[i]);
        content->AddChild(picture);
    }
    content->SetLayout(shared_ptr<Layout>(new ScreenshotsLayout(U())));
}

}  // namespace zentri
