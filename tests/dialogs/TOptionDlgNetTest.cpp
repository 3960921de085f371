// The options dialog's node list fed by a real Art-Net thread: an ArtPollReply sent to it on the
// loopback interface of a network namespace this test creates (never the machine's own network).
#include <QListWidget>
#include <QtTest>
#include <memory>

#include "dialogs/TOptionDlg.h"
#include "dmx/OutputPair.h"
#include "dmx/artnet/ArtnetPackets.h"
#include "dmx/net/NetSandbox.h"
#include "dmx/net/PeerSocket.h"
#include "fakes/ArtPollReplyMaker.h"
#include "fakes/FakeFrameSource.h"
#include "fakes/TempDir.h"
#include "settings/EnvData.h"

using namespace lumavox;

namespace {

class NoHost final : public IOptionHost {
public:
    ShortCut ActionShortCut(size_t) const override { return 0; }
    void SetActionShortCut(size_t, ShortCut) override {}
    int DisplayPeriod() const override { return 50; }
    void SetDisplayPeriod(int) override {}
};

}  // namespace

class TOptionDlgNetTest : public QObject {
    Q_OBJECT
private slots:
    void nodeListShowsAReplyWithinTheTimer() {
        const std::string error = EnterFreshNetNamespace();
        if (!error.empty()) {
            if (UnderCi()) QFAIL(error.c_str());
            QSKIP(error.c_str());
        }
        lumavox::testing::TempDir temp;
        EnvData env(temp.File("lumavox.ini"), temp.Folder());
        env.DmxType = 1;
        FakeFrameSource source;
        SteadyClock clock;
        NoHost host;
        // Sockets and threads made from here on live in the namespace.
        auto pair = std::make_unique<OutputPair>(source, clock, OutputPairConfig{0x05, 20, 0, 0});
        pair->Start(OutputType::ArtNet);
        QVERIFY(pair->Artnet().NetReady());
        TOptionDlg dialog(env, host, pair.get());
        dialog.show();
        QTRY_COMPARE_WITH_TIMEOUT(dialog.NodeListBox()->count(), 0, 1000);

        ReplyMaker reply({127, 0, 0, 7}, "Rack-A");
        reply.SetPort(0, 0x80, 0x00, 0x05);  // a DMX output on our universe: marked
        PeerSocket peer(0);
        QVERIFY(peer.Bound());
        QVERIFY(peer.SendTo(0x7F000001, kArtnetPort, reply.Bytes()));
        QTRY_COMPARE_WITH_TIMEOUT(dialog.NodeListBox()->count(), 1, 3000);
        QCOMPARE(dialog.NodeListBox()->item(0)->text(),
                 QStringLiteral("*127.  0.  0.  7 : Rack-A"));
        pair->Terminate();
    }
};

QTEST_MAIN(TOptionDlgNetTest)
#include "TOptionDlgNetTest.moc"
