#include "app/BeatLaneCommands.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <utility>

#include "editor/QtText.h"
#include "engine/EngineState.h"
#include "settings/UsrIniFile.h"
#include "sound/analysis/BeatCache.h"

namespace lumavox {

namespace {

constexpr std::string_view kSection = "BeatLane";

QString ProgressText(int32_t percent) {
    return Tr(LV_TEXT("Lumavox", "ビート解析中 %1%")).arg(percent);
}

}  // namespace

BeatAnalysisTask::BeatAnalysisTask(QWidget& window, QLabel& statusPanel, QLabel& hintPanel)
    : m_window(window), m_panel(statusPanel), m_hintPanel(hintPanel) {}

BeatAnalysisTask::~BeatAnalysisTask() {
    Cancel();
}

void BeatAnalysisTask::Start(const std::string& soundPath, const BeatSettings& settings,
                             Done done) {
    Cancel();
    const uint64_t generation = ++m_generation;
    m_done = std::move(done);
    m_soundPath = soundPath;
    m_cancel.store(false, std::memory_order_relaxed);
    m_panelText = ProgressText(0);
    m_panel.setText(m_panelText);
    m_hintText = Tr(LV_TEXT("Lumavox", "Esc キーでビート解析を中止します"));
    m_hintPanel.setText(m_hintText);
    qApp->installEventFilter(this);
    m_worker = std::thread([this, soundPath, settings, generation] {
        AnalysisControl control;
        control.Cancel = &m_cancel;
        control.Progress = [this, generation](int32_t percent) {
            QMetaObject::invokeMethod(
                this,
                [this, generation, percent] {
                    if (generation != m_generation || !Busy()) return;
                    m_panelText = ProgressText(percent);
                    m_panel.setText(m_panelText);
                },
                Qt::QueuedConnection);
        };
        auto analysis = std::make_shared<BeatAnalysis>();
        const int32_t code = AnalyseSoundCached(soundPath, settings, *analysis, control);
        QMetaObject::invokeMethod(
            this,
            [this, generation, code, analysis] { Finish(generation, code, std::move(*analysis)); },
            Qt::QueuedConnection);
    });
}

void BeatAnalysisTask::Finish(uint64_t generation, int32_t code, BeatAnalysis&& analysis) {
    if (generation != m_generation || !Busy()) return;  // cancelled after the worker had ended
    Done done = Stop();
    if (done) done(code, std::move(analysis));
}

void BeatAnalysisTask::Cancel() {
    if (!Busy()) return;
    m_cancel.store(true, std::memory_order_relaxed);
    Stop();
}

BeatAnalysisTask::Done BeatAnalysisTask::Stop() {
    m_worker.join();
    qApp->removeEventFilter(this);
    // Texts written since by someone else stay.
    if (m_panel.text() == m_panelText) m_panel.clear();
    if (m_hintPanel.text() == m_hintText) m_hintPanel.clear();
    return std::exchange(m_done, nullptr);
}

bool BeatAnalysisTask::eventFilter(QObject* watched, QEvent* event) {
    if (Busy() && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        auto* widget = qobject_cast<QWidget*>(watched);
        // Dialogs above the window keep their Escape.
        if (widget != nullptr && widget->window() == &m_window) {
            Cancel();
            emit cancelledByUser();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

BeatLaneCommands::BeatLaneCommands(QWidget& window, BeatMarks& marks, EngineState& engine,
                                   QLabel& statusPanel, QLabel& hintPanel, QObject* parent)
    : QObject(parent),
      m_marks(marks),
      m_engine(engine),
      m_statusPanel(statusPanel),
      m_task(window, statusPanel, hintPanel) {
    connect(&m_task, &BeatAnalysisTask::cancelledByUser, this,
            [this] { m_refused = m_task.SoundPath(); });
}

void BeatLaneCommands::Attach(QWidget* lane, QWidget* header, QAction* viewAction,
                              QAction* snapAction) {
    m_lane = lane;
    m_header = header;
    m_view = viewAction;
    m_snap = snapAction;
    connect(m_view, &QAction::triggered, this, [this](bool on) {
        if (on) m_refused.clear();  // asked anew
        SetLaneShown(on);
    });
    connect(m_snap, &QAction::triggered, this, [this](bool on) {
        if (on) m_refused.clear();
        SetSnap(on);
    });
    SetLaneShown(false);
}

void BeatLaneCommands::Restore(const UsrIniFile& ini) {
    SetLaneShown(ini.ReadBool(kSection, "Visible", false));
    SetSnap(ini.ReadBool(kSection, "Snap", false));
}

void BeatLaneCommands::Save(UsrIniFile& ini) const {
    const bool visible = m_view != nullptr && m_view->isChecked();
    // Settings files of users who never used the lane stay as they were.
    const bool stored = std::any_of(
        ini.Sections().begin(), ini.Sections().end(), [](const UsrIniFile::Section& section) {
            return QString::fromStdString(section.Name)
                       .compare(
                           QLatin1String(kSection.data(), static_cast<qsizetype>(kSection.size())),
                           Qt::CaseInsensitive) == 0;
        });
    if (!stored && !visible && !m_marks.SnapOn()) return;
    ini.WriteBool(kSection, "Visible", visible);
    ini.WriteBool(kSection, "Snap", m_marks.SnapOn());
}

void BeatLaneCommands::SetLaneShown(bool shown) {
    if (m_lane != nullptr) m_lane->setVisible(shown);
    if (m_header != nullptr) m_header->setVisible(shown);
    if (m_view != nullptr) m_view->setChecked(shown);
    Tick();
}

void BeatLaneCommands::SetSnap(bool on) {
    m_marks.SetSnap(on);
    if (m_snap != nullptr) m_snap->setChecked(on);
    Tick();
}

bool BeatLaneCommands::Wanted() const {
    return m_marks.SnapOn() || (m_view != nullptr && m_view->isChecked());
}

void BeatLaneCommands::Tick() {
    const std::string sound =
        m_engine.SoundLoaded.load(std::memory_order_relaxed) ? m_engine.SoundPath.Get() : "";
    if (m_marks.Known() && m_marks.SoundPath() != sound) {
        m_marks.Clear();
        emit marksChanged();
    }
    if (m_task.Busy() && m_task.SoundPath() != sound) m_task.Cancel();
    if (!Wanted() || sound.empty() || m_marks.Known() || m_task.Busy() || sound == m_refused) {
        return;
    }
    m_task.Start(sound, BeatSettings{}, [this, sound](int32_t code, BeatAnalysis&& analysis) {
        if (code == 0) {
            m_marks.Take(sound, std::move(analysis));
            emit marksChanged();
        } else {
            m_refused = sound;
            if (code != kAnalysisCancelled) m_statusPanel.setText(QtText(BeatFailureText(code)));
        }
    });
}

}  // namespace lumavox
