#pragma once

#include "editor/logic/MainWindowRules.h"

namespace lumavox {

// True for the actions whose effect frees, replaces or moves steps: a mouse drag or rubber band
// in a pane holds step addresses, so these wait for it to end (keys still arrive mid-drag).
bool ChangesSteps(ActionId id);

// The state of a main action as the window shows it and as its handler re-checks it: the rule of
// MainActionState, with the step-changing actions disabled while dragActive.
ActionState EditActionState(ActionId id, const ActionFacts& facts, bool dragActive);

}  // namespace lumavox
