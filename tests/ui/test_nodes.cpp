#include "tests/ui/test_nodes.h"

#include <gtest/gtest.h>

namespace zentri::test {

void LogNode::SubscribeAll() {
    OnDraw().Add([this](GObjectPtr&, Surface&) { Add("onDraw"); });
    OnFocusableChanged().Add([this](GObjectPtr&, bool) { Add("onFocusableChanged"); });
    OnTouchableChanged().Add([this](GObjectPtr&, bool) { Add("onTouchableChanged"); });
    OnVisibleChanged().Add([this](GObjectPtr&, bool) { Add("onVisibleChanged"); });
    OnMoved().Add([this](GObjectPtr&, int, int) { Add("onMoved"); });
    OnResized().Add([this](GObjectPtr&, int, int) { Add("onResized"); });
    OnChildAdded().Add([this](GObjectPtr&, const GObjectPtr&) { Add("onChildAdded"); });
    OnChildRemoved().Add([this](GObjectPtr&, const GObjectPtr&) { Add("onChildRemoved"); });
    SubscribeTouch();
    OnPressed().Add([this](GObjectPtr&, const Touch&) { Add("onPressed"); });
    OnReleased().Add([this](GObjectPtr&, const Touch&) { Add("onReleased"); });
    OnKey().Add([this](GObjectPtr&, const Key& k) { Add("onKey" + std::to_string(k.code)); });
    OnFocusChanged().Add([this](GObjectPtr&, bool) { Add("onFocusChanged"); });
    OnDragStarted().Add([this](GObjectPtr&) { Add("onDragStarted"); });
    OnDragEnded().Add([this](GObjectPtr&) { Add("onDragEnded"); });
    OnDragCancelled().Add([this](GObjectPtr&) { Add("onDragCancelled"); });
    OnAcceptDrop().Add([this](GObjectPtr&, const Touch&, bool&) { Add("onAcceptDrop"); });
    OnDropEnter().Add([this](GObjectPtr&, const Touch&) { Add("onDropEnter"); });
    OnDropOver().Add([this](GObjectPtr&, const Touch&) { Add("onDropOver"); });
    OnDropLeave().Add([this](GObjectPtr&, const Touch&) { Add("onDropLeave"); });
    OnParentChanged().Add(
        [this](GObjectPtr&, GObjectPtr&, GObjectPtr&) { Add("onParentChanged"); });
    OnDestroyed().Add([this] { Add("onDestroyed"); });
}

void LogNode::SubscribeTouch() {
    OnTouch().Add([this](GObjectPtr& self, const Touch& t) {
        EXPECT_EQ(self.get(), this);
        Add("onTouch" + std::to_string(t.type));
    });
}

}  // namespace zentri::test
