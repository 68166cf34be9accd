// The application's scene stack: push with a slide from the right, back with a slide from the
// left (the scene goes when the slide ends) or at once, and the rebuilds.

#include "app/kestro_app.h"
#include "scenes/multi_scene_layout.h"
#include "scenes/my_apps_scene.h"
#include "scenes/scene.h"
#include "scenes/scene_page.h"

namespace zentri {

Scene* KestroApp::TopScene() const {
    return sceneStack.empty() ? nullptr : sceneStack.back().get();
}

bool KestroApp::OnStack(const Scene* scene) const {
    for (const shared_ptr<Scene>& s : sceneStack)
        if (s.get() == scene) return true;
    return false;
}

void KestroApp::Activate(Scene& scene) {
    GObjectPtr page = scene.Page();
    scene.Activate(page);
}

void KestroApp::PushScene(const shared_ptr<Scene>& scene) {
    if (!scene || !sceneContainer) return;
    if (Scene* top = TopScene()) {
        GObjectPtr page = top->Page();
        top->Deactivate(page);
    }
    sceneStack.push_back(scene);
    shared_ptr<ScenePage> page(new ScenePage);
    // A new page starts where the next slot lies, so that it slides in from the right.
    const int slot = static_cast<int>(sceneStack.size()) - 1 - sceneLayout->Current();
    page->SetRect(
        Rect{sceneContainer->Width() * slot, 0, sceneContainer->Width(), sceneContainer->Height()});
    scene->SetPage(page);
    scene->Rebuild();
    sceneContainer->AddChild(page);
    Activate(*scene);
    popPending = false;
    if (sceneStack.size() == 1) {
        // Every slide moves all pages; the first page's chain tells when one ends.
        page->MoveChain()->OnStateChanged().Add(this, &KestroApp::TransitionEnd);
        return;
    }
    sceneLayout->SetCurrentAnimated(sceneLayout->Current() + 1);
    if (!static_cast<ScenePage*>(sceneContainer->ChildAt(0).get())->Moving()) {
        // Nothing to animate (no screen): the slide is over at once.
        if (Scene* top = TopScene()) top->OnShown();
        return;
    }
    sceneContainer->SetTouchable(false);
}

void KestroApp::GoBack() {
    if (sceneStack.size() < 2 || popPending) return;
    sceneStack.back()->OnLeave();
    sceneLayout->SetCurrentAnimated(sceneLayout->Current() - 1);
    popPending = true;
    if (!static_cast<ScenePage*>(sceneContainer->ChildAt(0).get())->Moving()) {
        RemoveTop(false);
        return;
    }
    sceneContainer->SetTouchable(false);
}

void KestroApp::TransitionEnd(StatesChain* chain, int from, int to, int count) {
    (void)chain, (void)from;
    if (to + 1 != count) {
        sceneContainer->SetTouchable(false);
        return;
    }
    sceneContainer->SetTouchable(true);
    if (!popPending) {
        if (Scene* top = TopScene()) top->OnShown();
        return;
    }
    RemoveTop(false);
}

void KestroApp::RemoveTop(bool leave) {
    if (sceneStack.empty()) return;
    shared_ptr<Scene> top = sceneStack.back();
    GObjectPtr page = top->Page();
    if (leave) top->OnLeave();
    top->Deactivate(page);
    top->Removed(page);
    sceneContainer->RemoveChild(page.get());
    popPending = false;
    sceneStack.pop_back();
    if (homeScene == top.get()) homeScene = nullptr;
    if (loginScene == top.get()) loginScene = nullptr;
    // The scene may be running one of its own handlers (an answer that sent the user back):
    // it is released on the next frame, not under its own feet.
    retired.push_back(top);
    if (Scene* next = TopScene()) Activate(*next);
}

void KestroApp::PopImmediately() {
    if (sceneStack.size() < 2) return;
    sceneLayout->SetCurrentImmediate(sceneLayout->Current() - 1);
    RemoveTop(true);
}

bool KestroApp::PopTo(const Scene* scene) {
    if (!scene || !OnStack(scene)) return false;
    while (TopScene() != scene && sceneStack.size() > 1)
        PopImmediately();
    return true;
}

void KestroApp::PopToHome() {
    PopTo(homeScene);
}

void KestroApp::PopToLogin() {
    PopTo(loginScene);
}

void KestroApp::RebuildAll() {
    std::vector<shared_ptr<Scene>> scenes = sceneStack;
    for (const shared_ptr<Scene>& scene : scenes)
        scene->Rebuild();
    if (Scene* top = TopScene()) Activate(*top);
}

void KestroApp::RebuildCatalogueScenes(int reason) {
    std::vector<shared_ptr<Scene>> scenes = sceneStack;
    for (const shared_ptr<Scene>& scene : scenes)
        if (scene->NeedsRebuild(reason)) scene->Rebuild();
}

void KestroApp::OpenMyApps() {
    if (!sceneStack.empty() && dynamic_cast<MyAppsScene*>(sceneStack.back().get())) return;
    PushNew<MyAppsScene>();
}

}  // namespace zentri
