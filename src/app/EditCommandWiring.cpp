// The main window's wiring of the edit commands and the time panes: each edit and navigation
// action to its command, the panes' signals to the status panels, scroll bar, palette and pop-up
// menus.
#include "app/MainWindow.h"

#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <algorithm>
#include <functional>

#include "dialogs/TSelExForm.h"
#include "editor/CurrentPalettePanel.h"
#include "editor/EditActions.h"
#include "editor/EditPrompts.h"
#include "editor/LineTabStrip.h"
#include "editor/QtText.h"
#include "editor/ReferencePane.h"
#include "editor/TimePanes.h"
#include "editor/logic/ActionTable.h"
#include "editor/logic/UiText.h"
#include "model/StepOps.h"

namespace lumavox {

void TLumavoxForm::ConnectEditActions() {
    EditActions* edit = m_edit;
    const std::pair<std::string_view, std::function<void()>> editSlots[] = {
        {"CutStepAction", [edit] { edit->CutStep(); }},
        {"CpyStepAction", [edit] { edit->CpyStep(); }},
        {"PstStepAction", [edit] { edit->PstStep(); }},
        {"AddStepAction", [edit] { edit->AddStep(); }},
        {"AddBlkStepAction", [edit] { edit->AddBlkStep(); }},
        {"DelStepAction", [edit] { edit->DelStep(); }},
        {"DelAllStepAction", [edit] { edit->DelAllStep(); }},
        {"SelectAllAction", [edit] { edit->SelectAll(); }},
        {"PropStepAction", [edit] { edit->PropStep(); }},
        {"TimeStepAction", [edit] { edit->TimeStep(); }},
        {"MovToCsrPosAction", [edit] { edit->MovToCsrPos(); }},
        {"CpyFrmTrkAction", [edit] { edit->CpyFrmTrk(); }},
        {"UndoAction",
         [this, edit] {
             // Undoing a replaced sound puts the former sound back with the steps.
             if (UndoWithSound(m_session, m_project, m_soundMarks, [edit] { edit->Undo(); })) {
                 LayoutStep();
                 Invalidate();
             }
         }},
        {"CutMltAction", [edit] { edit->CutMlt(); }},
        {"CpyMltAction", [edit] { edit->CpyMlt(); }},
        {"PstMltAction", [edit] { edit->PstMlt(); }},
        {"SelectAllMltAction", [edit] { edit->SelectAllMlt(); }},
        {"AlignMltAction", [edit] { edit->AlignMlt(); }},
        {"StretchMltAction", [edit] { edit->StretchMlt(); }},
        {"StretchBrtAction", [edit] { edit->StretchBrt(); }},
    };
    // A command that frees or replaces steps must not run while a drag holds them.
    for (const auto& [name, slot] : editSlots) {
        connect(Action(name), &QAction::triggered, m_edit, [this, work = slot] {
            if (m_panes->StepEditLocked()) return;
            work();
            UpdateActions();
        });
    }
    connect(m_edit, &EditActions::panesChanged, this, [this] {
        m_panes->StepsReplaced();
        m_palettePanel->Refresh();
        UpdateCaption();
    });
    connect(m_edit, &EditActions::statusText, this, [this](int panel, const QString& text) {
        m_panels[static_cast<size_t>(panel)]->setText(text);
    });

    const std::pair<std::string_view, std::function<void()>> keys[] = {
        {"ZoomInAction", [this] { m_panes->ZoomIn(); }},
        {"ZoomOutAction", [this] { m_panes->ZoomOut(); }},
        {"ZoomFitAction", [this] { m_panes->ZoomFit(); }},
        {"PrvStpAction", [this] { m_panes->PrevStep(); }},
        {"NxtStpAction", [this] { m_panes->NextStep(); }},
        {"UpBrightAction", [this] { m_panes->BrightnessUp(); }},
        {"DownBrightAction", [this] { m_panes->BrightnessDown(); }},
        {"PrvTimAction", [this] { m_panes->PrevTime(); }},
        {"NxtTimAction", [this] { m_panes->NextTime(); }},
        {"SelectExAction", [this] { RunSelectEx(); }},
    };
    for (const auto& [name, work] : keys) {
        connect(Action(name), &QAction::triggered, this, [this, work] {
            work();
            m_palettePanel->Refresh();  // the slider follows a new current step at once
            UpdateActions();
        });
    }
    connect(Action("ViewRefTrkAction"), &QAction::triggered, this,
            [this](bool on) { SetReferenceView(m_refPane->RefLine(), on); });
    connect(Action("DispMonoAction"), &QAction::triggered, this, [this] { ApplyWaveHeights(); });
}

void TLumavoxForm::ConnectPanes() {
    TimePanes* panes = m_panes;
    connect(panes, &TimePanes::statusText, this, [this](int panel, const QString& text) {
        if (panel >= 0 && panel < static_cast<int>(m_panels.size())) {
            m_panels[static_cast<size_t>(panel)]->setText(text);
        }
    });
    connect(panes, &TimePanes::scrollChanged, this, [this](int l, int maxL, int page) {
        const QSignalBlocker blocker(m_scrollBar);
        m_scrollBar->setRange(0, std::max(0, maxL));
        m_scrollBar->setPageStep(std::max(1, page));
        m_scrollBar->setSingleStep(std::max(1, page / 20));
        m_scrollBar->setValue(l);
    });
    connect(m_scrollBar, &QScrollBar::valueChanged, panes, &TimePanes::SetScroll);
    connect(panes, &TimePanes::sliderBrightness, m_palettePanel,
            [this](int brightness, bool) { m_palettePanel->ShowBrightness(brightness); });
    connect(panes, &TimePanes::stepMenuRequested, this,
            [this](const QPoint& at) { ShowActionMenu(StepPopupMenu(), at); });
    connect(panes, &TimePanes::emptyMenuRequested, this,
            [this](const QPoint& at) { ShowActionMenu(EmptySpacePopupMenu(), at); });
    // A double click on empty mark bar adds a step through the colour command even though the
    // click before it left nothing current (the action itself is disabled then).
    const auto propStep = [this] {
        if (m_panes->StepEditLocked()) return;
        m_edit->PropStep();
        UpdateActions();
    };
    connect(panes, &TimePanes::propStepRequested, this, propStep);
    connect(panes, &TimePanes::paletteRefreshRequested, m_palettePanel,
            &CurrentPalettePanel::Refresh);
    connect(panes, &TimePanes::currentLineChanged, this, [this](int line) {
        m_lineTabs->SetCurrent(line);
        m_palettePanel->Refresh();
        m_outputPanel->Refresh();
        UpdateActions();
    });
    connect(panes, &TimePanes::modifiedChanged, this, [this] {
        UpdateCaption();
        UpdateActions();
    });
    connect(panes, &TimePanes::zoomChanged, this, &TLumavoxForm::RefreshActions);
    connect(m_lineTabs, &LineTabStrip::currentChanged, panes,
            [panes](int line) { panes->SetCurrentLine(line, true); });

    // The line pop-up of the palette's and the output panel's line labels.
    m_linePopup = new LinePopup(*panes, this);
    const auto openLinePopup = [this](QPoint at) { ExecPopupMenu(*m_linePopup, at); };
    connect(m_palettePanel, &CurrentPalettePanel::lineMenuRequested, this, openLinePopup);
    connect(m_outputPanel, &LineOutputPanel::lineMenuRequested, this, openLinePopup);
    connect(m_palettePanel, &CurrentPalettePanel::propertiesRequested, this, propStep);
    connect(m_palettePanel, &CurrentPalettePanel::brightnessMessage, m_panels[2], &QLabel::setText);
    connect(m_palettePanel, &CurrentPalettePanel::panesChanged, this, [this] {
        m_panes->InvalidateAll();
        UpdateCaption();
    });

    // The reference pane's pop-up ends with the multi-line commands; all-lines mode is multi mode.
    // (The pane's own entries, up to "非表示(&N)" and its separator, are there already.)
    QMenu* refMenu = m_refPane->Menu();
    const std::span<const MenuEntry> layout = ReferencePopupMenu();
    const auto multi = std::find_if(layout.begin(), layout.end(),
                                    [](const MenuEntry& e) { return e.Name == "CutMltAction"; });
    for (const MenuEntry& entry : layout.subspan(static_cast<size_t>(multi - layout.begin()))) {
        if (entry.Kind == MenuEntryKind::Separator) {
            refMenu->addSeparator();
        } else if (QAction* action = Action(entry.Name)) {
            refMenu->addAction(action);
        }
    }
    connect(refMenu, &QMenu::aboutToShow, this, &TLumavoxForm::UpdateActions);
    connect(m_refPane, &ReferencePane::viewChanged, this,
            [this](int refLine, bool shown) { SetReferenceView(refLine, shown); });
}

void TLumavoxForm::ShowActionMenu(std::span<const MenuEntry> layout, const QPoint& globalPos) {
    UpdateActions();
    std::unique_ptr<QMenu> menu(BuildPopupMenu(
        layout, [this](std::string_view name) { return Action(name); }, this));
    menu->exec(globalPos);  // the panes give the pointer already moved 2 px right
}

void TLumavoxForm::RunSelectEx() {
    if (!m_aux.selEx || m_panes->StepEditLocked()) return;
    if (m_aux.selEx->exec() == QDialog::Accepted) {
        m_panes->StepsReplaced();
        m_panels[3]->setText(QtText(SelectionCountText(SelectedCount(m_project))));
    }
}

}  // namespace lumavox
