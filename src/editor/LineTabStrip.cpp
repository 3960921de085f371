#include "editor/LineTabStrip.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

#include <algorithm>

#include "editor/TimePanes.h"
#include "model/ProjectData.h"

namespace lumavox {

namespace {
constexpr int kTabs = 8;
constexpr int kTwoColumnBelow = 336;
}  // namespace

LineTabStrip::LineTabStrip(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void LineTabStrip::SetCurrent(int line) {
    if (line < 0 || line >= kTabs || line == m_current) return;
    m_current = line;
    update();
}

int LineTabStrip::TabLength() const {
    if (height() < kTwoColumnBelow) return std::max(1, height() / 4 - 2);
    return fontMetrics().horizontalAdvance(QStringLiteral("Line 8")) + 16;
}

QRect LineTabStrip::TabRect(int line) const {
    const int len = TabLength();
    if (height() < kTwoColumnBelow) {
        const int colW = width() / 2;
        return {(line / 4) * colW, (line % 4) * (len + 2), colW, len};
    }
    return {0, line * len, width(), len};
}

int LineTabStrip::TabAt(const QPoint& pos) const {
    for (int i = 0; i < kTabs; ++i) {
        if (TabRect(i).contains(pos)) return i;
    }
    return -1;
}

void LineTabStrip::paintEvent(QPaintEvent* event) {
    (void)event;
    QPainter p(this);
    for (int i = 0; i < kTabs; ++i) {
        const QRect r = TabRect(i);
        const bool on = i == m_current;
        p.fillRect(r, on ? palette().color(QPalette::Base) : palette().color(QPalette::Button));
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.save();
        p.translate(r.center());
        p.rotate(90);
        p.setPen(palette().color(QPalette::ButtonText));
        const QRect text(-r.height() / 2, -r.width() / 2, r.height(), r.width());
        QFont f = font();
        f.setBold(on);
        p.setFont(f);
        p.drawText(text, Qt::AlignCenter, QStringLiteral("Line %1").arg(i + 1));
        p.restore();
    }
}

void LineTabStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int tab = TabAt(event->position().toPoint());
    if (tab < 0 || tab == m_current) return;
    m_current = tab;
    update();
    emit currentChanged(tab);
}

LinePopup::LinePopup(TimePanes& panes, QWidget* parent) : QMenu(parent) {
    for (int i = 0; i < kTabs; ++i) {
        QAction* a = addAction(QStringLiteral("Line %1").arg(i + 1));
        a->setCheckable(true);
        a->setData(i);
    }
    connect(this, &QMenu::aboutToShow, this, [this, &panes] {
        const int line = panes.CurrentLineIndex();
        for (QAction* a : actions()) a->setChecked(a->data().toInt() == line);
    });
    connect(this, &QMenu::triggered, this,
            [&panes](QAction* a) { panes.SetCurrentLine(a->data().toInt(), false); });
}

}  // namespace lumavox
