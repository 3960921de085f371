#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/EngineState.h"
#include "engine/PostRequest.h"
#include "model/ProjectFile.h"
#include "model/SoundLocation.h"
#include "sound/WavSound.h"

namespace lumavox {

class ProjectData;
class PatchTable;
class WavSound;
class EnvData;
struct SoundScan;

// What the session needs from the window around it. The sound reader's progress and error texts go
// through the WavSound's own SoundReporter; these are the rest. UI thread.
class ISessionUi {
public:
    virtual ~ISessionUi() = default;
    // The busy pointer around a long load or save; calls nest (every Begin has its End).
    virtual void BeginBusy() = 0;
    virtual void EndBusy() = 0;
    // A warning box (caption "警告", OK) with text; returns when the user has closed it.
    virtual void ShowWarning(std::string_view text) = 0;
};

// The peak cache beside a project file: the path with its extension replaced by ".wfm".
std::string PeakCachePath(const std::string& projectPath);

// The sound file of a project as a path to open: LocateSoundFile's find (the stored path, else the
// stored file's name in the project file's own folder), else the resolved stored path (missing).
// Empty when the project names no sound. The stored path itself is not changed.
std::string LocateProjectSound(const ProjectHeader& header, const std::string& projectPath,
                               const std::string& exeDir);

enum class OpenOutcome {
    Opened,      // the project file was loaded
    NewProject,  // an empty path: a new, untitled project; the caller opens the project settings
    Untitled,    // start-up without a loadable PrjFile: the empty project as created, no dialog
    Refused,     // the file cannot be loaded; nothing changed (Status tells why)
};

struct OpenResult {
    OpenOutcome Outcome = OpenOutcome::Refused;
    FileStatus Status = FileStatus::Loaded;
    // A sound file was found and the engine asked to open it (SoundLoaded).
    bool SoundFound = false;
    // Where the project's sound was looked for and found (an opened project with a sound only).
    SoundLocation SoundLookup;
    // Set when the project had to be saved again because its sound had changed, and that failed.
    ProjectSaveResult ResaveError;
};

// The project as a whole: opening, starting and saving it with its sound, its peak cache and the
// engine values that follow it (patch, pre/post-play times, SoundPath, SoundLoaded, the open and
// close requests). Owned by the main window next to the objects it works on; UI thread only.
//
// The caller keeps its own part of each command: the save question, the file dialogs, the display
// timer (stopped before an open, restarted after), CurrentStep/AnchorStep = -1, the window caption
// (WindowCaptionText from the header's title and PrjFile), the project settings dialog after a new
// project, the layout step and the message boxes for save failures.
//
// A changed sound's peak cache is not written at once: it waits for the next successful save of
// the project, so that the cache beside a project file always belongs to the sound that file
// names.
//
// A session without a waveform (the command-line player and renderer) opens a show the same way
// but neither reads nor writes the peak cache and never saves the project on opening; it cannot
// change the project's sound.
class ShowSession {
public:
    ShowSession(ProjectData& project, EngineState& engine, PatchTable& patch, WavSound& sound,
                EnvData& env, ISessionUi& ui,
                std::chrono::milliseconds requestBound = kPostRequestBound);
    // Without a waveform. A player that opens the show before its output thread runs passes a
    // bound of 0: the requests then wait in EngineState for the thread's first tick.
    ShowSession(ProjectData& project, EngineState& engine, PatchTable& patch, EnvData& env,
                ISessionUi& ui, std::chrono::milliseconds requestBound);
    ShowSession(const ShowSession&) = delete;
    ShowSession& operator=(const ShowSession&) = delete;

    // Opens a project file, or starts a new project for an empty path. A file that cannot be loaded
    // is refused before anything is touched: the current project, its sound and its name stay.
    // readAhead: the sound the open reads, already scanned (ScanSound of the path SoundToRead
    // gave); used when it is that file unchanged since, else the open reads the sound itself.
    OpenResult OpenProject(const std::string& path, SoundScan* readAhead = nullptr);
    // The start-up open of the settings' PrjFile: as OpenProject, except that without a loadable
    // PrjFile the project stays the empty one made at start (Untitled; PrjFile cleared when it
    // named a file): no box, no settings dialog.
    OpenResult OpenAtStartUp(SoundScan* readAhead = nullptr);
    // The sound file OpenProject (path) would read, found without changing anything: empty when
    // the open reads none (no project file, no sound, no waveform, or a peak cache it can trust).
    // Lets the caller read the sound ahead on a worker and pass it in.
    // A cache it finds trusted is not checked again by the open that follows.
    std::string SoundToRead(const std::string& path);

    // A new sound for the project (a dropped file, the project settings' sound field): reads it
    // into the peak list; when it gives at least one entry the header names it (storedText, or the
    // path made relative to the program folder), SoundFileTime becomes its time, the engine is
    // asked to open it, the project is marked modified and its cache waits for the next save.
    // False (the reader has reported why) changes nothing in the header.
    // readAhead as for OpenProject: ScanSound of soundPath.
    bool ChangeSound(const std::string& soundPath,
                     const std::optional<std::string>& storedText = std::nullopt,
                     SoundScan* readAhead = nullptr);
    // The project's sound as ChangeSound will replace it: the stored path text and time, the path
    // the engine opens, and the peak list. Empty without a waveform.
    struct SoundRecord {
        std::string StoredText;
        double FileTime = 0.0;
        std::string OpenPath;
        WavSoundState Peaks;
    };
    SoundRecord CurrentSound() const;
    // Puts a recorded sound back (a replaced sound undone): the header names it again with its
    // time, the peak list returns without reading the file, the engine is asked to open it, the
    // project is marked modified and the cache waits for the next save. A file gone meanwhile
    // only leaves the sound silent, as when a project's sound is missing at open.
    void RestoreSound(const SoundRecord& record);
    // A sound for this run in place of the project's (the player's --sound): the engine is asked
    // to open it; the project and its header stay as they are.
    void PlaySoundInstead(const std::string& soundPath);

    // Saves the project to ProjectFileName with the working patch and play times (keepUndo as the
    // save commands and the save question use it: false), then writes a waiting peak cache.
    ProjectSaveResult SaveProject(bool keepUndo = false);
    // Save As: the project and PrjFile take path, the project is saved and the peak cache written
    // beside it. On failure the project keeps its former name.
    ProjectSaveResult SaveProjectAs(const std::string& path);
    // The automatic backup (see AutoBackupDue): the file as SaveProject writes it, but the
    // selection in memory and the undo list stay. A waiting cache is written too.
    ProjectSaveResult SaveBackup();

    bool CachePending() const { return m_cachePending; }

private:
    void ResetForNewProject();
    void CloseSound();
    void WritePendingCache();
    int32_t ReadSound(const std::string& soundPath, SoundScan* readAhead);
    ProjectSaveResult Save(bool keepUndo, bool backup);

    ProjectData& m_project;
    EngineState& m_engine;
    PatchTable& m_patch;
    WavSound* m_sound;  // null: no waveform
    EnvData& m_env;
    ISessionUi& m_ui;
    std::chrono::milliseconds m_requestBound;
    bool m_cachePending = false;
    // The peak cache SoundToRead last found long enough for its sound (checking an MP3's length
    // scans the whole file), with what the verdict depended on.
    struct CheckedCache {
        std::string Cache;
        uintmax_t CacheSize = 0;
        std::string Sound;
        double SoundTime = 0.0;
        bool operator==(const CheckedCache&) const = default;
    };
    std::optional<CheckedCache> m_checkedCache;
};

}  // namespace lumavox
