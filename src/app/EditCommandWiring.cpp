// The main window's wiring of the edit commands and the time panes: each edit and navigation
// action to its command, the panes' signals to the status panels, scroll bar, palette and pop-up
// menus; the transport commands, which move the panes' view with the cursor.
#include "app/MainWindow.h"

#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <algorithm>
#include <functional>

#include "dialogs/TColMonForm.h"
#include "dialogs/TSelExForm.h"
#include "editor/CurrentPalettePanel.h"
#include "editor/EditActions.h"
#include "editor/EditPrompts.h"
#include "editor/LineTabStrip.h"
#include "editor/QtText.h"
#include "editor/ReferencePane.h"
#include "editor/TimePanes.h"
#include "editor/logic/ActionTable.h"
#include "editor/logic/SoundReplace.h"
#include "editor/logic/UiText.h"
#include "model/StepOps.h"

namespace lumavox {

void TLumavoxForm::ConnectEditActions() {
    const std::pair<ActionId, void (EditActions::*)()> editSlots[] = {
        {ActionId::CutStepAction, &EditActions::CutStep},
        {ActionId::CpyStepAction, &EditActions::CpyStep},
        {ActionId::PstStepAction, &EditActions::PstStep},
        {ActionId::AddStepAction, &EditActions::AddStep},
        {ActionId::AddBlkStepAction, &EditActions::AddBlkStep},
        {ActionId::DelStepAction, &EditActions::DelStep},
        {ActionId::DelAllStepAction, &EditActions::DelAllStep},
        {ActionId::SelectAllAction, &EditActions::SelectAll},
        {ActionId::PropStepAction, &EditActions::PropStep},
        {ActionId::TimeStepAction, &EditActions::TimeStep},
        {ActionId::MovToCsrPosAction, &EditActions::MovToCsrPos},
        {ActionId::CpyFrmTrkAction, &EditActions::CpyFrmTrk},
        {ActionId::CutMltAction, &EditActions::CutMlt},
        {ActionId::CpyMltAction, &EditActions::CpyMlt},
        {ActionId::PstMltAction, &EditActions::PstMlt},
        {ActionId::SelectAllMltAction, &EditActions::SelectAllMlt},
        {ActionId::AlignMltAction, &EditActions::AlignMlt},
        {ActionId::StretchMltAction, &EditActions::StretchMlt},
        {ActionId::StretchBrtAction, &EditActions::StretchBrt},
        {ActionId::AddBeatStepsAction, &EditActions::AddBeatSteps},
        {ActionId::SelectBeatStepsAction, &EditActions::SelectBeatSteps},
    };
    // A command that frees or replaces steps must not run while a drag holds them.
    for (const auto& [id, slot] : editSlots) {
        // Through std::function: GCC's -O1 sanitizer builds warn (wrongly) about a member
        // pointer captured and called in place.
        const std::function<void(EditActions&)> work = std::mem_fn(slot);
        connect(Action(id), &QAction::triggered, m_edit, [this, work] {
            if (m_panes->StepEditLocked()) return;
            work(*m_edit);
            UpdateActions();
        });
    }
    // Undo and redo of a replaced sound put that state's sound back with the steps.
    const std::pair<ActionId, UndoSide> undoSlots[] = {{ActionId::UndoAction, UndoSide::Undo},
                                                       {ActionId::RedoAction, UndoSide::Redo}};
    for (const auto& [id, side] : undoSlots) {
        connect(Action(id), &QAction::triggered, m_edit, [this, from = side] {
            if (m_panes->StepEditLocked()) return;
            const auto step = [this, from] {
                if (from == UndoSide::Undo) {
                    m_edit->Undo();
                } else {
                    m_edit->Redo();
                }
            };
            if (StepWithSound(m_session, m_project, m_files->SoundMarks(), from, step)) {
                LayoutStep();
                Invalidate();
            }
            UpdateActions();
        });
    }
    connect(m_edit, &EditActions::panesChanged, this, [this] {
        m_panes->StepsReplaced();
        m_palettePanel->Refresh();
        UpdateCaption();
    });
    connect(m_edit, &EditActions::statusText, m_play, &PlayPanel::SetStatusText);

    const std::pair<ActionId, std::function<void()>> keys[] = {
        {ActionId::ZoomInAction, [this] { m_panes->ZoomIn(); }},
        {ActionId::ZoomOutAction, [this] { m_panes->ZoomOut(); }},
        {ActionId::ZoomFitAction, [this] { m_panes->ZoomFit(); }},
        {ActionId::PrvStpAction, [this] { m_panes->PrevStep(); }},
        {ActionId::NxtStpAction, [this] { m_panes->NextStep(); }},
        {ActionId::UpBrightAction, [this] { m_panes->BrightnessUp(); }},
        {ActionId::DownBrightAction, [this] { m_panes->BrightnessDown(); }},
        {ActionId::PrvTimAction, [this] { m_panes->PrevTime(); }},
        {ActionId::NxtTimAction, [this] { m_panes->NextTime(); }},
        {ActionId::SelectExAction, [this] { RunSelectEx(); }},
    };
    for (const auto& [id, work] : keys) {
        connect(Action(id), &QAction::triggered, this, [this, work] {
            work();
            m_palettePanel->Refresh();  // the slider follows a new current step at once
            UpdateActions();
        });
    }
    connect(Action(ActionId::ViewRefTrkAction), &QAction::triggered, this,
            [this](bool on) { SetReferenceView(m_refPane->RefLine(), on); });
    connect(Action(ActionId::DispMonoAction), &QAction::triggered, this,
            [this] { ApplyWaveHeights(); });
}

void TLumavoxForm::ConnectPanes() {
    TimePanes* panes = m_panes;
    connect(panes, &TimePanes::statusText, m_play, &PlayPanel::SetStatusText);
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
        m_play->OutputPanel()->Refresh();
        UpdateActions();
    });
    connect(panes, &TimePanes::modifiedChanged, this, [this] {
        UpdateCaption();
        UpdateActions();
    });
    connect(panes, &TimePanes::zoomChanged, this, &TLumavoxForm::RefreshActions);
    connect(panes, &TimePanes::waveGainChanged, this, &TLumavoxForm::ShowWaveHeaderTexts);
    connect(m_lineTabs, &LineTabStrip::currentChanged, panes,
            [panes](int line) { panes->SetCurrentLine(line, true); });

    // The line pop-up of the palette's and the output panel's line labels.
    m_linePopup = new LinePopup(*panes, this);
    const auto openLinePopup = [this](QPoint at) { ExecPopupMenu(*m_linePopup, at); };
    connect(m_palettePanel, &CurrentPalettePanel::lineMenuRequested, this, openLinePopup);
    connect(m_play->OutputPanel(), &LineOutputPanel::lineMenuRequested, this, openLinePopup);
    connect(m_palettePanel, &CurrentPalettePanel::propertiesRequested, this, propStep);
    connect(m_palettePanel, &CurrentPalettePanel::brightnessMessage, m_play->StatusPanel(2),
            &QLabel::setText);
    connect(m_palettePanel, &CurrentPalettePanel::panesChanged, this, [this] {
        m_panes->InvalidateAll();
        UpdateCaption();
    });

    // The reference pane's pop-up ends with the multi-line commands; all-lines mode is multi mode.
    // (The pane's own entries, up to "非表示(&N)" and its separator, are there already.)
    QMenu* refMenu = m_refPane->Menu();
    const std::span<const MenuEntry> layout = ReferencePopupMenu();
    const auto multi = std::find_if(layout.begin(), layout.end(), [](const MenuEntry& e) {
        return e.Kind == MenuEntryKind::Action && e.Action == ActionId::CutMltAction;
    });
    for (const MenuEntry& entry : layout.subspan(static_cast<size_t>(multi - layout.begin()))) {
        if (entry.Kind == MenuEntryKind::Separator) {
            refMenu->addSeparator();
        } else if (QAction* action = Action(entry.Action)) {
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
        layout, [this](ActionId id) { return Action(id); }, this));
    menu->exec(globalPos);  // the panes give the pointer already moved 2 px right
}

void TLumavoxForm::RunSelectEx() {
    if (!m_aux.selEx || m_panes->StepEditLocked()) return;
    if (m_aux.selEx->exec() == QDialog::Accepted) {
        m_panes->StepsReplaced();
        m_play->StatusPanel(3)->setText(QtText(SelectionCountText(SelectedCount(m_project))));
    }
}

void TLumavoxForm::RepaintColourMonitor() {
    if (m_aux.colMon && m_aux.colMon->isVisible()) m_aux.colMon->Tick();
}

void TLumavoxForm::PlayFromStart() {
    m_panes->SetScroll(0);
    m_transport.PlayFromStart();
    RepaintColourMonitor();
    UpdateActions();
}

void TLumavoxForm::Play() {
    m_transport.Play();
    RepaintColourMonitor();
    UpdateActions();
}

void TLumavoxForm::Stop() {
    m_transport.Stop();
    RepaintColourMonitor();
    UpdateActions();
}

void TLumavoxForm::ToSoundStart() {
    m_transport.ToSoundStart();
    m_panes->SetScroll(m_timeLine.SoundStartScroll());
    m_panes->UpdateCursor();
    UpdateActions();
}

void TLumavoxForm::ToSoundEnd() {
    m_transport.ToSoundEnd();
    m_panes->SetScroll(m_timeLine.SoundEndScroll(m_state.PostPlayTime.load()));
    m_panes->UpdateCursor();
    UpdateActions();
}

}  // namespace lumavox
