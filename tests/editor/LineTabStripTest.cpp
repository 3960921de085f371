#include "editor/LineTabStrip.h"

#include <QSignalSpy>
#include <QtTest>

using namespace lumavox;

class LineTabStripTest : public QObject {
    Q_OBJECT

private slots:
    // Heights of the line pane with and without the reference line, down to a small window.
    void everyTabIsInsideTheStripAndAnswersItsClick() {
        for (const int height : {120, 200, 336, 352, 436, 600}) {
            LineTabStrip strip;
            strip.resize(50, height);
            QSignalSpy changed(&strip, &LineTabStrip::currentChanged);
            for (int line = 7; line >= 0; --line) {
                const QRect r = strip.TabRect(line);
                QVERIFY2(strip.rect().contains(r),
                         qPrintable(QStringLiteral("height %1 line %2").arg(height).arg(line + 1)));
                QTest::mouseClick(&strip, Qt::LeftButton, {}, r.center());
                QCOMPARE(strip.Current(), line);
            }
            QCOMPARE(changed.count(), 8);
            QCOMPARE(changed.last().at(0).toInt(), 0);
        }
    }
};

QTEST_MAIN(LineTabStripTest)
#include "LineTabStripTest.moc"
