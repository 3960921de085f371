#include "dialogs/WindowPlacementQt.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "editor/logic/MonitorScale.h"

namespace lumavox {

namespace {

QSize FrameExtra(const QWidget& window) {
    return window.frameGeometry().size() - window.geometry().size();
}

// Before its first showing a window has no frame yet (the window manager adds it later): the
// frame of the window it belongs to stands in, so that restoring the stored outer size does not
// grow the window by one frame at every run.
QSize ExpectedFrameExtra(const QWidget& window) {
    const QSize own = FrameExtra(window);
    if (!own.isEmpty() || window.parentWidget() == nullptr) return own;
    return FrameExtra(*window.parentWidget()->window());
}

bool OnSomeScreen(const QRect& frame) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(frame)) return true;
    }
    return QGuiApplication::screens().isEmpty();
}

}  // namespace

WindowPlacement PlacementOfWindow(const QWidget& window, BorderKind border) {
    WindowPlacement p;
    p.Border = border;
    QRect frame = window.frameGeometry();
    if (window.isMaximized() || window.isMinimized()) {
        const QRect normal = window.normalGeometry();
        if (normal.isValid()) {
            const QSize extra = FrameExtra(window);
            const QPoint clientOffset = window.geometry().topLeft() - frame.topLeft();
            frame = QRect(normal.topLeft() - clientOffset, normal.size() + extra);
        }
        p.State = window.isMaximized() ? WindowState::Maximised : WindowState::Minimised;
    }
    p.Left = frame.left();
    p.Top = frame.top();
    p.Width = frame.width();
    p.Height = frame.height();
    return p;
}

void ApplyWindowPlacement(QWidget& window, const WindowPlacement& placement) {
    if (window.isMaximized() || window.isMinimized()) window.setWindowState(Qt::WindowNoState);
    // Stored values are hand-editable: keep them where Qt's geometry arithmetic cannot overflow.
    const PanelBounds b =
        LimitBounds({placement.Left, placement.Top, placement.Width, placement.Height});
    QPoint topLeft(b.Left, b.Top);
    const QSize extra = ExpectedFrameExtra(window);
    const QSize client(std::max(b.Width - extra.width(), 1),
                       std::max(b.Height - extra.height(), 1));
    if (!OnSomeScreen(QRect(topLeft, client + extra))) {
        topLeft = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
    }
    if (placement.Border != BorderKind::Dialog) window.resize(client);
    window.move(topLeft);
    if (placement.Border == BorderKind::Resizable && placement.State == WindowState::Maximised) {
        window.setWindowState(Qt::WindowMaximized);
    }
}

}  // namespace lumavox
