#include "editor/EditActions.h"

#include <QAction>
#include <QGuiApplication>
#include <limits>

#include "editor/EditPrompts.h"
#include "editor/QtText.h"
#include "editor/logic/ActionTable.h"
#include "editor/logic/DialogMaths.h"
#include "editor/logic/EditCommands.h"
#include "editor/logic/EditTexts.h"
#include "editor/logic/PaneState.h"
#include "editor/logic/TimeLine.h"
#include "editor/logic/UiText.h"
#include "engine/EngineState.h"
#include "model/Msgstr.h"
#include "model/ProjectData.h"

namespace lumavox {
namespace {

std::string DialogCaption(ActionId action) {
    return CaptionWithoutAccessKeys(ActionInfoOf(action).Caption);
}

TimeLimits LimitsOf(const EngineState& engine) {
    return TimeLimits{engine.PrePlayTime.load(std::memory_order_relaxed),
                      engine.PostPlayTime.load(std::memory_order_relaxed),
                      engine.SoundLength.load(std::memory_order_relaxed)};
}

// Busy pointer for the length of a command.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

EditActions::EditActions(EditorContext& context, QObject* parent)
    : QObject(parent), m_context(context) {}

void EditActions::Attach(PaneState& pane, IEditPrompts& prompts) {
    m_pane = &pane;
    m_prompts = &prompts;
}

ActionFacts EditActions::Facts() const {
    const TimeLine& timeLine = m_context.timeLine;
    const StepFacts& steps =
        m_stepFacts.Get(m_context.project, m_pane != nullptr ? m_pane->CurrentStep : nullptr);
    ActionFacts facts = GatherActionFacts(m_context.project, m_context.engine, m_context.transport,
                                          timeLine.FrameCount() > 0, steps, m_multiMode,
                                          timeLine.CanZoomIn(), timeLine.CanZoomOut());
    facts.BeatsKnown = m_marks != nullptr && m_marks->Known();
    return facts;
}

bool EditActions::Enabled(ActionId action) const {
    return EditActionState(action, Facts(), m_pane != nullptr && m_pane->Busy()).Enabled;
}

void EditActions::UpdateActions(const std::function<QAction*(ActionId id)>& lookup) const {
    const ActionFacts facts = Facts();
    const bool dragActive = m_pane != nullptr && m_pane->Busy();
    for (const ActionInfo& info : kActionTable) {
        QAction* action = lookup(info.Id);
        if (action == nullptr) continue;
        const ActionState state = EditActionState(info.Id, facts, dragActive);
        action->setEnabled(state.Enabled);
        action->setVisible(state.Visible);
    }
}

bool EditActions::Ready(ActionId action) const {
    return m_pane != nullptr && m_prompts != nullptr && Enabled(action);
}

int32_t EditActions::NewStepTime() const {
    const TimeLine& timeLine = m_context.timeLine;
    return Snapped(
        PixelGridTime(timeLine.CursorX(), timeLine.PixelsPerMs(), timeLine.PrePlayTime()));
}

int32_t EditActions::Snapped(int32_t t) const {
    return m_marks != nullptr ? m_marks->Snapped(t, m_context.timeLine.PixelsPerMs()) : t;
}

void EditActions::CutStep() {
    if (!Ready(ActionId::CutStepAction)) return;
    CutSteps(m_context.project, *m_pane);
    emit panesChanged();
}

void EditActions::CpyStep() {
    if (!Ready(ActionId::CpyStepAction)) return;
    CopySteps(m_context.project);
    emit panesChanged();
}

void EditActions::PstStep() {
    if (!Ready(ActionId::PstStepAction)) return;
    PasteSteps(m_context.project,
               Snapped(m_context.engine.CursorTime.load(std::memory_order_relaxed)));
    emit panesChanged();
}

void EditActions::AddStep() {
    if (!Ready(ActionId::AddStepAction)) return;
    const int32_t t = NewStepTime();
    m_pane->SuppressDrag = true;
    const std::optional<int32_t> colour =
        m_prompts->AskColour(0, DialogCaption(ActionId::AddStepAction));
    if (!colour) return;
    AddColourStep(m_context.project, *colour, t);
    emit panesChanged();
}

void EditActions::AddBlkStep() {
    if (!Ready(ActionId::AddBlkStepAction)) return;
    AddBlankStep(m_context.project, NewStepTime());
    emit panesChanged();
}

void EditActions::DelStep() {
    if (!Ready(ActionId::DelStepAction)) return;
    DeleteSteps(m_context.project, *m_pane);
    emit statusText(3, QString());
    emit panesChanged();
}

void EditActions::DelAllStep() {
    if (!Ready(ActionId::DelAllStepAction)) return;
    if (!m_prompts->Confirm(MsgText(Msg::AskDelete))) return;
    if (m_pane->Busy()) return;  // a drag cannot start during the box, but stay safe
    DeleteAllSteps(m_context.project, *m_pane);
    emit panesChanged();
}

void EditActions::SelectAll() {
    if (!Ready(ActionId::SelectAllAction)) return;
    const int selected = SelectAllSteps(m_context.project);
    emit statusText(3, Qs(SelectionCountText(selected)));
    emit panesChanged();
}

void EditActions::PropStep() {
    if (m_pane == nullptr || m_prompts == nullptr) return;
    const Step* current = CurrentStepOf(m_context.project, *m_pane);
    if (current == nullptr && SelectedCount(m_context.project) == 0) {
        AddStep();
        return;
    }
    if (!Ready(ActionId::PropStepAction)) return;
    const int32_t shown = current != nullptr ? current->Colour : 0;
    const std::optional<int32_t> colour =
        m_prompts->AskColour(shown, DialogCaption(ActionId::PropStepAction));
    if (!colour || m_pane->Busy()) return;
    RecolourSteps(m_context.project, *m_pane, *colour);
    emit panesChanged();
}

void EditActions::TimeStep() {
    if (!Ready(ActionId::TimeStepAction)) return;
    const std::optional<int32_t> time = StepTimeToEdit(m_context.project, *m_pane);
    if (!time) return;
    std::optional<int64_t> v = m_prompts->AskTime(*time);
    if (!v || m_pane->Busy()) return;
    if (*v >= 0 && *v <= std::numeric_limits<int32_t>::max()) v = Snapped(static_cast<int32_t>(*v));
    const int32_t soundLength = m_context.engine.SoundLength.load(std::memory_order_relaxed);
    if (*v < 0 || *v > soundLength ||
        !RetimeSteps(m_context.project, *m_pane, static_cast<int32_t>(*v), soundLength)) {
        m_prompts->Beep();
        return;
    }
    emit panesChanged();
}

void EditActions::MovToCsrPos() {
    if (!Ready(ActionId::MovToCsrPosAction)) return;
    MoveCurrentToCursor(m_context.project, *m_pane,
                        m_context.engine.CursorTime.load(std::memory_order_relaxed));
    emit panesChanged();
}

void EditActions::CpyFrmTrk() {
    if (!Ready(ActionId::CpyFrmTrkAction)) return;
    const int line = m_context.project.CurrentLine.load(std::memory_order_relaxed);
    const bool lineHasSteps = line >= 0 && line < kLineCount &&
                              !m_context.project.Lines[static_cast<size_t>(line)].Empty();
    if (lineHasSteps && !m_prompts->Confirm(MsgText(Msg::AskOverwrite))) return;
    const std::optional<std::string> answer =
        m_prompts->AskText(MsgText(Msg::CopyTrack), MsgText(Msg::SourceTrackNo));
    if (!answer || m_pane->Busy()) return;
    if (CopyFromLine(m_context.project, *m_pane, *answer)) emit panesChanged();
}

void EditActions::AddBeatSteps() {
    if (!Ready(ActionId::AddBeatStepsAction) || m_marks == nullptr) return;
    if (AddStepsAtBeats(m_context.project, m_marks->Beats()) > 0) emit panesChanged();
}

void EditActions::SelectBeatSteps() {
    if (!Ready(ActionId::SelectBeatStepsAction) || m_marks == nullptr) return;
    SelectStepsNearestBeats(m_context.project, m_marks->Beats());
    emit statusText(3, Qs(SelectionCountText(SelectedCount(m_context.project))));
    emit panesChanged();
}

void EditActions::Undo() {
    if (!Ready(ActionId::UndoAction)) return;
    BusyCursor busy;
    UndoCommand(m_context.project, *m_pane);
    emit panesChanged();
}

void EditActions::Redo() {
    if (!Ready(ActionId::RedoAction)) return;
    BusyCursor busy;
    RedoCommand(m_context.project, *m_pane);
    emit panesChanged();
}

void EditActions::CutMlt() {
    if (!Ready(ActionId::CutMltAction) || !m_multiMode) return;
    CutMultiSteps(m_context.project, *m_pane);
    emit statusText(3, QString());
    emit panesChanged();
}

void EditActions::CpyMlt() {
    if (!Ready(ActionId::CpyMltAction) || !m_multiMode) return;
    CopyMultiSteps(m_context.project);
    emit statusText(3, QString());
    emit panesChanged();
}

void EditActions::PstMlt() {
    if (!Ready(ActionId::PstMltAction) || !m_multiMode) return;
    PasteMultiSteps(m_context.project,
                    Snapped(m_context.engine.CursorTime.load(std::memory_order_relaxed)));
    emit panesChanged();
}

void EditActions::SelectAllMlt() {
    if (!Ready(ActionId::SelectAllMltAction) || !m_multiMode) return;
    SelectAllMultiSteps(m_context.project);
    emit panesChanged();
}

void EditActions::AlignMlt() {
    if (!Ready(ActionId::AlignMltAction) || !m_multiMode) return;
    AlignMultiSteps(m_context.project);
    emit panesChanged();
}

void EditActions::StretchMlt() {
    if (!Ready(ActionId::StretchMltAction) || !m_multiMode) return;
    const std::string prompt =
        std::string(MsgText(Msg::Magnification)) + std::string(edittext::kStretchTimeRange);
    const std::optional<std::string> answer =
        m_prompts->AskText(MsgText(Msg::MltTimStrecth), prompt);
    if (answer && !m_pane->Busy()) {
        StretchTimeMulti(m_context.project, *answer, LimitsOf(m_context.engine));
    }
    emit panesChanged();
}

void EditActions::StretchBrt() {
    if (!Ready(ActionId::StretchBrtAction) || !m_multiMode) return;
    const std::string prompt =
        std::string(MsgText(Msg::Magnification)) + std::string(edittext::kStretchBrightnessRange);
    const std::optional<std::string> answer =
        m_prompts->AskText(MsgText(Msg::MltBrtStrecth), prompt);
    if (answer && !m_pane->Busy()) StretchBrightnessMulti(m_context.project, *answer);
    emit panesChanged();
}

}  // namespace lumavox
