#include "editor/LineTabStrip.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

#include "editor/TimePanes.h"
#include "model/ProjectData.h"

namespace lumavox {

namespace {
constexpr int kTabs = LineTabLayout::kTabs;
}  // namespace

LineTabStrip::LineTabStrip(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void LineTabStrip::SetCurrent(int line) {
    if (line < 0 || line >= kTabs || line == m_current) return;
    m_current = line;
    update();
}

LineTabLayout LineTabStrip::Layout() const {
    // The current tab's bold face is the widest the text gets.
    QFont bold = font();
    bold.setBold(true);
    const int text = QFontMetrics(bold).horizontalAdvance(QStringLiteral("Line 8"));
    return LineTabs(height(), width(), text);
}

QRect LineTabStrip::TabRect(int line) const {
    if (line < 0 || line >= kTabs) return {};
    const PixelRect r = Layout().Tabs[static_cast<size_t>(line)];
    return {r.X, r.Y, r.W, r.H};
}

int LineTabStrip::TabAt(const QPoint& pos) const {
    return Layout().TabAt(pos.x(), pos.y());
}

void LineTabStrip::paintEvent(QPaintEvent* event) {
    (void)event;
    QPainter p(this);
    const LineTabLayout layout = Layout();
    for (int i = 0; i < kTabs; ++i) {
        const PixelRect& t = layout.Tabs[static_cast<size_t>(i)];
        const QRect r(t.X, t.Y, t.W, t.H);
        const bool on = i == m_current;
        p.fillRect(r, on ? palette().color(QPalette::Base) : palette().color(QPalette::Button));
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.save();
        p.setClipRect(r);  // a label never spills into the neighbouring tabs
        p.translate(r.center());
        p.rotate(90);
        p.setPen(palette().color(QPalette::ButtonText));
        const QRect text(-r.height() / 2, -r.width() / 2, r.height(), r.width());
        QFont f = font();
        f.setBold(on);
        p.setFont(f);
        p.drawText(
            text, Qt::AlignCenter,
            layout.ShortLabels ? QString::number(i + 1) : QStringLiteral("Line %1").arg(i + 1));
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
