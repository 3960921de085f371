#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/ProjectData.h"
#include "model/ProjectHeader.h"
#include "model/Step.h"
#include "platform/Paths.h"

namespace lumavox {

// Project files (.PRJ): the 4568-byte ProjectHeader, then the 52-byte Step records of line 0 in
// list order, line 1, ... line 7. Group files (.GRP): Step records only, times relative to the
// earliest. Both are raw little-endian records without signature or count: the end of the file
// ends the list, a trailing piece shorter than a record is ignored and a record whose LineIndex
// is not 0..7 is skipped. Saving replaces a file atomically, so a failed save leaves the old file
// as it was.
//
// Loading and saving exchange the patch and the pre/post-play times with the caller, who owns the
// working values (the patch table and the engine state).
//
// UI thread only (the lines are refilled through TStepList, so the output thread may keep
// evaluating them meanwhile).

inline constexpr int32_t kMaxPlayPadMs = 30000;  // pre/post-play times are 0..30 s
// Files beyond this many records are refused rather than read into memory.
inline constexpr size_t kMaxFileSteps = 4'000'000;

enum class FileStatus {
    Loaded,           // read completely
    NotFound,         // no such file
    NotAProjectFile,  // shorter than a header, or not a regular file
    TooLarge,         // more than kMaxFileSteps records
    ReadError,        // the file exists but could not be read
};

// The message for a failed load: "ファイルが見つかりません" for a missing file, else
// "不正なファイルです". Empty for Loaded.
std::string_view FileStatusText(FileStatus status);

// "ファイル <path> を作成できません".
std::string CannotCreateFileText(const std::string& path);

struct ProjectLoadResult {
    FileStatus Status = FileStatus::NotFound;
    // 0 when nothing was loaded, else 1 + the number of steps loaded.
    int Count = 0;
    // The file's patch and pre/post-play times (clamped to 0..30000 ms), for the caller to make
    // the working values. Meaningful only when Status is Loaded.
    std::array<int32_t, kPatchSize> Patch{};
    int32_t PrePlayTime = 0;
    int32_t PostPlayTime = 0;

    bool Loaded() const { return Status == FileStatus::Loaded; }
};

// Refills the project from a project file. Always: the undo list is emptied, the eight lines are
// emptied, and Modified becomes false. When loaded: the header (texts terminated inside their
// fields, play times clamped) and the steps come from the file, every line sorted by Time with
// the Lengths as stored, and ProjectFileName = path. A missing file leaves ProjectFileName = path
// (saving there makes a new file); a file that exists but is not a readable project leaves it
// empty, so that a later save cannot overwrite it. The header is replaced only by a complete one.
ProjectLoadResult LoadProjectFile(ProjectData& project, const std::string& path);

// Whether path names a loadable project file (Loaded) or why not, from the file's type and size
// and whether it opens for reading; reads no content. For the check before an open, so that a
// file that cannot be loaded leaves the current project alone.
FileStatus ProbeProjectFile(const std::string& path);

// LoadProjectFile when the file loads; otherwise nothing in the project changes (lines, header,
// undo list, ProjectFileName and Modified stay) and only the status is returned.
ProjectLoadResult TryLoadProjectFile(ProjectData& project, const std::string& path);

// The same from the bytes of a file (for the loader and its fuzz target).
ProjectLoadResult LoadProjectBytes(ProjectData& project, std::span<const uint8_t> bytes,
                                   const std::string& path);

// The outcome of a save. Empty Error = success; otherwise Error is CannotCreateFileText(path) and
// SystemError the operating system's reason.
struct ProjectSaveResult {
    std::string Error;
    std::string SystemError;

    bool Ok() const { return Error.empty(); }
};

// Writes the project to ProjectFileName. The header takes the working patch and play times; every
// step is deselected first. On success Modified becomes false and, unless keepUndo, the undo list
// is emptied; on failure the old file, Modified and the undo list stay as they were.
ProjectSaveResult SaveProjectFile(ProjectData& project,
                                  const std::array<int32_t, kPatchSize>& patch, int32_t prePlayTime,
                                  int32_t postPlayTime, bool keepUndo);

// The automatic backup: writes the file exactly as SaveProjectFile does (every Selected 0 in the
// file) but leaves the selection in memory and the undo list as they are, so a drag or a dialog
// working on the selection is not disturbed. On success Modified becomes false.
ProjectSaveResult SaveProjectBackup(ProjectData& project,
                                    const std::array<int32_t, kPatchSize>& patch,
                                    int32_t prePlayTime, int32_t postPlayTime);

// The bytes SaveProjectFile writes: the header as it is, then every step with Selected = 0.
std::vector<uint8_t> ProjectFileBytes(const ProjectData& project);

// Writes copies of the selected steps of all lines (line 0 first, each in list order) with times
// relative to the earliest selected one and Selected = 0. Changes nothing in the project.
ProjectSaveResult SaveGroupFile(const ProjectData& project, const std::string& path);

std::vector<uint8_t> GroupFileBytes(const ProjectData& project);

struct GroupLoadResult {
    FileStatus Status = FileStatus::NotFound;
    int Count = 0;  // steps added
};

// Adds the steps of a group file at offsetMs (its earliest step lands there), selected, into the
// lines their LineIndex names, after saving an undo state and deselecting every other step; the
// lines are then normalised. Times are not clamped to the time line. Modified becomes true even
// when nothing could be read.
GroupLoadResult LoadGroupFile(ProjectData& project, const std::string& path, int32_t offsetMs);

// The same from the bytes of a file.
int LoadGroupBytes(ProjectData& project, std::span<const uint8_t> bytes, int32_t offsetMs);

// Header texts as UTF-8. The setters refuse (return false, change nothing) a text that is not
// valid UTF-8, holds a NUL or whose stored form would not fit its field (127 bytes for the
// title, 263 for the sound path).
std::string HeaderVersion(const ProjectHeader& header);
std::string HeaderTitle(const ProjectHeader& header);
std::string HeaderSoundFile(const ProjectHeader& header);
bool SetHeaderTitle(ProjectHeader& header, std::string_view utf8);
bool SetHeaderSoundFile(ProjectHeader& header, std::string_view utf8);

// Sound paths in the header are relative to the program folder when the file lies inside it,
// absolute otherwise. folder ends with '/'; the prefix is compared case-sensitively, as Linux
// file systems name files.
std::string MakeSoundPathRelative(const std::string& path, const std::string& folder = ExeDir());
// A stored path as a path to open: relative paths (also Windows-made ones with '\') are taken
// from folder; absolute ones stay as they are.
std::string ResolveSoundPath(const std::string& stored, const std::string& folder = ExeDir());
// SetHeaderSoundFile(MakeSoundPathRelative(path, folder)).
bool SetSoundFilePath(ProjectHeader& header, const std::string& path,
                      const std::string& folder = ExeDir());
// ResolveSoundPath(HeaderSoundFile(header), folder).
std::string SoundFilePath(const ProjectHeader& header, const std::string& folder = ExeDir());

// True when the extension of path, in upper case, is upperExtension (".WAV", ".MP3", ".PRJ").
bool HasExtension(const std::string& path, std::string_view upperExtension);

}  // namespace lumavox
