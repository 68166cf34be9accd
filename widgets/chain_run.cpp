#include "widgets/chain_run.h"

#include "ui/animator.h"
#include "ui/ui_server.h"

namespace zentri {

bool RunOnce(GObject& node, const shared_ptr<StatesChain>& chain) {
    UIServer* server = node.Server();
    if (!server || !chain) return false;
    server->AddAnimator(
        new StateAnimator(chain, StateAnimator::kLastState, false, StateAnimator::kBounce, -1));
    return true;
}

bool RunLooping(GObject& node, const shared_ptr<StatesChain>& chain, int mode) {
    UIServer* server = node.Server();
    if (!server || !chain) return false;
    server->AddAnimator(new StateAnimator(chain, StateAnimator::kLastState, true, mode, -1));
    return true;
}

}  // namespace zentri
