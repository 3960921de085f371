#include "editor/ReferencePane.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

#include "editor/QtText.h"
#include "editor/logic/PaneGeometry.h"
#include "model/ColourEval.h"
#include "model/ProjectData.h"
#include "settings/EnvData.h"

namespace lumavox {

using namespace line_pane;

ReferencePane::ReferencePane(TimePanes& panes, QWidget* parent)
    : TimePane(panes, kCursor | kDragLine, parent),
      m_menu(new QMenu(this)),
      m_band(*this, m_tl, m_state) {
    setMinimumHeight(2);
    for (int i = 0; i < kLineCount; ++i) {
        QAction* a = m_menu->addAction(QStringLiteral("Line %1").arg(i + 1));
        a->setCheckable(true);
        a->setData(i);
    }
    for (const auto& [text, value] :
         {std::pair{Tr(LV_TEXT("Lumavox", "全ラインカラー表示(&A)")), kAllLines},
          std::pair{Tr(LV_TEXT("Lumavox", "非表示(&N)")), kHidden}}) {
        m_menu->addSeparator();
        QAction* a = m_menu->addAction(text);
        a->setCheckable(true);
        a->setData(value);
    }
    m_menu->addSeparator();
    connect(m_menu, &QMenu::aboutToShow, this, [this] {
        for (QAction* a : m_menu->actions()) {
            if (a->isCheckable()) a->setChecked(a->data().toInt() == m_refLine);
        }
    });
    connect(m_menu, &QMenu::triggered, this, [this](QAction* a) {
        if (a->isCheckable()) Choose(a->data().toInt());
    });
}

void ReferencePane::SetView(int refLine, bool shown) {
    m_refLine = refLine == kAllLines || (refLine >= 0 && refLine < kLineCount) ? refLine : 0;
    m_shown = shown;
    InvalidateContent();
}

void ReferencePane::Choose(int value) {
    if (value == kHidden) {
        m_shown = false;
    } else {
        m_shown = true;
        m_refLine = value;
    }
    InvalidateContent();
    emit viewChanged(m_refLine, m_shown);
}

void ReferencePane::AdvanceLine() {
    if (m_refLine == kAllLines) return;
    m_refLine = (m_refLine + 1) % kLineCount;
    SetSelection(m_ctx.project, 0, true);
    m_panes.InvalidateAll();
    emit viewChanged(m_refLine, m_shown);
}

void ReferencePane::RenderOneLine(PaneCanvas& c, int line) {
    const int l = m_tl.L();
    const int e = m_tl.RightEnd();
    const int m = height() / 2;
    c.Fill(l, m, e - l, 1, qRgb(192, 192, 192));
    const TStepList& list = m_ctx.project.Lines[static_cast<size_t>(line)];
    PaintColourTrace(c, list, l, e, m);
    ForEachVisibleMarker(
        list, l, l + m_tl.VisibleWidth(),
        [&](const Step* s) {
            return MarkerPlace{MarkerY(s->Brightness, m), false};
        },
        [&](const Step* s, int x, const MarkerPlace& at) {
            DrawMarker(c, QRect(x - 8, at.Y - 8, 16, 16),
                       PixelOf(ApplyBrightness(s->Colour, s->Brightness)), PixelOf(s->Colour),
                       Edge::Etched, false);
        });
}

void ReferencePane::Render(PaneCanvas& c) {
    if (!m_shown) return;
    const int l = m_tl.L();
    const int e = m_tl.RightEnd();
    if (e <= l) return;
    c.Fill(l, 0, e - l, height(), PixelOf(m_ctx.env.CLinBg));
    if (m_refLine != kAllLines) {
        RenderOneLine(c, m_refLine);
        return;
    }
    const RefRows rows(height());
    for (int i = 0; i < kLineCount; ++i) {
        const int yi = rows.Yi(i);
        c.Fill(l, yi, e - l, 1, qRgb(192, 192, 192));
        ForEachColumnColour(m_ctx.project.Lines[static_cast<size_t>(i)], l, e,
                            [&](int x, const LineColour& lc) {
                                c.Fill(x, yi - rows.P, 1, 2 * rows.P,
                                       PixelOf(ApplyBrightness(lc.Colour, lc.Brightness)));
                            });
    }
    const int right = l + m_tl.VisibleWidth();
    const int current = m_panes.CurrentLineIndex();
    for (int i = 0; i < kLineCount; ++i) {
        const int yi = rows.Yi(i);
        ForEachVisibleMarker(
            m_ctx.project.Lines[static_cast<size_t>(i)], l, right,
            [&](const Step* s) {
                return MarkerPlace{yi, s->Selected != 0};
            },
            [&](const Step* s, int x, const MarkerPlace& at) {
                DrawMarker(c, QRect(x - rows.O, yi - rows.O, 2 * rows.O, 2 * rows.O),
                           PixelOf(ApplyBrightness(s->Colour, s->Brightness)), PixelOf(s->Colour),
                           i == current ? Edge::Raised : Edge::Etched, at.Red);
            });
    }
}

void ReferencePane::PaintOverlays(QPainter& p) {
    m_band.Paint(p);
}

void ReferencePane::DropGesture() {
    m_band.Drop();
    m_dragOffset = {};
    unsetCursor();
}

void ReferencePane::mousePressEvent(QMouseEvent* event) {
    if (!BeginPress(event)) return;
    if (!m_shown) return;
    if (event->button() == Qt::RightButton) {
        m_menu->popup(event->globalPosition().toPoint() + QPoint(2, 0));
        return;
    }
    if (event->button() != Qt::LeftButton || m_refLine != kAllLines) return;
    ProjectData& project = m_ctx.project;
    const int x = ContentX(event->position());
    const int y = static_cast<int>(std::trunc(event->position().y()));
    const RefRows rows(height());
    const int row = rows.RowOf(y);
    if (row < 0) return;
    if (row != m_panes.CurrentLineIndex()) {
        m_panes.SetCurrentLine(row, SelectedCount(project) == 0);
    }
    // Near any row's centre (a press just above a row's band is near the row above) picks a step
    // of the current line under the pointer.
    bool nearCentre = false;
    for (int j = 0; j < kLineCount; ++j) nearCentre = nearCentre || rows.NearCentre(j, y);
    int k = -1;
    if (nearCentre) {
        k = m_tl.Candidate(project.Lines[static_cast<size_t>(row)].ItemsUnlocked(), x, 0);
        m_state.SetCurrentIndex(project, k, true);
    }
    if (const Step* step = k >= 0 ? m_state.CurrentStep : nullptr) {
        m_panes.SelectOnPress(k, event->modifiers(), true);
        m_panes.ShowStepBrightness(step);
        m_panes.ShowStepTime(step);
    } else {
        m_state.CurrentStep = nullptr;
        SetSelection(project, 0, true);
        m_band.Start(x, y);
    }
    m_panes.InvalidateAll();
}

void ReferencePane::mouseMoveEvent(QMouseEvent* event) {
    m_band.Extend(ContentX(event->position()), static_cast<int>(std::trunc(event->position().y())));
}

void ReferencePane::mouseReleaseEvent(QMouseEvent* event) {
    (void)event;
    if (!m_band.Active()) return;
    const PixelRect area = m_band.Finish();
    ProjectData& project = m_ctx.project;
    const RefRows rows(height());
    int lowest = -1;
    for (int i = 0; i < kLineCount; ++i) {
        const TStepList& list = project.Lines[static_cast<size_t>(i)];
        if (SelectSteps(project, rows.BandPicks(m_tl, list.ItemsUnlocked(), i, area)) > 0 &&
            lowest < 0) {
            lowest = i;
        }
    }
    if (lowest >= 0 && lowest != m_panes.CurrentLineIndex()) m_panes.SetCurrentLine(lowest, false);
    m_panes.InvalidateAll();
    const int all = SelectedCount(project);
    emit m_panes.statusText(3, QString::fromStdString(SelectingText(all, all, false)));
}

ReferenceHeader::ReferenceHeader(ReferencePane& pane, QWidget* parent)
    : QWidget(parent), m_pane(pane) {
    connect(&pane, &ReferencePane::viewChanged, this, [this] { update(); });
}

void ReferenceHeader::paintEvent(QPaintEvent* event) {
    (void)event;
    if (!m_pane.Shown()) return;
    QPainter p(this);
    if (m_pane.RefLine() != ReferencePane::kAllLines) {
        p.drawText(rect().adjusted(4, 4, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                   QStringLiteral("Line %1").arg(m_pane.RefLine() + 1));
        return;
    }
    const RefRows rows(m_pane.height());
    const int labelH = p.fontMetrics().height();
    for (int i = 0; i < kLineCount; ++i) {
        p.drawText(QRect(4, rows.LabelTop(i, labelH), width() - 4, labelH),
                   Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Line %1").arg(i + 1));
    }
}

void ReferenceHeader::mousePressEvent(QMouseEvent* event) {
    if (!m_pane.Shown()) return;
    if (event->button() == Qt::RightButton) {
        m_pane.Menu()->popup(event->globalPosition().toPoint() + QPoint(2, 0));
    } else if (event->button() == Qt::LeftButton && m_pane.RefLine() != ReferencePane::kAllLines) {
        m_pane.AdvanceLine();
        update();
    }
}

}  // namespace lumavox
