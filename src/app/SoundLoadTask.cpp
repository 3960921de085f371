#include "app/SoundLoadTask.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QWidget>
#include <utility>

#include "editor/QtText.h"

namespace lumavox {

namespace {

// The input a read keeps from the window: everything that could change the project or start a
// command while the sound that replaces it is being read.
bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::Drop:
            return true;
        default:
            return false;
    }
}

}  // namespace

SoundLoadTask::SoundLoadTask(QWidget& window, QLabel& statusPanel, QLabel& hintPanel)
    : m_window(window), m_panel(statusPanel), m_hintPanel(hintPanel) {}

SoundLoadTask::~SoundLoadTask() {
    if (!Busy()) return;
    m_cancel.store(true, std::memory_order_relaxed);
    Stop();
}

void SoundLoadTask::Start(const std::string& path, Done done) {
    Cancel();
    const uint64_t generation = ++m_generation;
    m_done = std::move(done);
    m_panelText = m_panel.text();
    m_hintText = m_hintPanel.text();
    m_cancel.store(false, std::memory_order_relaxed);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    qApp->installEventFilter(this);
    m_hintPanel.setText(Tr(LV_TEXT("Lumavox", "Esc キーで読み込みを中止します")));
    m_worker = std::thread([this, path, generation] {
        SoundReadControl control;
        control.Cancel = &m_cancel;
        control.Status = [this, generation](std::string_view text) {
            const QString shown = QtText(text);
            QMetaObject::invokeMethod(
                this,
                [this, generation, shown] {
                    if (generation == m_generation && Busy()) m_panel.setText(shown);
                },
                Qt::QueuedConnection);
        };
        auto scan = std::make_shared<SoundScan>(ScanSound(path, control));
        QMetaObject::invokeMethod(
            this, [this, generation, scan] { Finish(generation, scan); }, Qt::QueuedConnection);
    });
    emit busyChanged(true);
}

void SoundLoadTask::Finish(uint64_t generation, std::shared_ptr<SoundScan> scan) {
    if (generation != m_generation || !Busy()) return;  // cancelled after the worker had ended
    m_panel.clear();                                    // the reader's last text: the read is over
    m_hintPanel.setText(m_hintText);
    Done done = Stop();
    // The project is taken in first, so that the commands are enabled once, for what is open.
    if (done) done(std::move(*scan));
    emit busyChanged(false);
}

void SoundLoadTask::Cancel() {
    if (!Busy()) return;
    m_cancel.store(true, std::memory_order_relaxed);
    Done done = Stop();
    m_panel.setText(m_panelText);
    m_hintPanel.setText(m_hintText);
    emit busyChanged(false);
    if (done) {
        SoundScan cancelled;
        cancelled.Cancelled = true;
        done(std::move(cancelled));
    }
}

SoundLoadTask::Done SoundLoadTask::Stop() {
    m_worker.join();
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    return std::exchange(m_done, nullptr);
}

bool SoundLoadTask::eventFilter(QObject* watched, QEvent* event) {
    if (!Busy() || !IsUserInput(event->type())) return QObject::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    // Boxes and dialogs above the window keep their keys (their Escape closes them).
    if (widget == nullptr || widget->window() != &m_window) {
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Cancel();
    }
    return true;
}

}  // namespace lumavox
