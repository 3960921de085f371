#include "editor/EditActions.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <deque>
#include <map>
#include <memory>

#include "editor/EditPrompts.h"
#include "editor/EditorContextRig.h"
#include "editor/logic/ActionTable.h"
#include "editor/logic/PaneState.h"
#include "model/StepOps.h"

using namespace lumavox;

namespace {

// Scripted answers, recording what was asked.
class ScriptedPrompts : public IEditPrompts {
public:
    bool Confirm(std::string_view question) override {
        asked.emplace_back(question);
        return confirm;
    }
    std::optional<std::string> AskText(std::string_view title, std::string_view prompt) override {
        asked.emplace_back(std::string(title) + "|" + std::string(prompt));
        return answer;
    }
    std::optional<int32_t> AskColour(int32_t colour, std::string_view caption) override {
        shownColour = colour;
        asked.emplace_back(caption);
        return pickedColour;
    }
    std::optional<int64_t> AskTime(int32_t timeMs) override {
        shownTime = timeMs;
        return typedTime;
    }
    void Beep() override { ++beeps; }

    bool confirm = true;
    std::optional<std::string> answer;
    std::optional<int32_t> pickedColour;
    std::optional<int64_t> typedTime;
    int32_t shownColour = -1;
    int32_t shownTime = -1;
    int beeps = 0;
    std::deque<std::string> asked;
};

// A loaded 60-s sound with 10 s of pre-roll, the cursor at -1 ms (pixel 249 at the initial zoom),
// line 0 current with steps at 1000 and 5000.
struct ActionsRig {
    ActionsRig() {
        rig.engine.PrePlayTime = 10000;
        rig.engine.PostPlayTime = 10000;
        rig.engine.SoundLength = 60000;
        rig.engine.CursorTime = -1;
        TimeLine::LayoutInput in;
        in.CursorTime = -1;
        in.PrePlayTime = 10000;
        in.PostPlayTime = 10000;
        in.FrameCount = 6000;
        in.TimelineLength = 80000;
        in.VisibleWidth = 800;
        rig.timeLine.Layout(in);
        AddStep(rig.project, 0x0000FF, 0, 1000, 0, false);
        AddStep(rig.project, 0x00FF00, 0, 5000, 0, false);
        rig.project.Modified = false;
        actions.Attach(pane, prompts);
    }
    std::vector<int32_t> Times(int line = 0) const {
        std::vector<int32_t> out;
        for (const Step* s : rig.project.Lines[static_cast<size_t>(line)].ItemsUnlocked()) {
            out.push_back(s->Time);
        }
        return out;
    }

    testing::EditorContextRig rig;
    PaneState pane;
    ScriptedPrompts prompts;
    EditActions actions{rig.context, nullptr};
};

}  // namespace

class EditActionsTest : public QObject {
    Q_OBJECT
private slots:
    void addUsesThePixelGridAndBlackAndSuppressesTheNextDrag();
    void propertiesWithoutTargetsAddsAndWithTargetsRecolours();
    void timeRefusesOutOfRangeWithABeep();
    void typedAndPastedTimesSnapWhileSnappingIsOn();
    void deleteAllAndCopyFromLineAskFirst();
    void commandsWaitForADragToEnd();
    void stretchIsOnlyForMultiModeAndAlwaysRepaints();
    void popupMenusFollowTheLayoutAndVisibility();
};

void EditActionsTest::addUsesThePixelGridAndBlackAndSuppressesTheNextDrag() {
    ActionsRig r;
    QSignalSpy repaint(&r.actions, &EditActions::panesChanged);
    r.actions.AddStep();  // cancelled
    QVERIFY(r.pane.SuppressDrag);
    QCOMPARE(r.prompts.shownColour, 0);
    QCOMPARE(QString::fromStdString(r.prompts.asked.back()), QStringLiteral("基点の追加(A)..."));
    QCOMPARE(r.Times(), (std::vector<int32_t>{1000, 5000}));
    r.prompts.pickedColour = 0x123456;
    r.actions.AddStep();
    // -1 ms is pixel 249, which converts back to -40 ms: the step goes first, not after the end.
    QCOMPARE(r.Times(), (std::vector<int32_t>{-40, 1000, 5000}));
    QCOMPARE(r.rig.project.Lines[0].At(0).Colour, 0x123456);
    QCOMPARE(r.rig.project.UndoList.Count(), 1);
    QCOMPARE(repaint.count(), 1);

    r.rig.engine.CursorTime = 0;  // no current step compares 0: disabled
    QVERIFY(!r.actions.Enabled(ActionId::AddBlkStepAction));
}

void EditActionsTest::propertiesWithoutTargetsAddsAndWithTargetsRecolours() {
    ActionsRig r;
    r.prompts.pickedColour = 0x0000AA;
    r.actions.PropStep();  // nothing current or selected: adds
    QCOMPARE(r.rig.project.Lines[0].Count(), 3);
    r.pane.SetCurrentIndex(r.rig.project, 2, false);  // the step at 5000
    SetStepSelected(r.rig.project, 0, &r.rig.project.Lines[0].At(1), true);
    r.prompts.pickedColour = 0x00BB00;
    r.actions.PropStep();
    QCOMPARE(r.prompts.shownColour, 0x00FF00);
    QCOMPARE(QString::fromStdString(r.prompts.asked.back()), QStringLiteral("基点の色指定(C)..."));
    QCOMPARE(r.rig.project.Lines[0].At(1).Colour, 0x00BB00);
    QCOMPARE(r.rig.project.Lines[0].At(2).Colour, 0x00BB00);
    QCOMPARE(r.rig.project.UndoList.Count(), 2);
}

void EditActionsTest::timeRefusesOutOfRangeWithABeep() {
    ActionsRig r;
    r.pane.SetCurrentIndex(r.rig.project, 0, false);
    for (int64_t typed : {int64_t{-1500}, int64_t{60001}, int64_t{1} << 40}) {
        r.prompts.typedTime = typed;
        r.actions.TimeStep();
    }
    QCOMPARE(r.prompts.shownTime, 1000);
    QCOMPARE(r.prompts.beeps, 3);
    QCOMPARE(r.rig.project.UndoList.Count(), 0);
    r.prompts.typedTime = 7000;
    r.actions.TimeStep();
    QCOMPARE(r.Times(), (std::vector<int32_t>{5000, 7000}));
    QCOMPARE(r.pane.CurrentIndex(r.rig.project), 1);  // the same step after the re-sort
    QVERIFY(r.rig.project.Modified);
}

void EditActionsTest::typedAndPastedTimesSnapWhileSnappingIsOn() {
    ActionsRig r;  // 0.025 px/ms: 8 px are 320 ms
    BeatMarks marks;
    marks.Take("song.wav", BeatAnalysis{{2000, 7100}, {3000}, 60.0});
    marks.SetSnap(true);
    r.actions.SetBeatMarks(&marks);
    r.pane.SetCurrentIndex(r.rig.project, 0, false);
    r.prompts.typedTime = 7000;
    r.actions.TimeStep();
    QCOMPARE(r.Times(), (std::vector<int32_t>{5000, 7100}));
    // Only the pasted steps move: the one at 5000 stays where it is.
    SetStepSelected(r.rig.project, 0, &r.rig.project.Lines[0].At(1), true);
    r.actions.CpyStep();
    r.rig.engine.CursorTime = 2200;
    r.actions.PstStep();
    QCOMPARE(r.Times(), (std::vector<int32_t>{2000, 5000, 7100}));
    r.rig.engine.CursorTime = 4000;  // 1000 ms from any mark
    r.actions.PstStep();
    QCOMPARE(r.Times(), (std::vector<int32_t>{2000, 4000, 5000, 7100}));
    marks.SetSnap(false);
    r.rig.engine.CursorTime = 2200;
    r.actions.PstStep();
    QCOMPARE(r.Times(), (std::vector<int32_t>{2000, 2200, 4000, 5000, 7100}));
}

void EditActionsTest::deleteAllAndCopyFromLineAskFirst() {
    ActionsRig r;
    r.prompts.confirm = false;
    r.actions.DelAllStep();
    QCOMPARE(r.Times().size(), size_t{2});
    QCOMPARE(QString::fromStdString(r.prompts.asked.back()),
             QStringLiteral("削除してもいいですか"));

    r.prompts.answer = "2";
    r.actions.CpyFrmTrk();  // refused overwrite: no input box
    QCOMPARE(QString::fromStdString(r.prompts.asked.back()),
             QStringLiteral("上書きしてもいいですか?"));
    r.prompts.confirm = true;
    r.actions.DelAllStep();
    QVERIFY(r.Times().empty());
    AddStep(r.rig.project, 0x111111, 0, 300, 0, false);  // on line 0 ...
    r.rig.project.CurrentLine = 1;                       // ... copied into line 1
    r.prompts.answer = "1";
    r.actions.CpyFrmTrk();  // empty line: no question
    QCOMPARE(QString::fromStdString(r.prompts.asked.back()),
             QStringLiteral("ライン内容のコピー|コピー元のラインNo.(1～8)を指定してください"));
    QCOMPARE(r.Times(1), (std::vector<int32_t>{300}));
}

void EditActionsTest::commandsWaitForADragToEnd() {
    ActionsRig r;
    r.pane.SetCurrentIndex(r.rig.project, 0, false);
    SetSelection(r.rig.project, 1, true);
    r.pane.DragMode = PaneState::Drag::Move;
    r.pane.Dragged = r.pane.CurrentStep;
    SaveUndoState(r.rig.project);
    r.actions.Undo();
    r.actions.DelStep();
    r.actions.CutStep();
    QCOMPARE(r.Times().size(), size_t{2});
    QCOMPARE(r.pane.Dragged, &r.rig.project.Lines[0].At(0));  // still a live step
    r.pane.EndDrag();
    QSignalSpy status(&r.actions, &EditActions::statusText);
    r.actions.DelStep();
    QVERIFY(r.Times().empty());
    QCOMPARE(status.count(), 1);
    QCOMPARE(status.first().at(0).toInt(), 3);
    QVERIFY(status.first().at(1).toString().isEmpty());
}

void EditActionsTest::stretchIsOnlyForMultiModeAndAlwaysRepaints() {
    ActionsRig r;
    SetSelection(r.rig.project, 1, true);
    QSignalSpy repaint(&r.actions, &EditActions::panesChanged);
    r.prompts.answer = "-1";
    r.actions.StretchMlt();
    QCOMPARE(repaint.count(), 0);
    r.actions.SetMultiMode(true);
    r.prompts.answer = "10.5";
    r.actions.StretchMlt();
    QCOMPARE(r.Times(), (std::vector<int32_t>{1000, 5000}));
    QCOMPARE(repaint.count(), 1);
    QCOMPARE(QString::fromStdString(r.prompts.asked.back()),
             QStringLiteral("複数ラインのタイム伸縮|倍率 (-10.0 .. +10.0)"));
    r.prompts.answer = "-1";
    r.actions.StretchMlt();
    QCOMPARE(r.Times(), (std::vector<int32_t>{-3000, 1000}));
    r.prompts.answer = "2";
    r.actions.StretchBrt();
    QCOMPARE(QString::fromStdString(r.prompts.asked.back()),
             QStringLiteral("複数ラインの明暗伸縮|倍率 (-4.0 .. +4.0)"));
    QCOMPARE(repaint.count(), 3);
}

void EditActionsTest::popupMenusFollowTheLayoutAndVisibility() {
    ActionsRig r;
    std::map<std::string, std::unique_ptr<QAction>, std::less<>> owned;
    for (const ActionInfo& info : kActionTable) {
        owned.emplace(std::string(info.Name),
                      std::make_unique<QAction>(
                          QString::fromUtf8(info.Caption.data(), qsizetype(info.Caption.size()))));
    }
    auto lookup = [&](ActionId id) -> QAction* {
        auto it = owned.find(ActionName(id));
        return it == owned.end() ? nullptr : it->second.get();
    };
    r.actions.UpdateActions(lookup);
    QVERIFY(!lookup(ActionId::CutStepAction)->isEnabled());
    QVERIFY(lookup(ActionId::SelectAllAction)->isEnabled());
    QVERIFY(!lookup(ActionId::CutMltAction)->isVisible());
    QVERIFY(lookup(ActionId::ZoomInAction)->isEnabled());  // not this table's rule: left alone

    std::unique_ptr<QMenu> menu(BuildPopupMenu(StepPopupMenu(), lookup, nullptr));
    QCOMPARE(menu->actions().size(), 16);
    QCOMPARE(menu->actions().first(), lookup(ActionId::CutStepAction));
    QVERIFY(menu->actions().at(3)->isSeparator());
    QCOMPARE(menu->actions().last(), lookup(ActionId::CpyFrmTrkAction));
    std::unique_ptr<QMenu> empty(BuildPopupMenu(EmptySpacePopupMenu(), lookup, nullptr));
    QCOMPARE(empty->actions().size(), 9);
}

QTEST_MAIN(EditActionsTest)
#include "EditActionsTest.moc"
