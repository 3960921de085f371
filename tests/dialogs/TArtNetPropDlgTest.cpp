#include "dialogs/TArtNetPropDlg.h"

#include <QLabel>
#include <QTableWidget>
#include <QtTest>
#include <cstdio>

using namespace lumavox;

class TArtNetPropDlgTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheNodeAndOnlyTheDirectionsEachPortHas() {
        NodeEntry node{};
        node.address = {192, 168, 0, 10};
        node.matchMark = 1;
        std::snprintf(node.shortName.data(), node.shortName.size(), "Stage-Left");
        std::snprintf(node.longName.data(), node.longName.size(), "Stage left dimmer rack");
        node.portTypes = {0x40, 0x80, 0xC0, 0x00};
        node.swIn = {0x23, 0x23, 0x23, 0x23};
        node.swOut = {0x1F, 0x1F, 0x45, 0x1F};

        TArtNetPropDlg dialog;
        QTableWidget* info = dialog.InfoGrid();
        QTableWidget* ports = dialog.PortGrid();
        QVERIFY(!info->item(0, 1));  // no entry: both grids empty
        dialog.SetEntry(node);

        QCOMPARE(info->item(0, 0)->text(), QStringLiteral("IP Address"));
        QCOMPARE(info->item(0, 1)->text(), QStringLiteral("192.168.  0. 10"));  // no mark
        QCOMPARE(info->item(2, 1)->text(), QStringLiteral("Stage left dimmer rack"));
        QCOMPARE(info->item(3, 1)->text(), QString());
        QCOMPARE(info->columnWidth(0), 90);
        QCOMPARE(info->columnWidth(1), 600);
        // Empty values on the workspace colour, filled ones on the window colour.
        QVERIFY(info->item(3, 1)->background() != info->item(2, 1)->background());

        const QStringList in = {"2 : 3", "", "2 : 3", ""};
        const QStringList out = {"", "1 : F", "4 : 5", ""};
        for (int port = 0; port < 4; ++port) {
            QCOMPARE(ports->item(0, port + 1)->text(), QString::number(port + 1));
            QCOMPARE(ports->item(1, port + 1)->text(), in[port]);
            QCOMPARE(ports->item(2, port + 1)->text(), out[port]);
        }
        QCOMPARE(ports->item(1, 0)->text(), QStringLiteral("In"));
        QCOMPARE(ports->item(2, 0)->text(), QStringLiteral("Out"));

        // The unicast line shows only when told, and a new entry hides it until told again.
        QVERIFY(dialog.UnicastLabel()->isHidden());
        dialog.SetUnicast(false);
        QVERIFY(!dialog.UnicastLabel()->isHidden());
        dialog.SetUnicast(std::nullopt);
        QVERIFY(dialog.UnicastLabel()->isHidden());
        dialog.SetUnicast(true);
        dialog.SetEntry(std::nullopt);
        QVERIFY(dialog.UnicastLabel()->isHidden());
        QVERIFY(!info->item(0, 1));
        QVERIFY(!ports->item(1, 1));
        QVERIFY(dialog.minimumSize() == QSize(400, 260));
    }
};

QTEST_MAIN(TArtNetPropDlgTest)
#include "TArtNetPropDlgTest.moc"
