// The editor's languages: English texts for every menu of the real main window, with access keys
// that stay unique inside each menu; Japanese left exactly as written; Qt's own texts following.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/Language.h"
#include "app/MainWindow.h"
#include "editor/logic/ActionTable.h"
#include "editor/logic/UiText.h"
#include "fakes/ScriptedSoundDevice.h"
#include "model/Msgstr.h"

using namespace lumavox;

namespace {

// The access key of a menu caption, lower case; null when it has none ("&&" is a plain "&").
QChar AccessKey(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) continue;
        if (caption[i + 1] != QLatin1Char('&')) return caption[i + 1].toLower();
        ++i;
    }
    return {};
}

bool HasJapanese(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x3000) return true;
    }
    return false;
}

// Fails naming the menu and both captions when two entries share an access key.
void CheckAccessKeys(const QString& menu, const QStringList& captions) {
    QHash<QChar, QString> seen;
    for (const QString& caption : captions) {
        const QChar key = AccessKey(caption);
        if (key.isNull()) continue;
        QVERIFY2(!seen.contains(key), qPrintable(menu + QStringLiteral(": ") + seen.value(key) +
                                                 QStringLiteral(" / ") + caption));
        seen.insert(key, caption);
    }
}

QStringList Captions(std::span<const MenuEntry> entries) {
    QStringList captions;
    for (const MenuEntry& entry : entries) {
        if (entry.Kind == MenuEntryKind::Action) {
            captions << QString::fromUtf8(Translated(FindAction(entry.Name)->Caption));
        } else if (entry.Kind != MenuEntryKind::Separator) {
            captions << QString::fromUtf8(CommandCaption(entry.Name));
        }
    }
    return captions;
}

}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT

private slots:
    void japaneseLeavesEveryTextAsWritten() {
        const Language language(*QApplication::instance(), UiLanguage::Japanese);
        QCOMPARE(QString::fromUtf8(UiTextOf(UiText::FileMenu)), QStringLiteral("ファイル(&F)"));
        QCOMPARE(QString::fromUtf8(MsgText(Msg::AskSave)),
                 QStringLiteral("変更内容を保存しますか"));
        QCOMPARE(QString::fromUtf8(Translated(kActionTable[0].Caption)),
                 QStringLiteral("プロジェクトの新規作成(&N)"));
        // Qt's standard buttons speak Japanese too.
        QVERIFY(QCoreApplication::translate("QPlatformTheme", "Cancel") !=
                QStringLiteral("Cancel"));
    }

    void englishGivesEveryTableTextAnEnglishText() {
        const Language language(*QApplication::instance(), UiLanguage::English);
        QVERIFY(language.Loaded());
        QCOMPARE(QString::fromUtf8(UiTextOf(UiText::FileMenu)), QStringLiteral("&File"));
        QCOMPARE(QString::fromUtf8(AskSaveText("")),
                 QStringLiteral("[Untitled] Save the changes?"));
        for (const ActionInfo& info : kActionTable) {
            QVERIFY2(!HasJapanese(QString::fromUtf8(Translated(info.Caption))), info.Name.data());
        }
        int count = 0;
        for (const MsgEntry* entry = MsgTable(&count); count > 0; ++entry, --count) {
            QVERIFY2(!HasJapanese(QString::fromUtf8(MsgText(entry->Id))), entry->Symbol.data());
        }
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    }

    void englishMenusOfTheMainWindowHaveUniqueAccessKeys() {
        const Language language(*QApplication::instance(), UiLanguage::English);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        TLumavoxForm::Setup setup;
        setup.iniPath = dir.filePath(QStringLiteral("lumavox.INI")).toStdString();
        setup.exeDir = dir.path().toStdString() + "/";
        setup.outputs = false;
        setup.device = std::make_unique<ScriptedSoundDevice>();
        TLumavoxForm form(std::move(setup));

        QStringList bar;
        std::vector<QMenu*> menus;
        for (QAction* top : form.menuBar()->actions()) {
            bar << top->text();
            if (top->menu() != nullptr) menus.push_back(top->menu());
        }
        CheckAccessKeys(QStringLiteral("menu bar"), bar);
        for (size_t i = 0; i < menus.size(); ++i) {
            QStringList captions;
            for (QAction* item : menus[i]->actions()) {
                if (item->isSeparator()) continue;
                // The text after a tab is the shortcut.
                const QString caption = item->text().section(QLatin1Char('\t'), 0, 0);
                QVERIFY2(!HasJapanese(caption), qPrintable(caption));
                captions << caption;
                if (item->menu() != nullptr) menus.push_back(item->menu());
            }
            CheckAccessKeys(menus[i]->title(), captions);
        }
        QVERIFY(menus.size() >= 8);  // six menus, the recent projects and the tool bars

        CheckAccessKeys(QStringLiteral("step pop-up"), Captions(StepPopupMenu()));
        CheckAccessKeys(QStringLiteral("empty space pop-up"), Captions(EmptySpacePopupMenu()));
        CheckAccessKeys(QStringLiteral("reference pop-up"), Captions(ReferencePopupMenu()));
        form.CloseWithoutAsking();
    }
};

QTEST_MAIN(LanguageTest)
#include "LanguageTest.moc"
