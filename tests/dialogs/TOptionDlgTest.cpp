#include "dialogs/TOptionDlg.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>
#include <atomic>
#include <thread>

#include "dialogs/TArtNetPropDlg.h"
#include "dmx/OutputPair.h"
#include "editor/KeyMap.h"
#include "editor/QtText.h"
#include "editor/logic/ActionTable.h"
#include "editor/logic/DialogTexts.h"
#include "fakes/ArtPollReplyMaker.h"
#include "fakes/FakeNetworkConfig.h"
#include "fakes/FakeUdpSocket.h"
#include "fakes/FakeUsbTransport.h"
#include "fakes/TempDir.h"
#include "settings/EnvData.h"

using namespace lumavox;

namespace {

// Shortcuts land on real actions of a window, as the main window applies them.
class Host final : public IOptionHost {
public:
    explicit Host(QWidget& window) {
        for (size_t i = 0; i < kMainActionCount; ++i) {
            actions[i] = new QAction(&window);
            window.addAction(actions[i]);
            shortCuts[i] = kMainActions[i].BuiltIn;
            actions[i]->setShortcuts(ShortCutToKeySequences(shortCuts[i]));
        }
    }
    ShortCut ActionShortCut(size_t index) const override { return shortCuts[index]; }
    void SetActionShortCut(size_t index, ShortCut shortCut) override {
        shortCuts[index] = shortCut;
        actions[index]->setShortcuts(ShortCutToKeySequences(shortCut));
    }
    int DisplayPeriod() const override { return period; }
    void SetDisplayPeriod(int periodMs) override { period = periodMs; }

    std::array<QAction*, kMainActionCount> actions{};
    MainShortCuts shortCuts{};
    int period = 100;
};

// Counts ticks and catches two threads ticking at the same time.
class OverlapSource final : public IFrameSource {
public:
    void Tick(DmxFrame&) override {
        if (m_inside.fetch_add(1) != 0) m_overlap.store(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        m_inside.fetch_sub(1);
        m_ticks.fetch_add(1);
    }
    bool Overlapped() const { return m_overlap.load(); }
    int Ticks() const { return m_ticks.load(); }

private:
    std::atomic<int> m_inside{0};
    std::atomic<int> m_ticks{0};
    std::atomic<bool> m_overlap{false};
};

int Row(std::string_view actionName) {
    return ActionIndex(actionName);
}

}  // namespace

class TOptionDlgTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        temp = std::make_unique<lumavox::testing::TempDir>();
        env = std::make_unique<EnvData>(temp->File("lumavox.ini"), temp->Folder());
        window = std::make_unique<QWidget>();
        host = std::make_unique<Host>(*window);
    }
    void cleanup() {
        dialog.reset();
        pair.reset();
        rig.reset();
        host.reset();
        window.reset();
        env.reset();
        temp.reset();
    }

    void cancelKeepsEveryPageAndOkTakesIt() {
        env->SaveInterval = 7;  // not in the list: nothing selected, OK keeps it
        env->UseWheel = true;
        env->ImgFile = "PALETTE.BMP";
        MakeDialog(nullptr);
        dialog->show();
        QCOMPARE(dialog->ColorComboBox()->currentIndex(), -1);
        QVERIFY(!dialog->ChooseColourButton()->isEnabled());
        QCOMPARE(dialog->SaveIntervalComboBox()->currentIndex(), -1);
        QCOMPARE(dialog->DisplayPeriodComboBox()->currentText(), QStringLiteral("100"));

        const int32_t oldColour = env->Colour(3);
        auto edit = [&] {
            dialog->ColorComboBox()->setCurrentIndex(3);
            QVERIFY(dialog->ChooseColourButton()->isEnabled());
            dialog->SetWorkingColour(3, 0x123456);
            dialog->SwitchBox(0)->setChecked(true);   // FlatToolBar
            dialog->SwitchBox(3)->setChecked(false);  // UseWheel
            dialog->AutoSaveBox()->setChecked(true);
            dialog->PaletteEdit()->clear();
            QTest::keyClicks(dialog->PaletteEdit(), "x");
            QTest::keyClick(dialog->PaletteEdit(), Qt::Key_Backspace);
        };
        edit();
        dialog->reject();
        QCOMPARE(env->Colour(3), oldColour);
        QVERIFY(!env->FlatToolBar);
        QVERIFY(env->UseWheel);
        QVERIFY(!env->AutoSave);
        QCOMPARE(env->ImgFile, std::string("PALETTE.BMP"));

        dialog->show();
        QCOMPARE(dialog->ColorComboBox()->currentIndex(), -1);  // working copy reloaded
        edit();
        dialog->accept();
        QCOMPARE(env->Colour(3), 0x123456);
        QVERIFY(env->FlatToolBar);
        QVERIFY(!env->UseWheel);
        QVERIFY(env->AutoSave);
        QCOMPARE(env->SaveInterval, 7);
        // A field emptied by hand clears the palette image instead of reloading an old choice.
        QCOMPARE(env->ImgFile, std::string());

        dialog->show();
        dialog->SaveIntervalComboBox()->setCurrentIndex(2);
        QTest::keyClicks(dialog->PaletteEdit(), "MY.BMP");
        dialog->accept();
        QCOMPARE(env->SaveInterval, 15);
        QCOMPARE(env->ImgFile, std::string("MY.BMP"));  // typed names are taken as typed
    }

    // The language stays unset until the user picks one; a pick survives reopening, Cancel
    // drops it, and going back to automatic is written as such.
    void languageIsStoredOnlyOnceChosen() {
        MakeDialog(nullptr);
        dialog->show();
        QComboBox* language = dialog->LanguageComboBox();
        QCOMPARE(language->count(), 3);
        QCOMPARE(language->currentIndex(), 0);
        dialog->accept();
        QCOMPARE(env->Language, std::string());

        dialog->show();
        language->setCurrentIndex(2);
        QCOMPARE(language->currentText(), QStringLiteral("English"));
        dialog->reject();
        QCOMPARE(env->Language, std::string());

        dialog->show();
        QCOMPARE(language->currentIndex(), 0);
        language->setCurrentIndex(2);
        dialog->accept();
        QCOMPARE(env->Language, std::string("en"));

        dialog->show();
        QCOMPARE(language->currentIndex(), 2);
        language->setCurrentIndex(0);
        dialog->accept();
        QCOMPARE(env->Language, std::string("auto"));
    }

    void keepsItsLastPage() {
        MakeDialog(nullptr);
        dialog->show();
        dialog->Pages()->setCurrentIndex(4);
        dialog->reject();
        dialog->show();
        QCOMPARE(dialog->Pages()->currentIndex(), 4);
        QCOMPARE(dialog->Pages()->count(), 7);
        QCOMPARE(dialog->Pages()->tabText(6), QStringLiteral("高度な設定"));
    }

    void shortCutChangeActsAtOnceAndSurvivesCancel() {
        MakeDialog(nullptr);
        dialog->show();
        QListWidget* list = dialog->ShortCutList();
        QCOMPARE(list->count(), static_cast<int>(kMainActionCount));
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(dialog->KeyComboBox()->count(), 53);
        QCOMPARE(dialog->KeyComboBox()->currentIndex(), -1);
        QCOMPARE(list->item(Row("PrvTimAction"))->text().section(QLatin1Char('\t'), 1),
                 QStringLiteral("Left"));

        const int row = Row("ZoomInAction");
        list->setCurrentRow(row);
        QVERIFY(!dialog->CtrlCheckBox()->isChecked());  // choosing a row loads nothing
        dialog->CtrlCheckBox()->setChecked(true);
        dialog->ShiftCheckBox()->setChecked(true);
        dialog->KeyComboBox()->setCurrentIndex(dialog->KeyComboBox()->findText("F5"));
        QTest::mouseClick(dialog->ChangeButton(), Qt::LeftButton);
        const QString caption = list->item(row)->text().section(QLatin1Char('\t'), 0, 0);
        QCOMPARE(list->item(row)->text(), caption + QStringLiteral("\tShift+Ctrl+F5"));
        QCOMPARE(host->shortCuts[static_cast<size_t>(row)], ShortCut{0x6074});
        dialog->reject();

        // The action answers the new key straight away, also after Cancel.
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QSignalSpy fired(host->actions[static_cast<size_t>(row)], &QAction::triggered);
        QTest::keyClick(window.get(), Qt::Key_F5, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(fired.count(), 1);

        // Modifiers alone: the row shows them, the action has no shortcut.
        dialog->show();
        QCOMPARE(dialog->CtrlCheckBox()->isChecked(), true);  // kept between showings
        list->setCurrentRow(row);
        QTest::mouseClick(dialog->ChangeButton(), Qt::LeftButton);
        QVERIFY(list->item(row)->text().endsWith(QStringLiteral("\tShift+Ctrl+")));
        QCOMPARE(host->shortCuts[static_cast<size_t>(row)], ShortCut{0});

        list->setCurrentRow(Row("PrvTimAction"));
        QTest::mouseClick(dialog->ClearButton(), Qt::LeftButton);
        QVERIFY(list->currentItem()->text().endsWith(QLatin1Char('\t')));
        QCOMPARE(host->shortCuts[static_cast<size_t>(Row("PrvTimAction"))], ShortCut{0});
    }

    void periodsAndPortActAtOnce() {
        OutputRig& r = Rig();
        env->TxUniverse = 0x23;
        pair = r.Pair(0x23);
        pair->Start(OutputType::ArtNet);
        MakeDialog(pair.get());
        dialog->show();
        QCOMPARE(dialog->SubNetComboBox()->currentText(), QStringLiteral("2"));
        QCOMPARE(dialog->IdComboBox()->currentText(), QStringLiteral("3"));
        QCOMPARE(dialog->DmxPeriodComboBox()->currentText(), QStringLiteral("20"));
        QVERIFY(dialog->IpLabel()->text().startsWith(QStringLiteral("IP: ")));

        dialog->IdComboBox()->setCurrentIndex(10);
        QCOMPARE(pair->Artnet().TxUniverse(), 0x2A);
        QCOMPARE(env->TxUniverse, 0x2A);
        dialog->DisplayPeriodComboBox()->setCurrentIndex(3);
        QCOMPARE(host->period, 200);
        // A new USB period while Art-Net runs leaves the parked USB thread parked.
        dialog->DmxPeriodComboBox()->setCurrentIndex(4);
        QCOMPARE(pair->Usb().Period(), 50u);
        QVERIFY(!pair->Usb().Running());
        QVERIFY(pair->Artnet().Running());
        // Output timing reaches the running thread and the settings at once, each output its own.
        dialog->EventTimedBox()->click();
        dialog->LightOffsetSpinBox(1)->setValue(-120);
        dialog->LightOffsetSpinBox(0)->setValue(40);
        QVERIFY(pair->Artnet().EventTimed());
        QCOMPARE(pair->Artnet().LightOffset(), -120);
        QCOMPARE(pair->Usb().LightOffset(), 40);
        QVERIFY(env->EventTimed);
        QCOMPARE(env->ArtnetLightOffsetMs, -120);
        QCOMPARE(env->SacnLightOffsetMs, 0);
        dialog->reject();
        QCOMPARE(pair->Artnet().TxUniverse(), 0x2A);
    }

    void theDialogKeepsItsSizeWhicheverInterfaceIsChosen() {
        env->DmxType = 0;
        MakeDialog(nullptr);
        dialog->Pages()->setCurrentIndex(5);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        const QSize usb = dialog->size();
        dialog->ArtNetRadio()->click();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->Switching(), 3000);
        QVERIFY(dialog->ArtNetGroup()->isVisible());
        QCOMPARE(dialog->size(), usb);
        dialog->reject();
        dialog->show();  // opened with Art-Net chosen
        QCOMPARE(dialog->size(), usb);
        dialog->UsbRadio()->click();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->Switching(), 3000);
        QCOMPARE(dialog->size(), usb);
        dialog->reject();
    }

    void switchingParksOneThreadBeforeTheOtherRuns() {
        OutputRig& r = Rig();
        pair = r.Pair(0);
        env->DmxType = 0;
        pair->Start(OutputType::Usb);
        MakeDialog(pair.get());
        dialog->Pages()->setCurrentIndex(5);
        dialog->show();
        QVERIFY(!dialog->ArtNetGroup()->isVisible());  // showing switches nothing
        QVERIFY(pair->Usb().Running());

        dialog->ArtNetRadio()->click();
        QCOMPARE(env->DmxType, 1);
        QVERIFY(dialog->Switching());
        QVERIFY(!pair->Usb().Running());
        QVERIFY(!pair->Artnet().Running());
        QVERIFY(dialog->ArtNetGroup()->isVisible());
        QVERIFY(!dialog->ArtNetGroup()->isEnabled());
        QVERIFY(!dialog->UsbRadio()->isEnabled());  // no second switch during the wait
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->Switching(), 3000);
        QVERIFY(pair->Artnet().Running());
        QVERIFY(!pair->Usb().Running());
        QVERIFY(dialog->ArtNetGroup()->isEnabled());
        dialog->reject();  // Cancel does not switch back
        QCOMPARE(env->DmxType, 1);

        dialog->show();
        QVERIFY(dialog->ArtNetRadio()->isChecked());
        dialog->UsbRadio()->click();
        QVERIFY(!dialog->ArtNetGroup()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->Switching(), 3000);
        QVERIFY(pair->Usb().Running());
        QVERIFY(!pair->Artnet().Running());
        QCOMPARE(env->DmxType, 0);
        const int ticks = r.source.Ticks();
        QTRY_VERIFY_WITH_TIMEOUT(r.source.Ticks() > ticks, 3000);
        pair->Terminate();
        QVERIFY(!r.source.Overlapped());
    }

    void nodeListFollowsTheTableAndDetailsNeedARow() {
        OutputRig& r = Rig();
        pair = r.Pair(0);
        MakeDialog(pair.get());
        dialog->show();
        NodeEntry node{};
        node.address = {192, 168, 0, 10};
        node.matchMark = 1;
        std::snprintf(node.shortName.data(), node.shortName.size(), "Stage-Left");
        pair->Artnet().Nodes().Add(node);
        pair->Artnet().Nodes().SetNodesChanged();
        QTRY_COMPARE_WITH_TIMEOUT(dialog->NodeListBox()->count(), 1, 2000);
        QCOMPARE(dialog->NodeListBox()->item(0)->text(),
                 QStringLiteral("*192.168.  0. 10 : Stage-Left"));
        QVERIFY(!dialog->DetailsButton()->isEnabled());
        dialog->NodeListBox()->setCurrentRow(0);
        QTRY_VERIFY_WITH_TIMEOUT(dialog->DetailsButton()->isEnabled(), 2000);

        // Scan empties list and table; a stale row opens nothing.
        QTest::mouseClick(dialog->ScanButton(), Qt::LeftButton);
        QCOMPARE(dialog->NodeListBox()->count(), 0);
        QCOMPARE(pair->Artnet().Nodes().Count(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->DetailsButton()->isEnabled(), 2000);
    }

    // The delivery boxes act at once; the node details then tell whether the node gets unicast.
    void unicastActsAtOnceAndTheDetailsTellWhoReceivesIt() {
        OutputRig& r = Rig();
        pair = r.Pair(0x3A);
        pair->Start(OutputType::ArtNet);
        MakeDialog(pair.get());
        TArtNetPropDlg details;
        dialog->SetNodeDialog(&details);
        dialog->show();
        QVERIFY(!dialog->UnicastBox()->isChecked() && !dialog->ArtSyncBox()->isChecked());
        dialog->UnicastBox()->click();
        dialog->ArtSyncBox()->click();
        QVERIFY(pair->Artnet().Unicast() && pair->Artnet().ArtSync());
        QVERIFY(env->ArtnetUnicast && env->ArtSync);

        ReplyMaker reply({2, 0, 0, 2}, "Node-3A");
        reply.SetByte(19, 0x03);
        reply.SetPort(0, 0x80, 0, 0x0A);
        r.socket.Inject(reply.Bytes());
        QTRY_COMPARE_WITH_TIMEOUT(dialog->NodeListBox()->count(), 1, 2000);
        dialog->NodeListBox()->setCurrentRow(0);
        QTRY_VERIFY_WITH_TIMEOUT(dialog->DetailsButton()->isEnabled(), 2000);
        QTRY_VERIFY_WITH_TIMEOUT(pair->Artnet().ReceivesUnicast({2, 0, 0, 2}), 2000);
        const auto openDetails = [&] {
            QString shown;
            QTimer::singleShot(0, &details, [&] {
                shown =
                    details.UnicastLabel()->isHidden() ? QString() : details.UnicastLabel()->text();
                details.accept();
            });
            QTest::mouseClick(dialog->DetailsButton(), Qt::LeftButton);
            return shown;
        };
        QCOMPARE(openDetails(), Tr(dlgtext::kNodeGetsUnicast));
        dialog->IdComboBox()->setCurrentIndex(11);  // the node does not take 3:B
        QCOMPARE(openDetails(), Tr(dlgtext::kNodeNoUnicast));
        dialog->reject();
        QVERIFY(pair->Artnet().Unicast());  // applied at once, like the universe
    }

private:
    struct OutputRig {
        OverlapSource source;
        FakeUdpSocket socket;
        FakeInterfaceList interfaces{std::vector<Ipv4Interface>{{kLoopbackAddress, 1}}};
        FakeAddressConfig addresses;
        FakeUsbTransport usb;
        SteadyClock clock;
        std::unique_ptr<OutputPair> Pair(int32_t universe) {
            return std::make_unique<OutputPair>(source, clock, OutputPairConfig{universe, 20, 0, 0},
                                                ArtnetNetwork{socket, interfaces, addresses}, usb);
        }
    };

    // Outlives the pair (destroyed after it in cleanup).
    OutputRig& Rig() {
        rig = std::make_unique<OutputRig>();
        return *rig;
    }

    void MakeDialog(OutputPair* outputs) {
        dialog = std::make_unique<TOptionDlg>(*env, *host, outputs);
    }

    std::unique_ptr<lumavox::testing::TempDir> temp;
    std::unique_ptr<EnvData> env;
    std::unique_ptr<QWidget> window;
    std::unique_ptr<Host> host;
    std::unique_ptr<OutputRig> rig;
    std::unique_ptr<OutputPair> pair;
    std::unique_ptr<TOptionDlg> dialog;
};

QTEST_MAIN(TOptionDlgTest)
#include "TOptionDlgTest.moc"
