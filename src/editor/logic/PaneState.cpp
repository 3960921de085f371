#include "editor/logic/PaneState.h"

#include "model/ProjectData.h"
#include "model/StepOps.h"

namespace lumavox {

int PaneState::CurrentIndex(const ProjectData& project) const {
    return IndexOfStep(project, project.CurrentLine.load(std::memory_order_relaxed), CurrentStep);
}

int PaneState::AnchorIndex(const ProjectData& project) const {
    return IndexOfStep(project, project.CurrentLine.load(std::memory_order_relaxed), AnchorStep);
}

void PaneState::SetCurrentIndex(const ProjectData& project, int index, bool withAnchor) {
    if (withAnchor) AnchorStep = CurrentStep;
    CurrentStep = StepAt(project, index);
}

void PaneState::Revalidate(const ProjectData& project) {
    if (CurrentIndex(project) < 0) CurrentStep = nullptr;
    if (AnchorIndex(project) < 0) AnchorStep = nullptr;
}

void PaneState::EndDrag() {
    DragMode = Drag::None;
    DragOwner = nullptr;
    Moved = false;
    Dragged = nullptr;
    StretchFirst = nullptr;
    StretchLast = nullptr;
    DragLineX = TimeLine::kNoDragLine;
}

}  // namespace lumavox
