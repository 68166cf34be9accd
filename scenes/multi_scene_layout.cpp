#include "scenes/multi_scene_layout.h"

#include "app/kestro_app.h"
#include "scenes/scene_page.h"
#include "ui/gobject.h"

namespace zentri {

void MultiSceneLayout::Arrange(GObject* owner, int reason) {
    const int w = owner->Width(), h = owner->Height();
    for (size_t i = 0; i < owner->ChildCount(); ++i) {
        GObject* page = owner->ChildAt(i).get();
        page->SetSize(w, h);
        const int x = w * (static_cast<int>(i) - current);
        auto* movable = dynamic_cast<ScenePage*>(page);
        if (reason == kAnimated && movable)
            movable->MoveTo(x, 0, KestroApp::kSlideSteps);
        else if (page->X() != x || page->Y() != 0)
            page->SetPosition(x, 0);
    }
}

void MultiSceneLayout::SetCurrentAnimated(int value) {
    current = value;
    Update(kAnimated);
}

void MultiSceneLayout::SetCurrentImmediate(int value) {
    current = value;
    Update(kImmediate);
}

}  // namespace zentri
