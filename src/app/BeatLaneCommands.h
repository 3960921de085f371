#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "editor/logic/BeatMarks.h"
#include "sound/analysis/BeatAnalysis.h"

class QAction;
class QLabel;
class QWidget;

namespace lumavox {

struct EngineState;
class UsrIniFile;

// Finds the onsets and beats of a sound (AnalyseSoundCached, so a fresh .beats cache is taken as
// it is) on a worker thread: the progress goes to one status bar panel, how to stop to another,
// and Escape in the window stops it. Unlike a sound read it leaves the window usable meanwhile.
// One analysis at a time. UI thread only (the worker touches nothing but its own result, the
// cancel flag and queued calls back).
class BeatAnalysisTask : public QObject {
    Q_OBJECT
public:
    // Runs on the UI thread with AnalyseSound's code and result; not after Cancel().
    using Done = std::function<void(int32_t code, BeatAnalysis&& analysis)>;

    BeatAnalysisTask(QWidget& window, QLabel& statusPanel, QLabel& hintPanel);
    // Stops a running analysis and waits for the worker; done is not called then.
    ~BeatAnalysisTask() override;
    BeatAnalysisTask(const BeatAnalysisTask&) = delete;
    BeatAnalysisTask& operator=(const BeatAnalysisTask&) = delete;

    void Start(const std::string& soundPath, const BeatSettings& settings, Done done);
    // Stops a running analysis, waits for the worker (an MP3 file being decoded finishes its
    // decoding first) and clears the panels; done is not called. Nothing when idle.
    void Cancel();
    bool Busy() const { return m_worker.joinable(); }
    const std::string& SoundPath() const { return m_soundPath; }

signals:
    // Escape stopped the analysis.
    void cancelledByUser();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Finish(uint64_t generation, int32_t code, BeatAnalysis&& analysis);
    // Joins the worker and takes back the panels; returns the done function.
    Done Stop();

    QWidget& m_window;
    QLabel& m_panel;
    QLabel& m_hintPanel;
    QString m_panelText;  // what the task last wrote, to take it back only if still shown
    QString m_hintText;
    std::string m_soundPath;
    std::atomic<bool> m_cancel{false};
    std::thread m_worker;
    uint64_t m_generation = 0;
    Done m_done;
};

// The beat lane and snapping in the main window: the view and snap actions, their settings, and
// the analysis of the open sound that both need. It starts when the lane is shown or snapping is
// turned on while the marks of the open sound are not known, and again for each new sound; a
// sound whose analysis failed or was stopped is not analysed again until the user asks anew.
// UI thread only.
class BeatLaneCommands : public QObject {
    Q_OBJECT
public:
    BeatLaneCommands(QWidget& window, BeatMarks& marks, EngineState& engine, QLabel& statusPanel,
                     QLabel& hintPanel, QObject* parent);

    // The lane and its header beside it are shown and hidden together.
    void Attach(QWidget* lane, QWidget* header, QAction* viewAction, QAction* snapAction);
    // [BeatLane] Visible and Snap.
    void Restore(const UsrIniFile& ini);
    void Save(UsrIniFile& ini) const;
    void SetLaneShown(bool shown);
    void SetSnap(bool on);
    // Each display tick: a sound that changed drops the marks; an analysis starts when wanted.
    void Tick();
    // Stops the worker (before the window's panels go).
    void Stop() { m_task.Cancel(); }
    BeatAnalysisTask& Task() { return m_task; }

signals:
    // The marks were taken in or dropped: repaint the panes, recheck the actions.
    void marksChanged();

private:
    bool Wanted() const;

    BeatMarks& m_marks;
    EngineState& m_engine;
    QLabel& m_statusPanel;
    BeatAnalysisTask m_task;
    QWidget* m_lane = nullptr;
    QWidget* m_header = nullptr;
    QAction* m_view = nullptr;
    QAction* m_snap = nullptr;
    std::string m_refused;  // the sound whose analysis failed or was stopped
};

}  // namespace lumavox
