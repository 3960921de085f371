#include "engine/ShowSession.h"

#include <filesystem>
#include <system_error>

#include "dmx/Patch.h"
#include "model/Msgstr.h"
#include "model/ProjectData.h"
#include "model/SoundLocation.h"
#include "model/StepOps.h"
#include "platform/Paths.h"
#include "settings/EnvData.h"
#include "sound/SoundScan.h"
#include "sound/WavSound.h"

namespace lumavox {

namespace {

bool IsRegularFile(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

uintmax_t CacheSize(const std::string& path) {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

class BusyScope {
public:
    explicit BusyScope(ISessionUi& ui) : m_ui(ui) { m_ui.BeginBusy(); }
    ~BusyScope() { m_ui.EndBusy(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    ISessionUi& m_ui;
};

}  // namespace

std::string PeakCachePath(const std::string& projectPath) {
    const auto dot = projectPath.rfind('.');
    const auto slash = projectPath.rfind('/');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? projectPath.substr(0, dot) : projectPath) + ".wfm";
}

std::string LocateProjectSound(const ProjectHeader& header, const std::string& projectPath,
                               const std::string& exeDir) {
    const std::string stored = HeaderSoundFile(header);
    if (stored.empty()) return {};
    const SoundLocation location = LocateSoundFile(projectPath, stored, exeDir);
    // A sound found nowhere is still named by its stored path, so that reading it reports it.
    return location.Found() ? location.Path : ResolveSoundPath(stored, exeDir);
}

ShowSession::ShowSession(ProjectData& project, EngineState& engine, PatchTable& patch,
                         WavSound& sound, EnvData& env, ISessionUi& ui,
                         std::chrono::milliseconds requestBound)
    : m_project(project),
      m_engine(engine),
      m_patch(patch),
      m_sound(&sound),
      m_env(env),
      m_ui(ui),
      m_requestBound(requestBound) {}

ShowSession::ShowSession(ProjectData& project, EngineState& engine, PatchTable& patch, EnvData& env,
                         ISessionUi& ui, std::chrono::milliseconds requestBound)
    : m_project(project),
      m_engine(engine),
      m_patch(patch),
      m_sound(nullptr),
      m_env(env),
      m_ui(ui),
      m_requestBound(requestBound) {}

// The sound of the project being left goes, whatever comes next: the device, SoundLoaded and the
// waveform, so nothing keeps using the old sound once the new project is in.
void ShowSession::CloseSound() {
    PostRequest(m_engine, m_engine.CloseRequest, m_requestBound);
    m_engine.SoundLoaded.store(false);
    m_engine.SoundPath.Set({});
    if (m_sound != nullptr) m_sound->Clear();
    m_cachePending = false;
}

void ShowSession::ResetForNewProject() {
    ClearUndo(m_project);
    for (TStepList& line : m_project.Lines) line.Clear();
    m_project.ProjectFileName.clear();
    m_project.Modified = false;
    SetHeaderTitle(m_project.Header, "");
    SetHeaderSoundFile(m_project.Header, "");
    m_project.Header.SoundFileTime = 0.0;
    m_patch.SetThrough();
    m_engine.CursorTime.store(-m_engine.PrePlayTime.load());
    RecomputeTimelineLength(m_engine);
}

int32_t ShowSession::ReadSound(const std::string& soundPath, SoundScan* readAhead) {
    // A scan of another file, or of this one before it changed, stands for nothing.
    if (readAhead != nullptr && !readAhead->Cancelled && readAhead->Path == soundPath &&
        readAhead->FileTime == FileDateTime(soundPath)) {
        return m_sound->TakeScan(std::move(*readAhead));
    }
    return m_sound->LoadSound(soundPath);
}

std::string ShowSession::SoundToRead(const std::string& path) {
    m_checkedCache.reset();
    if (m_sound == nullptr || path.empty() || ProbeProjectFile(path) != FileStatus::Loaded) {
        return {};
    }
    ProjectData scratch;
    if (!TryLoadProjectFile(scratch, path).Loaded()) return {};
    const std::string sound = LocateProjectSound(scratch.Header, path, m_env.ExeDir);
    // A missing sound is only reported by the open, which takes no time.
    if (!IsRegularFile(sound)) return {};
    const std::string cache = PeakCachePath(path);
    const double soundTime = FileDateTime(sound);
    if (IsRegularFile(cache) && soundTime == scratch.Header.SoundFileTime &&
        PeakCacheCovers(cache, sound)) {
        m_checkedCache = CheckedCache{cache, CacheSize(cache), sound, soundTime};
        return {};
    }
    return sound;
}

OpenResult ShowSession::OpenProject(const std::string& path, SoundScan* readAhead) {
    OpenResult result;
    if (!path.empty()) {
        result.Status = ProbeProjectFile(path);
        if (result.Status != FileStatus::Loaded) return result;
    }
    CloseSound();
    if (path.empty()) {
        ResetForNewProject();
        m_env.PrjFile.clear();
        result.Outcome = OpenOutcome::NewProject;
        return result;
    }

    const ProjectLoadResult loaded = TryLoadProjectFile(m_project, path);
    result.Status = loaded.Status;
    if (!loaded.Loaded()) return result;  // the file changed since the probe
    result.Outcome = OpenOutcome::Opened;
    m_patch.Assign(loaded.Patch);
    m_engine.PrePlayTime.store(loaded.PrePlayTime);
    m_engine.PostPlayTime.store(loaded.PostPlayTime);
    m_engine.CursorTime.store(-loaded.PrePlayTime);
    RecomputeTimelineLength(m_engine);
    m_env.PrjFile = path;

    ProjectHeader& header = m_project.Header;
    const std::string cache = PeakCachePath(path);
    const std::string stored = HeaderSoundFile(header);
    std::string sound;
    if (!stored.empty()) {
        result.SoundLookup = LocateSoundFile(path, stored, m_env.ExeDir);
        // A sound found nowhere is still named by its stored path, so that reading it reports it.
        sound = result.SoundLookup.Found() ? result.SoundLookup.Path
                                           : ResolveSoundPath(stored, m_env.ExeDir);
    }
    const bool soundExists = IsRegularFile(sound);
    const double soundTime = soundExists ? FileDateTime(sound) : 0.0;
    if (sound.empty() || m_sound == nullptr) {
        // A project without a sound shows no waveform, whatever cache lies beside it; a session
        // without a waveform leaves the cache and the project file alone.
    } else if (IsRegularFile(cache)) {
        // The cache is trusted only while the sound has the time it had when the cache was made,
        // and only when it holds the whole sound: an empty or cut-off cache is made again.
        const bool soundChanged = soundTime != header.SoundFileTime;
        // A sound read ahead was read because the cache would not do.
        const bool checked =
            m_checkedCache == CheckedCache{cache, CacheSize(cache), sound, soundTime};
        m_checkedCache.reset();
        if (soundChanged || readAhead != nullptr ||
            (checked ? m_sound->LoadPeakCache(cache) : m_sound->LoadPeakCacheFor(cache, sound)) ==
                0) {
            BusyScope busy(m_ui);
            if (ReadSound(sound, readAhead) > 0) {
                header.SoundFileTime = soundTime;
                m_sound->SavePeakCache(cache);
                if (soundChanged) {
                    result.ResaveError =
                        SaveProjectFile(m_project, m_patch.Snapshot(), m_engine.PrePlayTime.load(),
                                        m_engine.PostPlayTime.load(), false);
                }
            }
        }
    } else if (soundExists) {
        BusyScope busy(m_ui);
        if (ReadSound(sound, readAhead) > 0) {
            header.SoundFileTime = soundTime;
            m_sound->SavePeakCache(cache);
        }
    }

    if (soundExists) {
        m_engine.SoundPath.Set(sound);
        m_engine.SoundLoaded.store(true);
        // The tick takes an open before a close: a close still pending from above (no output
        // thread ran within the bound, e.g. while the output is being switched) would otherwise
        // shut the new sound again in the following tick. The open closes the old sound itself.
        m_engine.CloseRequest.store(false);
        PostRequest(m_engine, m_engine.OpenRequest, m_requestBound);
        result.SoundFound = true;
    }
    return result;
}

OpenResult ShowSession::OpenAtStartUp(SoundScan* readAhead) {
    if (!m_env.PrjFile.empty()) {
        OpenResult opened = OpenProject(m_env.PrjFile, readAhead);
        if (opened.Outcome != OpenOutcome::Refused) return opened;
    }
    m_env.PrjFile.clear();
    OpenResult result;
    result.Outcome = OpenOutcome::Untitled;
    return result;
}

bool ShowSession::ChangeSound(const std::string& soundPath,
                              const std::optional<std::string>& storedText, SoundScan* readAhead) {
    if (m_sound == nullptr) return false;  // the peak list decides whether a sound is taken
    const std::string stored =
        storedText ? *storedText : MakeSoundPathRelative(soundPath, m_env.ExeDir);
    ProjectHeader header = m_project.Header;
    if (!SetHeaderSoundFile(header, stored)) {
        // A path the project file cannot hold (too long for its field): refused before reading.
        m_ui.ShowWarning(MsgText(Msg::IllegalFile));
        return false;
    }
    BusyScope busy(m_ui);
    if (ReadSound(soundPath, readAhead) <= 0) return false;
    header.SoundFileTime = FileDateTime(soundPath);
    m_project.Header = header;
    m_cachePending = true;
    m_engine.SoundPath.Set(soundPath);
    m_engine.SoundLoaded.store(true);
    PostRequest(m_engine, m_engine.OpenRequest, m_requestBound);
    m_project.Modified = true;
    return true;
}

ShowSession::SoundRecord ShowSession::CurrentSound() const {
    SoundRecord record;
    if (m_sound == nullptr) return record;
    record.StoredText = HeaderSoundFile(m_project.Header);
    record.FileTime = m_project.Header.SoundFileTime;
    record.OpenPath = m_engine.SoundPath.Get();
    record.Peaks = m_sound->State();
    return record;
}

void ShowSession::RestoreSound(const SoundRecord& record) {
    if (m_sound == nullptr) return;
    // The text came out of the same field, so it fits again.
    SetHeaderSoundFile(m_project.Header, record.StoredText);
    m_project.Header.SoundFileTime = record.FileTime;
    m_sound->Restore(record.Peaks);
    m_cachePending = true;
    m_engine.SoundPath.Set(record.OpenPath);
    m_engine.SoundLoaded.store(!record.OpenPath.empty());
    if (!record.OpenPath.empty()) PostRequest(m_engine, m_engine.OpenRequest, m_requestBound);
    m_project.Modified = true;
}

void ShowSession::PlaySoundInstead(const std::string& soundPath) {
    m_engine.SoundPath.Set(soundPath);
    m_engine.SoundLoaded.store(true);
    m_engine.CloseRequest.store(false);  // as in OpenProject: the open must not be shut again
    PostRequest(m_engine, m_engine.OpenRequest, m_requestBound);
}

void ShowSession::WritePendingCache() {
    if (!m_cachePending || m_project.ProjectFileName.empty()) return;
    const std::string cache = PeakCachePath(m_project.ProjectFileName);
    if (m_sound == nullptr || !m_sound->SavePeakCache(cache)) {
        // The project file now names the new sound with its time: an old cache left beside it
        // would be trusted at the next open, so it goes and that open reads the sound again.
        std::error_code error;
        std::filesystem::remove(cache, error);
    }
    m_cachePending = false;
}

ProjectSaveResult ShowSession::Save(bool keepUndo, bool backup) {
    const auto patch = m_patch.Snapshot();
    const int32_t pre = m_engine.PrePlayTime.load();
    const int32_t post = m_engine.PostPlayTime.load();
    BusyScope busy(m_ui);
    ProjectSaveResult result = backup ? SaveProjectBackup(m_project, patch, pre, post)
                                      : SaveProjectFile(m_project, patch, pre, post, keepUndo);
    if (result.Ok()) WritePendingCache();
    return result;
}

ProjectSaveResult ShowSession::SaveProject(bool keepUndo) {
    return Save(keepUndo, false);
}

ProjectSaveResult ShowSession::SaveBackup() {
    return Save(true, true);
}

ProjectSaveResult ShowSession::SaveProjectAs(const std::string& path) {
    const std::string formerName = m_project.ProjectFileName;
    const bool formerPending = m_cachePending;
    m_project.ProjectFileName = path;
    // The new file gets the cache of the sound it names, whether or not one was waiting.
    m_cachePending = m_cachePending || (m_sound != nullptr && !m_sound->List().Empty());
    ProjectSaveResult result = Save(false, false);
    if (!result.Ok()) {
        m_project.ProjectFileName = formerName;
        m_cachePending = formerPending;
        return result;
    }
    m_env.PrjFile = path;
    return result;
}

}  // namespace lumavox
