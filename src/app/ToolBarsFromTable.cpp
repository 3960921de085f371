// The main window's actions, menus and tool bars, all built from the action table, and the tool
// bars' stored places.
#include "app/MainWindow.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <algorithm>

#include "dialogs/TColMonForm.h"
#include "editor/CurrentPalettePanel.h"
#include "editor/EditActions.h"
#include "editor/KeyMap.h"
#include "editor/QtText.h"
#include "editor/TimePanes.h"
#include "editor/logic/ActionTable.h"
#include "editor/logic/UiText.h"
#include "settings/Placement.h"
#include "settings/ShortCut.h"

namespace lumavox {

namespace {

// A 20 × 20 tool bar image: a standard icon when the style has one, else a short glyph.
QIcon GlyphIcon(const QString& glyph, const QColor& colour) {
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(glyph.size() > 1 ? 10 : 15);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QRect(0, 0, 20, 20), Qt::AlignCenter, glyph);
    return QIcon(pixmap);
}

}  // namespace

void TLumavoxForm::CreateActions() {
    QStyle* st = style();
    const QColor ink(0, 0, 128);
    // Images where the icon theme has none.
    const std::pair<ActionId, QIcon> fallbacks[] = {
        {ActionId::NewPrjAction, st->standardIcon(QStyle::SP_FileIcon)},
        {ActionId::OpenPrjAction, st->standardIcon(QStyle::SP_DialogOpenButton)},
        {ActionId::SavePrjAction, st->standardIcon(QStyle::SP_DialogSaveButton)},
        {ActionId::SaveAsPrjAction, GlyphIcon(QStringLiteral("AS"), ink)},
        {ActionId::CutStepAction, GlyphIcon(QStringLiteral("✂"), ink)},
        {ActionId::CpyStepAction, GlyphIcon(QStringLiteral("⧉"), ink)},
        {ActionId::PstStepAction, GlyphIcon(QStringLiteral("▤"), ink)},
        {ActionId::AddStepAction, GlyphIcon(QStringLiteral("+"), ink)},
        {ActionId::AddBlkStepAction, GlyphIcon(QStringLiteral("◇"), ink)},
        {ActionId::DelStepAction, GlyphIcon(QStringLiteral("×"), QColor(160, 0, 0))},
        {ActionId::PropStepAction, GlyphIcon(QStringLiteral("◆"), QColor(200, 80, 0))},
        {ActionId::PrvStpAction, GlyphIcon(QStringLiteral("◁"), ink)},
        {ActionId::NxtStpAction, GlyphIcon(QStringLiteral("▷"), ink)},
        {ActionId::ZoomInAction, GlyphIcon(QStringLiteral("⊕"), ink)},
        {ActionId::ZoomOutAction, GlyphIcon(QStringLiteral("⊖"), ink)},
        {ActionId::ZoomFitAction, GlyphIcon(QStringLiteral("↔"), ink)},
        {ActionId::UndoAction, GlyphIcon(QStringLiteral("↶"), ink)},
        {ActionId::SnapBeatAction, GlyphIcon(QStringLiteral("♩"), ink)},
        {ActionId::RedoAction, GlyphIcon(QStringLiteral("↷"), ink)},
        {ActionId::TopPlayAction, st->standardIcon(QStyle::SP_MediaSeekBackward)},
        {ActionId::PlayAction, st->standardIcon(QStyle::SP_MediaPlay)},
        {ActionId::PauseAction, st->standardIcon(QStyle::SP_MediaPause)},
        {ActionId::StopAction, st->standardIcon(QStyle::SP_MediaStop)},
        {ActionId::ToTopPosAction, st->standardIcon(QStyle::SP_MediaSkipBackward)},
        {ActionId::ToEndPosAction, st->standardIcon(QStyle::SP_MediaSkipForward)},
    };
    for (size_t i = 0; i < kMainActionCount; ++i) {
        const ActionInfo& info = kActionTable[i];
        auto* action = new QAction(Tr(info.Caption), this);
        action->setObjectName(QtText(info.Name));
        action->setCheckable(info.Checkable);
        action->setEnabled(false);
        action->setVisible(!info.MultiOnly);
        QIcon fallback;
        for (const auto& [id, icon] : fallbacks) {
            if (info.Id == id) fallback = icon;
        }
        if (!info.ImageId.empty()) {
            action->setIcon(QIcon::fromTheme(QtText(info.ImageId), fallback));
        } else if (!fallback.isNull()) {
            action->setIcon(fallback);
        }
        const QString tip =
            info.Hint.empty() ? QtText(CaptionWithoutAccessKeys(Translated(info.Caption))).trimmed()
                              : QtText(info.Hint);
        action->setToolTip(tip);
        action->setStatusTip(tip);
        addAction(action);  // shortcuts work without a menu or a bar holding the action
        m_actions[i] = action;
    }

    // The commands this window carries out itself; the others arrive with their panes and dialogs.
    // The project commands replace every step: never while a drag or band holds some.
    connect(Action(ActionId::NewPrjAction), &QAction::triggered, m_files,
            &ProjectFileCommands::NewProjectCommand);
    connect(Action(ActionId::OpenPrjAction), &QAction::triggered, m_files,
            &ProjectFileCommands::OpenProjectCommand);
    connect(Action(ActionId::SetPrjAction), &QAction::triggered, this,
            [this] { RunProjectSettings(false); });
    connect(Action(ActionId::SavePrjAction), &QAction::triggered, this, [this] { SaveProject(); });
    connect(Action(ActionId::SaveAsPrjAction), &QAction::triggered, this,
            [this] { SaveProjectAs(); });
    connect(Action(ActionId::SaveSelGrpAction), &QAction::triggered, this,
            [this] { m_files->SaveGroup(); });
    connect(Action(ActionId::LoadGrpAction), &QAction::triggered, this,
            [this] { m_files->LoadGroup(); });
    connect(Action(ActionId::ExportFseqAction), &QAction::triggered, this,
            [this] { ExportFseq(); });
    connect(Action(ActionId::ReplaceSoundAction), &QAction::triggered, m_files,
            &ProjectFileCommands::ReplaceSound);
    connect(Action(ActionId::TopPlayAction), &QAction::triggered, this,
            [this] { PlayFromStart(); });
    connect(Action(ActionId::PlayAction), &QAction::triggered, this, [this] { Play(); });
    connect(Action(ActionId::PauseAction), &QAction::triggered, this,
            [this] { m_transport.PauseResume(); });
    connect(Action(ActionId::StopAction), &QAction::triggered, this, [this] { Stop(); });
    connect(Action(ActionId::ToTopPosAction), &QAction::triggered, this,
            [this] { ToSoundStart(); });
    connect(Action(ActionId::ToEndPosAction), &QAction::triggered, this, [this] { ToSoundEnd(); });

    // "参照ライン表示(&R)" is listed as "参照ライン(&R)" in the view menu: a second entry that
    // follows the action.
    QAction* refTrk = Action(ActionId::ViewRefTrkAction);
    m_refTrkShort = new QAction(Tr(kViewRefTrkMenuCaption), this);
    m_refTrkShort->setObjectName(QStringLiteral("ViewRefTrkMenuItem"));
    m_refTrkShort->setCheckable(true);
    m_refTrkShort->setEnabled(false);
    connect(m_refTrkShort, &QAction::triggered, refTrk, &QAction::trigger);
    connect(refTrk, &QAction::changed, m_refTrkShort, [this, refTrk] {
        m_refTrkShort->setChecked(refTrk->isChecked());
        m_refTrkShort->setEnabled(refTrk->isEnabled());
    });
    connect(Action(ActionId::ViewSttBarAction), &QAction::toggled, this,
            [this](bool on) { statusBar()->setVisible(on); });
    connect(Action(ActionId::ViewColMonAction), &QAction::triggered, this, [this] {
        if (!m_aux.colMon) return;
        if (m_aux.colMon->isVisible()) {
            m_aux.colMon->close();
        } else {
            m_aux.colMon->show();
        }
        Action(ActionId::ViewColMonAction)->setChecked(m_aux.colMon->isVisible());
    });

    // F1: the help page of the focused control, found up its parent chain.
    auto* contextHelp = new QAction(this);
    contextHelp->setShortcut(QKeySequence(Qt::Key_F1));
    contextHelp->setShortcutContext(Qt::ApplicationShortcut);
    connect(contextHelp, &QAction::triggered, this, [this] {
        for (QObject* object = QApplication::focusWidget(); object; object = object->parent()) {
            const QVariant context = object->property("helpContext");
            if (context.isValid()) {
                ShowHelp(context.toInt());
                return;
            }
        }
        ShowHelp(kMainWindowHelpContext);
    });
    addAction(contextHelp);
}

QAction* TLumavoxForm::CommandItem(QMenu* menu, std::string_view name) {
    QAction* item = menu->addAction(QtText(CommandCaption(name)));
    item->setObjectName(QtText(name));
    if (name == kExitCommand) {
        connect(item, &QAction::triggered, this, &QWidget::close);
    } else if (name == kRepeatCommand) {
        m_repeatItem = item;
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this] { m_transport.ToggleRepeat(); });
        connect(menu, &QMenu::aboutToShow, this,
                [this] { m_repeatItem->setChecked(m_env.Repeat.load()); });
    } else if (name == kVolumeControlCommand) {
        connect(item, &QAction::triggered, this, [] {
            const QString mixer = QStandardPaths::findExecutable(QStringLiteral("pavucontrol"));
            if (!mixer.isEmpty()) QProcess::startDetached(mixer, {});
        });
    } else if (name == kOptionsCommand) {
        connect(item, &QAction::triggered, this, [this] {
            if (m_aux.option && m_aux.option->exec() == QDialog::Accepted) ApplyOptions();
        });
    } else if (name == kHelpContentsCommand) {
        connect(item, &QAction::triggered, this, [this] { ShowHelp(0); });
    } else if (name == kWebPageCommand) {
        connect(item, &QAction::triggered, this,
                [] { QDesktopServices::openUrl(QUrl(QtText(UiText::WebPageAddress))); });
    } else if (name == kAboutCommand) {
        connect(item, &QAction::triggered, this, [this] {
            if (m_aux.about) m_aux.about->exec();
        });
    }
    return item;
}

void TLumavoxForm::FillMenu(QMenu* menu, std::span<const MenuEntry> entries) {
    for (const MenuEntry& entry : entries) {
        switch (entry.Kind) {
            case MenuEntryKind::Separator:
                menu->addSeparator();
                break;
            case MenuEntryKind::Action:
                menu->addAction(entry.Action == ActionId::ViewRefTrkAction ? m_refTrkShort
                                                                           : Action(entry.Action));
                break;
            case MenuEntryKind::Command:
                CommandItem(menu, entry.Name);
                break;
            case MenuEntryKind::Submenu:
                if (entry.Name == kRecentProjectsSubmenu) {
                    QMenu* recent = menu->addMenu(QtText(CommandCaption(entry.Name)));
                    recent->setObjectName(QStringLiteral("recentMenu"));
                    m_files->FillRecentMenu(recent);
                    connect(menu, &QMenu::aboutToShow, m_files,
                            &ProjectFileCommands::RefreshRecentMenu);
                } else if (entry.Name == kToolBarsSubmenu) {
                    FillMenu(menu->addMenu(QtText(CommandCaption(entry.Name))), ToolBarsSubmenu());
                }
                break;
        }
    }
}

void TLumavoxForm::CreateMenus() {
    for (const MainMenu& info : MainMenus()) {
        QMenu* menu = menuBar()->addMenu(Tr(info.Caption));
        menu->setProperty("helpContext", info.HelpContext);
        connect(menu, &QMenu::aboutToShow, this, &TLumavoxForm::UpdateActions);
        if (!m_fileMenu) m_fileMenu = menu;
        FillMenu(menu, info.Entries);
    }
    setProperty("helpContext", kMainWindowHelpContext);
}

void TLumavoxForm::CreateToolBars() {
    const std::span<const ToolBarInfo> bars = ToolBars();
    for (size_t i = 0; i < m_bars.size() && i < bars.size(); ++i) {
        auto* bar = new QToolBar(Tr(bars[i].Caption), this);
        bar->setObjectName(QtText(bars[i].Section));
        bar->setMovable(true);
        bar->setFloatable(true);
        bar->setIconSize(QSize(20, 20));
        // The player bar's buttons sit on its panel.
        const bool panelBar = bars[i].ViewAction == ActionId::ViewPlayerAction;
        for (const MenuEntry& entry : panelBar ? std::span<const MenuEntry>() : bars[i].Entries) {
            if (entry.Kind == MenuEntryKind::Action) {
                bar->addAction(Action(entry.Action));
            } else if (entry.Kind == MenuEntryKind::Separator) {
                bar->addSeparator();
            }
        }
        m_bars[i] = bar;
        QAction* view = Action(bars[i].ViewAction);
        connect(view, &QAction::toggled, bar, &QToolBar::setVisible);
        connect(bar, &QToolBar::visibilityChanged, view, [this, view, bar](bool) {
            if (!Closing()) view->setChecked(!bar->isHidden());
        });
    }
    m_bars[2]->addWidget(m_play->CreatePanel(this, [this](ActionId id) { return Action(id); }));
    m_palettePanel = new CurrentPalettePanel(m_ctx, m_bars[3]);
    m_palettePanel->setObjectName(QStringLiteral("paletteBar"));
    m_palettePanel->Attach(m_paneState, m_paneState.ProgrammaticChange);
    m_bars[3]->addWidget(m_palettePanel);
    addAction(m_palettePanel->ZeroAction());
}

void TLumavoxForm::ApplyToolBarStyle() {
    // Buttons 27 × 26 with 20 × 20 images; the player and palette bars 56 high, 58 when not flat.
    const bool flat = m_env.FlatToolBar;
    for (QToolBar* bar : m_bars) {
        for (QToolButton* button : bar->findChildren<QToolButton*>()) {
            const bool extension = button->objectName() == QStringLiteral("qt_toolbar_ext_button");
            if (button->parentWidget() == bar && !extension) button->setFixedSize(27, 26);
            button->setAutoRaise(flat);
        }
    }
    m_play->Panel()->setFixedHeight(flat ? 56 : 58);
    m_palettePanel->setFixedHeight(flat ? 56 : 58);
}

void TLumavoxForm::ApplyShortCuts(const MainShortCuts& shortCuts) {
    // A key given to two actions would fire neither: the first action in list order keeps it.
    std::vector<QKeySequence> taken;
    for (size_t i = 0; i < kMainActionCount; ++i) {
        QList<QKeySequence> keys = ShortCutToKeySequences(shortCuts[i]);
        if (kActionTable[i].Id == ActionId::RedoAction && shortCuts[i] != kRedoSecondShortCut) {
            keys.append(ShortCutToKeySequences(kRedoSecondShortCut));
        }
        keys.removeIf([&taken](const QKeySequence& key) {
            return std::find(taken.begin(), taken.end(), key) != taken.end();
        });
        for (const QKeySequence& key : keys) taken.push_back(key);
        m_actions[i]->setShortcuts(keys);
        m_actions[i]->setProperty("shortCut", static_cast<int>(shortCuts[i]));
        // Menus show the key in the shortcut text of the options and the settings
        // ("Shift+Ctrl+F5"), not in the toolkit's own order: a text after a tab is shown instead of
        // the toolkit's.
        const QString keyText = keys.isEmpty()
                                    ? QString()
                                    : QStringLiteral("\t") + QtText(ShortCutToText(shortCuts[i]));
        m_actions[i]->setText(Tr(kActionTable[i].Caption) + keyText);
        if (i == IndexOf(ActionId::ViewRefTrkAction)) {
            m_refTrkShort->setText(Tr(kViewRefTrkMenuCaption) + keyText);
        }
    }
}

MainShortCuts TLumavoxForm::CurrentShortCuts() const {
    MainShortCuts shortCuts{};
    for (size_t i = 0; i < kMainActionCount; ++i) {
        shortCuts[i] = static_cast<ShortCut>(m_actions[i]->property("shortCut").toInt());
    }
    return shortCuts;
}

void TLumavoxForm::RestoreToolBars() {
    // Bars are docked in the top area; DockTop gives the row, DockLeft the order inside it.
    struct Placed {
        QToolBar* bar;
        ToolBarPlacement placement;
    };
    std::vector<Placed> placed;
    const int rowHeight = m_env.FlatToolBar ? 30 : 32;
    for (size_t i = 0; i < m_bars.size(); ++i) {
        ToolBarPlacement placement;
        placement.DockTop = 0;
        placement.DockLeft = static_cast<int32_t>(i) * 200;
        LoadToolBar(m_env.Ini(), "Tool" + std::to_string(i + 1), placement, m_env.FlatToolBar);
        placed.push_back({m_bars[i], placement});
    }
    std::stable_sort(placed.begin(), placed.end(), [rowHeight](const Placed& a, const Placed& b) {
        const int rowA = a.placement.DockTop / rowHeight;
        const int rowB = b.placement.DockTop / rowHeight;
        return rowA != rowB ? rowA < rowB : a.placement.DockLeft < b.placement.DockLeft;
    });
    int row = -1;
    for (const Placed& item : placed) {
        const int itemRow = item.placement.DockTop / rowHeight;
        if (row >= 0 && itemRow != row) addToolBarBreak(Qt::TopToolBarArea);
        row = itemRow;
        addToolBar(Qt::TopToolBarArea, item.bar);
        item.bar->setVisible(item.placement.Visible);
    }
    ApplyToolBarStyle();
    const std::span<const ToolBarInfo> bars = ToolBars();
    for (size_t i = 0; i < m_bars.size() && i < bars.size(); ++i) {
        Action(bars[i].ViewAction)->setChecked(!m_bars[i]->isHidden());
    }
}

void TLumavoxForm::SaveToolBars() {
    for (size_t i = 0; i < m_bars.size(); ++i) {
        QToolBar* bar = m_bars[i];
        ToolBarPlacement placement;
        placement.Visible = !bar->isHidden();
        placement.Floating = bar->isFloating();
        placement.Flat = m_env.FlatToolBar;
        if (placement.Floating) {
            placement.FloatLeft = bar->frameGeometry().left();
            placement.FloatTop = bar->frameGeometry().top();
            placement.FloatWidth = bar->width();
            placement.FloatHeight = bar->height();
        } else {
            placement.DockTop = bar->geometry().top() - (menuBar() ? menuBar()->height() : 0);
            placement.DockLeft = bar->geometry().left();
        }
        SaveToolBar(m_env.Ini(), "Tool" + std::to_string(i + 1), placement);
    }
}

}  // namespace lumavox
