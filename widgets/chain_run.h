#pragma once
// Starting the runs of the widgets' states chains through the node's UI server.

#include "ui/gobject.h"
#include "ui/states_chain.h"

namespace zentri {

// Runs `chain` once from its current state to its last (an animator with no loop, bounce mode,
// no repeat limit, so it ends on arrival). False when the node has no server, which is the only
// way an animator can run.
//
// A chain that another animator still drives is handed over: both drive it for one tick, the
// older one is stepped first, finds a second driver and ends; the new one then continues alone.
bool RunOnce(GObject& node, const shared_ptr<StatesChain>& chain);

// Runs `chain` endlessly: back and forth between its ends (bounce) or from the start again
// (restart). False when the node has no server.
bool RunLooping(GObject& node, const shared_ptr<StatesChain>& chain, int mode);

}  // namespace zentri
