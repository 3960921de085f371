#pragma once

#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <string>

#include "model/ProjectHeader.h"
#include "model/TStepList.h"
#include "model/TUndoList.h"

namespace lumavox {

static_assert(std::endian::native == std::endian::little,
              "project files are raw little-endian records");

// Patch entry k feeds output channel k+1: 0..23 for lines 1..8 in R, G, B order, -1 unpatched.
std::array<int32_t, kPatchSize> ThroughPatch();

// The one open project: header, eight lines, the two clipboards and the undo list. Owned by the
// main window (or a command-line tool) for the life of the program; opening or starting a project
// refills it. UI thread only, except that the output thread reads the lines (see TStepList) and
// CurrentLine.
class ProjectData {
public:
    // A new, empty project: this program's version, no title or sound, the through patch, no
    // pre/post-play time, eight empty lines, line 0 current, not modified.
    ProjectData();
    ProjectData(const ProjectData&) = delete;
    ProjectData& operator=(const ProjectData&) = delete;

    ProjectHeader Header;
    std::array<TStepList, kLineCount> Lines;
    TStepList LineClipboard;       // copies from the current line
    TStepList MultiLineClipboard;  // copies from all lines; each keeps its LineIndex
    TUndoList UndoList;
    // States an undo left behind, nearest first, with the same limits as UndoList. They can be
    // brought back while the lines still stand at RedoRevisions (the revisions of the eight lines
    // right after the last undo or redo); a new undo state or any other edit ends them.
    TUndoList RedoList;
    std::array<uint64_t, kLineCount> RedoRevisions{};
    // The line being edited, 0..7. Written by the UI thread, read by the output thread's tick to
    // place the preview colour; relaxed order is enough, a stale value lasts one output period.
    std::atomic<int32_t> CurrentLine{0};
    std::string ProjectFileName;  // empty for a project never saved
    bool Modified = false;
};

}  // namespace lumavox
