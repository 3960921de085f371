#include "model/ProjectFile.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/Msgstr.h"
#include "model/StepOps.h"
#include "model/StoredText.h"
#include "model/Translation.h"
#include "platform/FileReplace.h"

namespace lumavox {

namespace {

constexpr size_t kHeaderSize = sizeof(ProjectHeader);
constexpr size_t kStepSize = sizeof(Step);
constexpr size_t kSelectedOffset = offsetof(Step, Selected);
// Room for the largest accepted file plus a trailing partial record.
constexpr size_t kMaxGroupFileBytes = kMaxFileSteps * kStepSize + kStepSize - 1;
constexpr size_t kMaxProjectFileBytes = kHeaderSize + kMaxGroupFileBytes;

FileStatus StatusOfReadError(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return FileStatus::NotFound;
        case EFBIG:
            return FileStatus::TooLarge;
        case EINVAL:
            return FileStatus::NotAProjectFile;
        default:
            return FileStatus::ReadError;
    }
}

std::span<const uint8_t> AsBytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// The state every load leaves behind, whatever it read.
void EmptyForLoad(ProjectData& project, const std::string& fileName) {
    ClearUndo(project);
    for (TStepList& line : project.Lines) line.Clear();
    project.ProjectFileName = fileName;
    project.Modified = false;
}

template <size_t N>
std::string FieldText(const char (&field)[N]) {
    return DecodeStoredText(std::string_view(field, strnlen(field, N)));
}

template <size_t N>
bool SetFieldText(char (&field)[N], std::string_view utf8) {
    const std::optional<std::string> stored = EncodeStoredText(utf8);
    if (!stored || stored->size() > N - 1) return false;
    std::memset(field, 0, N);
    std::memcpy(field, stored->data(), stored->size());
    return true;
}

int32_t ClampPlayPad(int32_t ms) {
    return std::clamp(ms, 0, kMaxPlayPadMs);
}

ProjectSaveResult Failure(const std::string& path, int error) {
    return {CannotCreateFileText(path), std::strerror(error)};
}

}  // namespace

std::string_view FileStatusText(FileStatus status) {
    switch (status) {
        case FileStatus::Loaded:
            return {};
        case FileStatus::NotFound:
            return MsgText(Msg::FileNotFound);
        case FileStatus::NotAProjectFile:
        case FileStatus::TooLarge:
        case FileStatus::ReadError:
            return MsgText(Msg::IllegalFile);
    }
    return MsgText(Msg::IllegalFile);
}

std::string CannotCreateFileText(const std::string& path) {
    return TranslatedWith(LV_TEXT("Lumavox", "ファイル %1 を作成できません"), path);
}

ProjectLoadResult LoadProjectBytes(ProjectData& project, std::span<const uint8_t> bytes,
                                   const std::string& path) {
    ProjectLoadResult result;
    if (bytes.size() < kHeaderSize) {
        EmptyForLoad(project, {});
        result.Status = FileStatus::NotAProjectFile;
        return result;
    }
    const size_t records = (bytes.size() - kHeaderSize) / kStepSize;
    if (records > kMaxFileSteps) {
        EmptyForLoad(project, {});
        result.Status = FileStatus::TooLarge;
        return result;
    }

    // A scratch header, committed only now that it is known to be complete.
    ProjectHeader header;
    std::memcpy(&header, bytes.data(), kHeaderSize);
    header.Version[sizeof(header.Version) - 1] = '\0';
    header.Title[sizeof(header.Title) - 1] = '\0';
    header.SoundFile[sizeof(header.SoundFile) - 1] = '\0';
    header.PrePlayTime = ClampPlayPad(header.PrePlayTime);
    header.PostPlayTime = ClampPlayPad(header.PostPlayTime);

    std::array<std::vector<Step>, kLineCount> lines;
    int loaded = 0;
    for (size_t i = 0; i < records; ++i) {
        Step step;
        std::memcpy(&step, bytes.data() + kHeaderSize + i * kStepSize, kStepSize);
        if (step.LineIndex < 0 || step.LineIndex >= kLineCount) continue;
        lines[static_cast<size_t>(step.LineIndex)].push_back(step);
        ++loaded;
    }
    // Lines written by this program are already sorted; equal times keep their file order, so a
    // project reloads exactly as it was saved. Lengths stay as stored.
    for (auto& line : lines) {
        std::stable_sort(line.begin(), line.end(),
                         [](const Step& a, const Step& b) { return a.Time < b.Time; });
    }

    ClearUndo(project);
    project.Header = header;
    for (size_t i = 0; i < lines.size(); ++i) project.Lines[i].Assign(std::move(lines[i]));
    project.ProjectFileName = path;
    project.Modified = false;

    result.Status = FileStatus::Loaded;
    result.Count = 1 + loaded;
    std::copy(std::begin(header.Patch), std::end(header.Patch), result.Patch.begin());
    result.PrePlayTime = header.PrePlayTime;
    result.PostPlayTime = header.PostPlayTime;
    return result;
}

ProjectLoadResult LoadProjectFile(ProjectData& project, const std::string& path) {
    std::string bytes;
    const int error = ReadRegularFile(path, kMaxProjectFileBytes, bytes);
    if (error != 0) {
        ProjectLoadResult result;
        result.Status = StatusOfReadError(error);
        // Only a missing file may become the project's file: saving there loses nothing.
        EmptyForLoad(project, result.Status == FileStatus::NotFound ? path : std::string());
        return result;
    }
    return LoadProjectBytes(project, AsBytes(bytes), path);
}

FileStatus ProbeProjectFile(const std::string& path) {
    if (path.empty()) return FileStatus::NotFound;
    // O_NONBLOCK: a FIFO must not wait for a writer; it is refused below.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return StatusOfReadError(errno);
    struct stat st {};
    FileStatus status = FileStatus::Loaded;
    if (fstat(fd, &st) != 0) {
        status = FileStatus::ReadError;
    } else if (!S_ISREG(st.st_mode) || static_cast<uint64_t>(st.st_size) < kHeaderSize) {
        status = FileStatus::NotAProjectFile;
    } else if (static_cast<uint64_t>(st.st_size) > kMaxProjectFileBytes) {
        status = FileStatus::TooLarge;
    }
    close(fd);
    return status;
}

ProjectLoadResult TryLoadProjectFile(ProjectData& project, const std::string& path) {
    std::string bytes;
    ProjectLoadResult result;
    if (const int error = ReadRegularFile(path, kMaxProjectFileBytes, bytes); error != 0) {
        result.Status = StatusOfReadError(error);
        return result;
    }
    if (bytes.size() < kHeaderSize) {
        result.Status = FileStatus::NotAProjectFile;
        return result;
    }
    return LoadProjectBytes(project, AsBytes(bytes), path);
}

std::vector<uint8_t> ProjectFileBytes(const ProjectData& project) {
    std::vector<uint8_t> bytes(kHeaderSize + kStepSize * static_cast<size_t>(StepCount(project)));
    std::memcpy(bytes.data(), &project.Header, kHeaderSize);
    // The reserved block means nothing to any version of the program; whatever a file brought in
    // is not passed on.
    std::memset(bytes.data() + offsetof(ProjectHeader, Reserved), 0,
                sizeof(project.Header.Reserved));
    size_t at = kHeaderSize;
    for (const TStepList& line : project.Lines) {
        for (const auto& s : line.ItemsUnlocked()) {
            std::memcpy(bytes.data() + at, s, kStepSize);
            bytes[at + kSelectedOffset] = 0;
            at += kStepSize;
        }
    }
    return bytes;
}

namespace {

ProjectSaveResult WriteProjectFile(ProjectData& project,
                                   const std::array<int32_t, kPatchSize>& patch,
                                   int32_t prePlayTime, int32_t postPlayTime, bool keepUndo,
                                   bool keepSelection) {
    std::copy(patch.begin(), patch.end(), std::begin(project.Header.Patch));
    project.Header.PrePlayTime = prePlayTime;
    project.Header.PostPlayTime = postPlayTime;
    // The file never carries a selection (ProjectFileBytes writes 0); only the commands' save
    // deselects in memory as well.
    if (!keepSelection) SetSelection(project, 0, true);
    const std::vector<uint8_t> bytes = ProjectFileBytes(project);
    if (const int error = ReplaceFileAtomically(project.ProjectFileName, bytes); error != 0) {
        return Failure(project.ProjectFileName, error);
    }
    if (!keepUndo) ClearUndo(project);
    project.Modified = false;
    return {};
}

}  // namespace

ProjectSaveResult SaveProjectFile(ProjectData& project,
                                  const std::array<int32_t, kPatchSize>& patch, int32_t prePlayTime,
                                  int32_t postPlayTime, bool keepUndo) {
    return WriteProjectFile(project, patch, prePlayTime, postPlayTime, keepUndo, false);
}

ProjectSaveResult SaveProjectBackup(ProjectData& project,
                                    const std::array<int32_t, kPatchSize>& patch,
                                    int32_t prePlayTime, int32_t postPlayTime) {
    return WriteProjectFile(project, patch, prePlayTime, postPlayTime, true, true);
}

std::vector<uint8_t> GroupFileBytes(const ProjectData& project) {
    std::optional<int32_t> earliest;
    size_t selected = 0;
    for (const TStepList& line : project.Lines) {
        for (const auto& s : line.ItemsUnlocked()) {
            if (s->Selected == 0) continue;
            ++selected;
            if (!earliest || s->Time < *earliest) earliest = s->Time;
        }
    }
    std::vector<uint8_t> bytes;
    bytes.reserve(selected * kStepSize);
    for (const TStepList& line : project.Lines) {
        for (const auto& s : line.ItemsUnlocked()) {
            if (s->Selected == 0) continue;
            Step copy = *s;
            copy.Time = SaturateTime(static_cast<int64_t>(copy.Time) - *earliest);
            copy.Selected = 0;
            const auto* raw = reinterpret_cast<const uint8_t*>(&copy);
            bytes.insert(bytes.end(), raw, raw + kStepSize);
        }
    }
    return bytes;
}

ProjectSaveResult SaveGroupFile(const ProjectData& project, const std::string& path) {
    const std::vector<uint8_t> bytes = GroupFileBytes(project);
    if (const int error = ReplaceFileAtomically(path, bytes); error != 0) {
        return Failure(path, error);
    }
    return {};
}

int LoadGroupBytes(ProjectData& project, std::span<const uint8_t> bytes, int32_t offsetMs) {
    SaveUndoState(project);
    SetSelection(project, 0, true);
    std::array<TStepList::Items, kLineCount> fresh;
    int count = 0;
    const size_t records = std::min(bytes.size() / kStepSize, kMaxFileSteps);
    for (size_t i = 0; i < records; ++i) {
        auto step = std::make_unique<Step>();
        std::memcpy(step.get(), bytes.data() + i * kStepSize, kStepSize);
        if (step->LineIndex < 0 || step->LineIndex >= kLineCount) continue;
        step->Time = SaturateTime(static_cast<int64_t>(step->Time) + offsetMs);
        step->Selected = 1;
        fresh[static_cast<size_t>(step->LineIndex)].push_back(std::move(step));
        ++count;
    }
    for (size_t i = 0; i < fresh.size(); ++i) {
        if (fresh[i].empty()) continue;
        project.Lines[i].Edit([&](TStepList::Items& live) {
            live.reserve(live.size() + fresh[i].size());
            for (auto& s : fresh[i]) live.push_back(std::move(s));
        });
    }
    // Lines keep their stored Lengths unless steps were added to the project.
    if (count > 0) Normalise(project);
    project.Modified = true;
    return count;
}

GroupLoadResult LoadGroupFile(ProjectData& project, const std::string& path, int32_t offsetMs) {
    std::string bytes;
    if (const int error = ReadRegularFile(path, kMaxGroupFileBytes, bytes); error != 0) {
        project.Modified = true;
        return {StatusOfReadError(error), 0};
    }
    return {FileStatus::Loaded, LoadGroupBytes(project, AsBytes(bytes), offsetMs)};
}

std::string HeaderVersion(const ProjectHeader& header) {
    return FieldText(header.Version);
}
std::string HeaderTitle(const ProjectHeader& header) {
    return FieldText(header.Title);
}
std::string HeaderSoundFile(const ProjectHeader& header) {
    return FieldText(header.SoundFile);
}

bool SetHeaderTitle(ProjectHeader& header, std::string_view utf8) {
    return SetFieldText(header.Title, utf8);
}

bool SetHeaderSoundFile(ProjectHeader& header, std::string_view utf8) {
    return SetFieldText(header.SoundFile, utf8);
}

std::string MakeSoundPathRelative(const std::string& path, const std::string& folder) {
    if (!folder.empty() && path.size() > folder.size() &&
        path.compare(0, folder.size(), folder) == 0) {
        return path.substr(folder.size());
    }
    return path;
}

std::string ResolveSoundPath(const std::string& stored, const std::string& folder) {
    return CompletePathIn(stored, folder);
}

bool SetSoundFilePath(ProjectHeader& header, const std::string& path, const std::string& folder) {
    return SetHeaderSoundFile(header, MakeSoundPathRelative(path, folder));
}

std::string SoundFilePath(const ProjectHeader& header, const std::string& folder) {
    return ResolveSoundPath(HeaderSoundFile(header), folder);
}

bool HasExtension(const std::string& path, std::string_view upperExtension) {
    const auto dot = path.rfind('.');
    const auto separator = path.find_last_of("/\\");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) {
        return false;
    }
    const std::string_view extension = std::string_view(path).substr(dot);
    if (extension.size() != upperExtension.size()) return false;
    for (size_t i = 0; i < extension.size(); ++i) {
        char c = extension[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != upperExtension[i]) return false;
    }
    return true;
}

}  // namespace lumavox
