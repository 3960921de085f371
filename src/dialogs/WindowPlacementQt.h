#pragma once

#include "settings/Placement.h"

class QWidget;

namespace lumavox {

// Moves a top-level window between Qt geometry and the stored placement, whose bounds are the
// outer frame: the frame's position and size are stored, the client is sized to fit inside the
// frame when restored. A maximised or minimised window stores its normal bounds and its state.
// UI thread only.
WindowPlacement PlacementOfWindow(const QWidget& window, BorderKind border);
// Applies bounds and (for a resizable border) the state; a window that would land on no screen
// is brought to the top-left of the primary screen.
void ApplyWindowPlacement(QWidget& window, const WindowPlacement& placement);

}  // namespace lumavox
