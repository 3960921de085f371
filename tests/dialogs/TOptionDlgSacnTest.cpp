// The sACN choice of the options dialog's DMX page, against an output pair on fakes.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

#include "dialogs/TOptionDlg.h"
#include "dmx/OutputPair.h"
#include "fakes/FakeFrameSource.h"
#include "fakes/FakeNetworkConfig.h"
#include "fakes/FakeUdpSocket.h"
#include "fakes/FakeUsbTransport.h"
#include "fakes/TempDir.h"
#include "settings/EnvData.h"

using namespace lumavox;

namespace {

class Host final : public IOptionHost {
public:
    ShortCut ActionShortCut(size_t) const override { return 0; }
    void SetActionShortCut(size_t, ShortCut) override {}
    int DisplayPeriod() const override { return 50; }
    void SetDisplayPeriod(int) override {}
};

}  // namespace

class TOptionDlgSacnTest : public QObject {
    Q_OBJECT
private slots:
    // Choosing sACN parks Art-Net and runs sACN without touching DmxType; the fields reach the
    // settings and the running stream at once, and a bad address list is reported, not sent to.
    void sacnIsAThirdChoiceWhoseFieldsActAtOnce() {
        lumavox::testing::TempDir temp;
        EnvData env(temp.File("lumavox.ini"), temp.Folder());
        env.DmxType = 1;
        FakeFrameSource source;
        FakeUdpSocket artnetSocket, sacnSocket;
        FakeInterfaceList interfaces{std::vector<Ipv4Interface>{{0x0A000001, 4}}};
        FakeAddressConfig addresses;
        FakeUsbTransport usb;
        SteadyClock clock;
        OutputPairConfig config;
        config.Sacn.stream.unicast = {0x0A000002};
        OutputPair pair(source, clock, config, {artnetSocket, interfaces, addresses}, usb,
                        &sacnSocket);
        pair.Start(OutputType::ArtNet);
        Host host;
        TOptionDlg dialog(env, host, &pair);
        dialog.Pages()->setCurrentIndex(5);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(!dialog.SacnGroup()->isVisible());

        dialog.SacnRadio()->click();
        QVERIFY(env.Sacn.Selected);
        QCOMPARE(env.DmxType, 1);  // kept for programs that know only DmxType
        QVERIFY(!pair.Artnet().Running());
        QVERIFY(dialog.SacnGroup()->isVisible());
        QVERIFY(!dialog.ArtNetGroup()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.Switching(), 3000);
        QVERIFY(pair.Sacn().Running());
        QCOMPARE(pair.Active(), OutputType::Sacn);

        dialog.SacnUniverseSpinBox()->setValue(7);
        QCOMPARE(env.Sacn.Universe, 7);
        QCOMPARE(pair.Sacn().Config().stream.universe, uint16_t{7});
        QVERIFY(pair.Sacn().Running());

        dialog.SacnUnicastEdit()->setText(QStringLiteral("10.0.0.300"));
        emit dialog.SacnUnicastEdit()->editingFinished();
        QCOMPARE(env.Sacn.Unicast, std::string("10.0.0.300"));
        QVERIFY(!pair.Sacn().NetReady());
        QVERIFY(dialog.SacnTargetLabel()->text().contains(QStringLiteral("SacnUnicast")));
        dialog.SacnUnicastEdit()->setText(QStringLiteral("10.0.0.5"));
        emit dialog.SacnUnicastEdit()->editingFinished();
        QVERIFY(pair.Sacn().NetReady());
        QVERIFY(dialog.SacnTargetLabel()->text().endsWith(QStringLiteral("10.0.0.5")));
        dialog.reject();

        dialog.show();  // opened again with sACN chosen: nothing switches
        QVERIFY(dialog.SacnRadio()->isChecked());
        QCOMPARE(dialog.SacnUniverseSpinBox()->value(), 7);
        dialog.UsbRadio()->click();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.Switching(), 3000);
        QVERIFY(!env.Sacn.Selected);
        QCOMPARE(env.DmxType, 0);
        QVERIFY(pair.Usb().Running());
        QVERIFY(!pair.Sacn().Running());
        dialog.reject();
        pair.Terminate();
    }
};

QTEST_MAIN(TOptionDlgSacnTest)
#include "TOptionDlgSacnTest.moc"
