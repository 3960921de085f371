// Stored shortcuts (virtual-key codes) as Qt key sequences.
#include <QTest>
#include <set>

#include "editor/KeyMap.h"

using namespace lumavox;

class KeyMapTest : public QObject {
    Q_OBJECT
private slots:
    void everyOfferedKeyNameHasOneQtKey() {
        std::set<int> keys;
        for (std::string_view name : kShortCutKeyNames) {
            const ShortCut shortCut = TextToShortCut(name);
            QVERIFY2(shortCut != 0, name.data());
            const int key = VirtualKeyToQtKey(shortCut & kKeyMask);
            QVERIFY2(key != 0, name.data());
            keys.insert(key);
        }
        // No two names land on the same key.
        QCOMPARE(keys.size(), kShortCutKeyNames.size());
    }

    void builtInShortCutsAndModifiers() {
        for (const ActionShortCut& action : kMainActions) {
            if (action.BuiltIn != 0) {
                QVERIFY2(!ShortCutToKeySequences(action.BuiltIn).isEmpty(), action.Name.data());
            }
        }
        QCOMPARE(ShortCutToKeySequences(TextToShortCut("Ctrl+Left")).value(0),
                 QKeySequence(Qt::CTRL | Qt::Key_Left));
        QCOMPARE(ShortCutToKeySequences(TextToShortCut("Shift+Ctrl+Alt+F5")).value(0),
                 QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::ALT | Qt::Key_F5));
        QCOMPARE(ShortCutToKeySequences(TextToShortCut("Num *")).value(0),
                 QKeySequence(QKeyCombination(Qt::KeypadModifier, Qt::Key_Asterisk)));
        // Enter is the main Return key and the keypad's Enter.
        const QList<QKeySequence> enter = ShortCutToKeySequences(TextToShortCut("Ctrl+Enter"));
        QCOMPARE(enter.size(), 2);
        QCOMPARE(enter[0], QKeySequence(Qt::CTRL | Qt::Key_Return));
        QCOMPARE(enter[1], QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier,
                                                        Qt::Key_Enter)));
        QVERIFY(ShortCutToKeySequences(0).isEmpty());
    }
};

QTEST_MAIN(KeyMapTest)
#include "KeyMapTest.moc"
