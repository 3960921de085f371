#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "editor/logic/BeatMarks.h"
#include "editor/logic/EditRules.h"
#include "editor/logic/EditorContext.h"

class QAction;
class QWidget;

namespace lumavox {

class IEditPrompts;
struct PaneState;

// The handlers of the main window's edit, selection and multi-line actions. Each re-checks its
// enabled rule (the key of a disabled action may still arrive), asks through the prompts, runs
// the command on the project and reports what the window must show. The window connects each
// action's triggered() to the slot of the same name, calls UpdateActions() when the facts change
// and on aboutToShow of its menus, and sets MultiMode as the reference pane changes. The facts
// that walk the steps are kept until the steps change. UI thread only.
class EditActions : public QObject {
    Q_OBJECT
public:
    EditActions(EditorContext& context, QObject* parent);

    void Attach(PaneState& pane, IEditPrompts& prompts);
    void SetMultiMode(bool multiMode) { m_multiMode = multiMode; }
    // The onsets and beats the adding, pasting and time commands snap to, and the beat commands
    // use; the main window's, for the window's life.
    void SetBeatMarks(const BeatMarks* marks) { m_marks = marks; }
    ActionFacts Facts() const;
    bool Enabled(ActionId action) const;
    // Sets enabled and visible of every main action lookup finds (the rules of every action,
    // transport and zoom included, with the drag rule).
    void UpdateActions(const std::function<QAction*(ActionId id)>& lookup) const;

public slots:
    void CutStep();
    void CpyStep();
    void PstStep();
    void AddStep();
    void AddBlkStep();
    void DelStep();
    void DelAllStep();
    void SelectAll();
    void PropStep();
    void TimeStep();
    void MovToCsrPos();
    void CpyFrmTrk();
    void Undo();
    void Redo();
    void CutMlt();
    void CpyMlt();
    void PstMlt();
    void SelectAllMlt();
    void AlignMlt();
    void StretchMlt();
    void StretchBrt();
    void AddBeatSteps();
    void SelectBeatSteps();

signals:
    // The steps changed: repaint the time panes (and refresh the palette bar).
    void panesChanged();
    // Text for a status panel (3: the selection count, "" to clear it).
    void statusText(int panel, const QString& text);

private:
    bool Ready(ActionId action) const;
    int32_t NewStepTime() const;
    // t snapped to the nearest onset or beat while snapping is on.
    int32_t Snapped(int32_t t) const;

    EditorContext& m_context;
    PaneState* m_pane = nullptr;
    IEditPrompts* m_prompts = nullptr;
    bool m_multiMode = false;
    const BeatMarks* m_marks = nullptr;
    mutable StepFactsCache m_stepFacts;
};

}  // namespace lumavox
