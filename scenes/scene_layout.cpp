#include "scenes/scene_layout.h"

#include "scenes/scene.h"
#include "ui/gobject.h"

namespace zentri {

void SceneLayout::Arrange(GObject* page, int reason) {
    (void)reason;
    const int w = page->Width(), h = page->Height();
    int top = headerHeight;
    GObjectPtr part;
    if (page->FindChild(Scene::kHeaderId, part)) part->SetRect(Rect{0, 0, w, headerHeight});
    if (page->FindChild(Scene::kSubHeaderId, part)) {
        part->SetRect(Rect{0, headerHeight, w, headerHeight});
        top = 2 * headerHeight;
    }
    if (page->FindChild(Scene::kContentId, part)) part->SetRect(Rect{0, top, w, h - top});
}

}  // namespace zentri
