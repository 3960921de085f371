#include "app/MainWindow.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/HelpWindow.h"
#include "dialogs/TStpPropDlg.h"

#include "dialogs/TSetPrjDlg.h"
#include "dmx/OutputPair.h"
#include "dmx/OutputStatus.h"
#include "editor/KeyMap.h"
#include "editor/QtText.h"
#include "editor/logic/ActionTable.h"
#include "editor/logic/MainWindowRules.h"
#include "editor/logic/ProjectCommands.h"
#include "editor/logic/UiText.h"
#include "engine/PlayDisplay.h"
#include "engine/PostRequest.h"
#include "model/Msgstr.h"
#include "model/ProjectFile.h"
#include "platform/Paths.h"
#include "settings/MainView.h"
#include "settings/Placement.h"
#include "sound/player/PulseSoundDevice.h"

namespace lumavox {

namespace {

QColor FromBgr(int32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

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

QWidget* Placeholder(QWidget* parent, const char* name, int height, const QColor& colour) {
    auto* widget = new QWidget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    if (height > 0) widget->setFixedHeight(height);
    return widget;
}

QLabel* HeaderLabel(QWidget* parent, const char* name, const QString& text, int height) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Raised);
    if (height > 0) label->setFixedHeight(height);
    return label;
}

constexpr int kHeaderWidth = 50;
constexpr int kScrollBorder = 4;

}  // namespace

void TLumavoxForm::Reporter::ShowStatus(std::string_view text) {
    QLabel* panel = m_form.StatusPanel(2);
    panel->setText(QtText(text));
    panel->repaint();
}

void TLumavoxForm::Reporter::ShowError(std::string_view text) {
    m_form.ShowWarning(QtText(text));
}

void TLumavoxForm::SessionUi::BeginBusy() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TLumavoxForm::SessionUi::EndBusy() {
    QApplication::restoreOverrideCursor();
}

void TLumavoxForm::SessionUi::ShowWarning(std::string_view text) {
    m_form.ShowWarning(QtText(text));
}

ShortCut TLumavoxForm::OptionHostImpl::ActionShortCut(size_t index) const {
    return index < kMainActionCount ? m_form.CurrentShortCuts()[index] : ShortCut{0};
}

void TLumavoxForm::OptionHostImpl::SetActionShortCut(size_t index, ShortCut shortCut) {
    if (index >= kMainActionCount) return;
    MainShortCuts shortCuts = m_form.CurrentShortCuts();
    shortCuts[index] = shortCut;
    m_form.ApplyShortCuts(shortCuts);  // a key given twice stays with the first action
}

int TLumavoxForm::OptionHostImpl::DisplayPeriod() const {
    return m_form.m_dispTimer.interval();
}

void TLumavoxForm::OptionHostImpl::SetDisplayPeriod(int periodMs) {
    const bool running = m_form.m_dispTimer.isActive();
    m_form.m_dispTimer.stop();
    m_form.m_dispTimer.setInterval(periodMs);
    if (running) m_form.m_dispTimer.start();
}

TLumavoxForm::TLumavoxForm(Setup setup, QWidget* parent)
    : QMainWindow(parent), m_setup(std::move(setup)), m_env(m_setup.iniPath, m_setup.exeDir) {
    setObjectName(QStringLiteral("LumavoxForm"));
    setWindowTitle(QtText(UiText::AppTitle));
    m_dispTimer.stop();
    m_device = m_setup.device ? std::move(m_setup.device) : std::make_unique<PulseSoundDevice>();
    m_env.Create(*m_device);

    m_patch.ClearAll();  // nothing patched until a project brings its patch
    EngineContext context{m_state,
                          m_project,
                          m_patch,
                          m_lineOutput,
                          *m_device,
                          m_clock,
                          m_env.Repeat,
                          m_env.PatchCheckChannel,
                          [this](std::string_view message, std::string_view caption) {
                              // Output thread: show the box later on the UI thread.
                              const QString text = QtText(message);
                              const QString title = QtText(caption);
                              QMetaObject::invokeMethod(
                                  this,
                                  [this, text, title] {
                                      // One box at a time: repeats while it is up are dropped.
                                      if (m_warningShown) return;
                                      m_warningShown = true;
                                      QMessageBox::warning(this, title, text);
                                      m_warningShown = false;
                                  },
                                  Qt::QueuedConnection);
                          }};
    m_engine = std::make_unique<Engine>(context);

    m_dispTimer.setInterval(m_env.DispInterval);
    connect(&m_dispTimer, &QTimer::timeout, this, &TLumavoxForm::DisplayTick);
    connect(&m_backupTimer, &QTimer::timeout, this, &TLumavoxForm::BackupTick);

    CreateActions();
    CreateMenus();
    CreateToolBars();
    setCentralWidget(CreateCentre());
    CreateStatusBar();
    resize(851, 669);
    move(157, 64);

    if (m_setup.outputs) {
        OutputPairConfig config;
        config.TxUniverse = m_env.TxUniverse;
        config.UsbPeriodMs = static_cast<uint32_t>(std::max(1, m_env.DmxInterval));
        config.UsbVendorId = static_cast<uint16_t>(m_env.UsbVendorId);
        config.UsbProductId = static_cast<uint16_t>(m_env.UsbProductId);
        m_outputs = std::make_unique<OutputPair>(*m_engine, m_clock, config);
        m_outputs->Start(OutputTypeOf(m_env.DmxType));
        // The thread learns of a refused address only when it first runs: shown once, here.
        const std::string error = m_outputs->InitErrorAfterStart();
        if (!error.empty()) {
            QMessageBox::warning(nullptr, QtText(UiText::ArtNetInitError), QtText(error));
        }
    }

    // Enabled states follow the program's state whenever the event loop is about to wait.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &TLumavoxForm::QueueActionUpdate);
    }
    UpdateActions();
}

TLumavoxForm::~TLumavoxForm() {
    if (m_outputs) m_outputs->Terminate();
}

void TLumavoxForm::QueueActionUpdate() {
    if (m_actionUpdateQueued || m_closing) return;
    m_actionUpdateQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_actionUpdateQueued = false;
        UpdateActions();
    });
}

QAction* TLumavoxForm::Action(std::string_view name) const {
    const int index = ActionIndex(name);
    return index >= 0 ? m_actions[static_cast<size_t>(index)] : nullptr;
}

void TLumavoxForm::CreateActions() {
    QStyle* st = style();
    const QColor ink(0, 0, 128);
    // Images where the icon theme has none.
    const std::pair<const char*, QIcon> fallbacks[] = {
        {"NewPrjAction", st->standardIcon(QStyle::SP_FileIcon)},
        {"OpenPrjAction", st->standardIcon(QStyle::SP_DialogOpenButton)},
        {"SavePrjAction", st->standardIcon(QStyle::SP_DialogSaveButton)},
        {"SaveAsPrjAction", GlyphIcon(QStringLiteral("AS"), ink)},
        {"CutStepAction", GlyphIcon(QStringLiteral("✂"), ink)},
        {"CpyStepAction", GlyphIcon(QStringLiteral("⧉"), ink)},
        {"PstStepAction", GlyphIcon(QStringLiteral("▤"), ink)},
        {"AddStepAction", GlyphIcon(QStringLiteral("+"), ink)},
        {"AddBlkStepAction", GlyphIcon(QStringLiteral("◇"), ink)},
        {"DelStepAction", GlyphIcon(QStringLiteral("×"), QColor(160, 0, 0))},
        {"PropStepAction", GlyphIcon(QStringLiteral("◆"), QColor(200, 80, 0))},
        {"PrvStpAction", GlyphIcon(QStringLiteral("◁"), ink)},
        {"NxtStpAction", GlyphIcon(QStringLiteral("▷"), ink)},
        {"ZoomInAction", GlyphIcon(QStringLiteral("⊕"), ink)},
        {"ZoomOutAction", GlyphIcon(QStringLiteral("⊖"), ink)},
        {"ZoomFitAction", GlyphIcon(QStringLiteral("↔"), ink)},
        {"UndoAction", GlyphIcon(QStringLiteral("↶"), ink)},
        {"TopPlayAction", st->standardIcon(QStyle::SP_MediaSeekBackward)},
        {"PlayAction", st->standardIcon(QStyle::SP_MediaPlay)},
        {"PauseAction", st->standardIcon(QStyle::SP_MediaPause)},
        {"StopAction", st->standardIcon(QStyle::SP_MediaStop)},
        {"ToTopPosAction", st->standardIcon(QStyle::SP_MediaSkipBackward)},
        {"ToEndPosAction", st->standardIcon(QStyle::SP_MediaSkipForward)},
    };
    for (size_t i = 0; i < kMainActionCount; ++i) {
        const ActionInfo& info = kActionTable[i];
        auto* action = new QAction(QtText(info.Caption), this);
        action->setObjectName(QtText(info.Name));
        action->setCheckable(info.Checkable);
        action->setEnabled(false);
        action->setVisible(!info.MultiOnly);
        QIcon fallback;
        for (const auto& [name, icon] : fallbacks) {
            if (info.Name == name) fallback = icon;
        }
        if (!info.ImageId.empty()) {
            action->setIcon(QIcon::fromTheme(QtText(info.ImageId), fallback));
        } else if (!fallback.isNull()) {
            action->setIcon(fallback);
        }
        const QString tip = info.Hint.empty()
                                ? QtText(CaptionWithoutAccessKeys(info.Caption)).trimmed()
                                : QtText(info.Hint);
        action->setToolTip(tip);
        action->setStatusTip(tip);
        addAction(action);  // shortcuts work without a menu or a bar holding the action
        m_actions[i] = action;
    }

    // The commands this window carries out itself; the others arrive with their panes and dialogs.
    connect(Action("NewPrjAction"), &QAction::triggered, this, [this] {
        if (AskSaveChanges() != QMessageBox::Cancel) OpenProject(QString());
    });
    connect(Action("OpenPrjAction"), &QAction::triggered, this, [this] {
        if (AskSaveChanges() == QMessageBox::Cancel) return;
        QFileDialog dialog(this, QtText(Msg::OpenProject));
        dialog.setNameFilter(QtText(ProjectFileFilter()));
        dialog.setDefaultSuffix(QStringLiteral("PRJ"));
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        if (!m_env.PrjFile.empty()) {
            dialog.setDirectory(QFileInfo(QtText(m_env.PrjFile)).absolutePath());
        }
        dialog.selectFile(QStringLiteral("*.PRJ"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            OpenProject(dialog.selectedFiles().constFirst());
        }
    });
    connect(Action("SetPrjAction"), &QAction::triggered, this,
            [this] { RunProjectSettings(false); });
    connect(Action("SavePrjAction"), &QAction::triggered, this, [this] { SaveProject(); });
    connect(Action("SaveAsPrjAction"), &QAction::triggered, this, [this] { SaveProjectAs(); });
    connect(Action("SaveSelGrpAction"), &QAction::triggered, this, [this] { SaveGroup(); });
    connect(Action("LoadGrpAction"), &QAction::triggered, this, [this] { LoadGroup(); });
    connect(Action("TopPlayAction"), &QAction::triggered, this, [this] { PlayFromStart(); });
    connect(Action("PlayAction"), &QAction::triggered, this, [this] { Play(); });
    connect(Action("PauseAction"), &QAction::triggered, this,
            [this] { m_transport.PauseResume(); });
    connect(Action("StopAction"), &QAction::triggered, this, [this] { Stop(); });
    connect(Action("ToTopPosAction"), &QAction::triggered, this, [this] { ToSoundStart(); });
    connect(Action("ToEndPosAction"), &QAction::triggered, this, [this] { ToSoundEnd(); });

    // "参照ライン表示(&R)" is listed as "参照ライン(&R)" in the view menu: a second entry that
    // follows the action.
    QAction* refTrk = Action("ViewRefTrkAction");
    m_refTrkShort = new QAction(QtText(kViewRefTrkMenuCaption), this);
    m_refTrkShort->setObjectName(QStringLiteral("ViewRefTrkMenuItem"));
    m_refTrkShort->setCheckable(true);
    m_refTrkShort->setEnabled(false);
    connect(m_refTrkShort, &QAction::triggered, refTrk, &QAction::trigger);
    connect(refTrk, &QAction::changed, m_refTrkShort, [this, refTrk] {
        m_refTrkShort->setChecked(refTrk->isChecked());
        m_refTrkShort->setEnabled(refTrk->isEnabled());
    });
    connect(Action("ViewSttBarAction"), &QAction::toggled, this,
            [this](bool on) { statusBar()->setVisible(on); });
    connect(Action("ViewColMonAction"), &QAction::triggered, this, [this] {
        if (!m_aux.colMon) return;
        if (m_aux.colMon->isVisible()) {
            m_aux.colMon->close();
        } else {
            m_aux.colMon->show();
        }
        Action("ViewColMonAction")->setChecked(m_aux.colMon->isVisible());
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
                menu->addAction(entry.Name == "ViewRefTrkAction" ? m_refTrkShort
                                                                 : Action(entry.Name));
                break;
            case MenuEntryKind::Command:
                CommandItem(menu, entry.Name);
                break;
            case MenuEntryKind::Submenu:
                if (entry.Name == kRecentProjectsSubmenu) {
                    m_recentMenu = menu->addMenu(QtText(CommandCaption(entry.Name)));
                    m_recentMenu->setObjectName(QStringLiteral("recentMenu"));
                    for (int i = 0; i < static_cast<int>(EnvData::kSavedHistoryCount); ++i) {
                        QAction* item = m_recentMenu->addAction(QString());
                        item->setVisible(false);
                        connect(item, &QAction::triggered, this, [this, i] { OpenRecent(i); });
                        m_recentItems.push_back(item);
                    }
                    connect(menu, &QMenu::aboutToShow, this, &TLumavoxForm::RefreshRecentMenu);
                } else if (entry.Name == kToolBarsSubmenu) {
                    FillMenu(menu->addMenu(QtText(CommandCaption(entry.Name))), ToolBarsSubmenu());
                }
                break;
        }
    }
}

void TLumavoxForm::CreateMenus() {
    for (const MainMenu& info : MainMenus()) {
        QMenu* menu = menuBar()->addMenu(QtText(info.Caption));
        menu->setProperty("helpContext", info.HelpContext);
        if (!m_fileMenu) m_fileMenu = menu;
        FillMenu(menu, info.Entries);
    }
    setProperty("helpContext", kMainWindowHelpContext);
}

void TLumavoxForm::CreateToolBars() {
    const std::span<const ToolBarInfo> bars = ToolBars();
    for (size_t i = 0; i < m_bars.size() && i < bars.size(); ++i) {
        auto* bar = new QToolBar(QtText(bars[i].Caption), this);
        bar->setObjectName(QtText(bars[i].Section));
        bar->setMovable(true);
        bar->setFloatable(true);
        bar->setIconSize(QSize(20, 20));
        // The player bar's buttons sit on its panel.
        const bool panelBar = bars[i].ViewAction == "ViewPlayerAction";
        for (const MenuEntry& entry : panelBar ? std::span<const MenuEntry>() : bars[i].Entries) {
            if (entry.Kind == MenuEntryKind::Action) {
                bar->addAction(Action(entry.Name));
            } else if (entry.Kind == MenuEntryKind::Separator) {
                bar->addSeparator();
            }
        }
        m_bars[i] = bar;
        QAction* view = Action(bars[i].ViewAction);
        connect(view, &QAction::toggled, bar, &QToolBar::setVisible);
        connect(bar, &QToolBar::visibilityChanged, view, [this, view, bar](bool) {
            if (!m_closing) view->setChecked(!bar->isHidden());
        });
    }
    m_bars[2]->addWidget(CreatePlayPanel());
    // The colour palette bar is filled by the palette; this keeps its place and height.
    QWidget* paletteBar =
        Placeholder(m_bars[3], "paletteBar", 56, palette().color(QPalette::Button));
    paletteBar->setFixedWidth(240);
    m_paletteBar = paletteBar;
    m_bars[3]->addWidget(paletteBar);
}

QWidget* TLumavoxForm::CreatePlayPanel() {
    auto* panel = new QWidget(this);
    m_playPanel = panel;
    panel->setObjectName(QStringLiteral("playPanel"));
    panel->setFixedSize(305, 56);
    m_timeLabel = new QLabel(QtText(kInitialTimeLabel), panel);
    m_timeLabel->setObjectName(QStringLiteral("timeLabel"));
    m_timeLabel->setGeometry(2, 2, 157, 20);
    m_timeLabel->setAlignment(Qt::AlignCenter);
    m_timeLabel->setAutoFillBackground(true);
    QFont timeFont(QStringLiteral("IPAGothic"));
    timeFont.setStyleHint(QFont::Monospace);
    timeFont.setFixedPitch(true);
    timeFont.setBold(true);
    timeFont.setPixelSize(16);
    m_timeLabel->setFont(timeFont);
    SetTimeLabelColour(kSoundTimeColour);

    int x = 2;
    for (const MenuEntry& entry : ToolBars()[2].Entries) {
        if (entry.Kind != MenuEntryKind::Action) continue;
        auto* button = new QToolButton(panel);
        button->setObjectName(
            QtText(entry.Name).replace(QStringLiteral("Action"), QStringLiteral("Button")));
        button->setDefaultAction(Action(entry.Name));
        button->setIconSize(QSize(20, 20));
        button->setGeometry(x, 26, 26, 26);
        x += 26;
    }
    m_volume = new QSlider(Qt::Vertical, panel);
    m_volume->setObjectName(QStringLiteral("volumeSlider"));
    m_volume->setRange(0, 255);
    m_volume->setPageStep(16);
    m_volume->setTickInterval(64);
    m_volume->setTickPosition(QSlider::TicksRight);
    m_volume->setGeometry(163, 0, 26, 56);
    m_volume->setToolTip(QtText(UiText::VolumeHint));
    m_volume->setStatusTip(QtText(UiText::VolumeHint));
    m_volume->setValue(255);
    connect(m_volume, &QSlider::valueChanged, this, &TLumavoxForm::OnVolumeChanged);

    // The current line's output colour panel and its labels are the palette's to fill.
    m_curOutput = new QFrame(panel);
    m_curOutput->setObjectName(QStringLiteral("curOutputPanel"));
    m_curOutput->setFrameShape(QFrame::Panel);
    m_curOutput->setFrameShadow(QFrame::Sunken);
    m_curOutput->setGeometry(194, 4, 106, 48);
    m_curOutput->setAutoFillBackground(true);
    QPalette outPalette = m_curOutput->palette();
    outPalette.setColor(QPalette::Window, Qt::black);
    m_curOutput->setPalette(outPalette);
    return panel;
}

void TLumavoxForm::SetTimeLabelColour(int32_t bgr) {
    // A style sheet: the tool bar's style would otherwise paint over the label's own palette.
    m_timeColour = bgr;
    m_timeLabel->setStyleSheet(QStringLiteral("QLabel { background-color: #000080; color: %1; }")
                                   .arg(FromBgr(bgr).name()));
}

QWidget* TLumavoxForm::CreateCentre() {
    auto* centre = new QWidget(this);
    auto* row = new QHBoxLayout(centre);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    // Header column: its boundaries are level with the panes beside it.
    auto* header = new QWidget(centre);
    header->setObjectName(QStringLiteral("headerColumn"));
    header->setFixedWidth(kHeaderWidth);
    auto* headerColumn = new QVBoxLayout(header);
    headerColumn->setContentsMargins(0, kScrollBorder, 0, kScrollBorder);
    headerColumn->setSpacing(0);
    m_headL = HeaderLabel(header, "headL", QStringLiteral("L"), 121 + 4);
    m_headR = HeaderLabel(header, "headR", QStringLiteral("R"), 4 + 88 + 4);
    m_headMark = HeaderLabel(header, "headMark", QString(), 46);
    m_lineTabs = Placeholder(header, "lineTabs", 0, palette().color(QPalette::Button));
    auto* spacer = new QWidget(header);
    spacer->setFixedHeight(8 + 30 + 8 + 4);
    m_headRef = HeaderLabel(header, "headRef", QString(), 50);
    headerColumn->addWidget(m_headL);
    headerColumn->addWidget(m_headR);
    headerColumn->addWidget(m_headMark);
    headerColumn->addWidget(m_lineTabs, 1);
    headerColumn->addWidget(spacer);
    headerColumn->addWidget(m_headRef);
    row->addWidget(header);

    // The scroll area: a panel with a 4-px border around the panes, scrolled horizontally by one
    // scroll bar that holds the left edge L of the visible time.
    auto* frame = new QFrame(centre);
    frame->setObjectName(QStringLiteral("scrollArea"));
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setLineWidth(kScrollBorder / 2);
    frame->setMidLineWidth(0);
    frame->setAutoFillBackground(true);
    QPalette workspace = frame->palette();
    workspace.setColor(QPalette::Window, QColor(0xAB, 0xAB, 0xAB));
    frame->setPalette(workspace);
    auto* panes = new QVBoxLayout(frame);
    panes->setContentsMargins(kScrollBorder, kScrollBorder, kScrollBorder, kScrollBorder);
    panes->setSpacing(0);
    const QColor panel = palette().color(QPalette::Button);
    m_waveL = Placeholder(frame, "waveL", 121, FromBgr(m_env.LwavBg));
    auto* bevel = Placeholder(frame, "waveBevel", 8, panel);
    m_waveR = Placeholder(frame, "waveR", 88, FromBgr(m_env.RwavBg));
    m_waveSplitter = Placeholder(frame, "waveSplitter", 4, panel);
    m_markBar = Placeholder(frame, "markBar", 46, FromBgr(m_env.TLinBg));
    m_lineEditor = Placeholder(frame, "lineEditor", 0, FromBgr(m_env.CLinBg));
    auto* gapAbove = Placeholder(frame, "stripGapAbove", 8, panel);
    m_outputStrip = Placeholder(frame, "outputStrip", 30, Qt::black);
    auto* gapBelow = Placeholder(frame, "stripGapBelow", 8, panel);
    m_refSplitter = Placeholder(frame, "refSplitter", 4, panel);
    m_refPane = Placeholder(frame, "refPane", 50, FromBgr(m_env.CLinBg));
    for (QWidget* pane : {m_waveL, bevel, m_waveR, m_waveSplitter, m_markBar}) {
        panes->addWidget(pane);
    }
    panes->addWidget(m_lineEditor, 1);
    for (QWidget* pane : {gapAbove, m_outputStrip, gapBelow, m_refSplitter, m_refPane}) {
        panes->addWidget(pane);
    }
    m_scrollBar = new QScrollBar(Qt::Horizontal, frame);
    m_scrollBar->setObjectName(QStringLiteral("timeScrollBar"));
    m_scrollBar->setTracking(true);
    m_scrollBar->setRange(0, 0);
    panes->addWidget(m_scrollBar);
    row->addWidget(frame, 1);
    return centre;
}

void TLumavoxForm::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(true);
    QFont mono(QStringLiteral("IPAGothic"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPixelSize(12);
    const int widths[] = {150, 120, 150, 150, 50};
    for (size_t i = 0; i < m_panels.size(); ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("panel%1").arg(i));
        panel->setFont(mono);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setMinimumWidth(widths[i]);
        if (i + 1 < m_panels.size()) panel->setFixedWidth(widths[i]);
        bar->addWidget(panel, i + 1 < m_panels.size() ? 0 : 1);
        m_panels[i] = panel;
    }
}

int TLumavoxForm::ScrollPosition() const {
    return m_scrollBar->value();
}

void TLumavoxForm::SetScrollPosition(int position) {
    m_scrollBar->setValue(position);
}

void TLumavoxForm::SetTimeScale(double pixelsPerMs, int scrollRange, int visibleWidth) {
    m_pixelsPerMs = pixelsPerMs;
    m_scrollBar->setPageStep(std::max(1, visibleWidth));
    m_scrollBar->setRange(0, std::max(0, scrollRange - visibleWidth));
}

void TLumavoxForm::ApplyOptions() {
    SetupBackupTimer();
    m_dispTimer.setInterval(m_env.DispInterval);
    ApplyToolBarStyle();
    RecomputeTimelineLength(m_state);
    LayoutStep();
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
    m_playPanel->setFixedHeight(flat ? 56 : 58);
    m_paletteBar->setFixedHeight(flat ? 56 : 58);
}

void TLumavoxForm::InstallPanes() {
    // The time panes take the placeholders' places (same names, same positions in the layouts),
    // built on one EditorContext of this window's objects and the time line; until they exist the
    // placeholders hold the layout and the scroll bar holds L.
}

void TLumavoxForm::ApplyShortCuts(const MainShortCuts& shortCuts) {
    // A key given to two actions would fire neither: the first action in list order keeps it.
    std::vector<QKeySequence> taken;
    for (size_t i = 0; i < kMainActionCount; ++i) {
        QList<QKeySequence> keys = ShortCutToKeySequences(shortCuts[i]);
        keys.removeIf([&taken](const QKeySequence& key) {
            return std::find(taken.begin(), taken.end(), key) != taken.end();
        });
        for (const QKeySequence& key : keys) taken.push_back(key);
        m_actions[i]->setShortcuts(keys);
        m_actions[i]->setProperty("shortCut", static_cast<int>(shortCuts[i]));
    }
}

MainShortCuts TLumavoxForm::CurrentShortCuts() const {
    MainShortCuts shortCuts{};
    for (size_t i = 0; i < kMainActionCount; ++i) {
        shortCuts[i] = static_cast<ShortCut>(m_actions[i]->property("shortCut").toInt());
    }
    return shortCuts;
}

QMargins TLumavoxForm::FrameMargins() const {
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

void TLumavoxForm::RestorePlacement() {
    WindowPlacement placement;
    const QRect screen =
        this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 851, 669);
    LoadPlacement(m_env.Ini(), "General", placement, screen.height(), screen.width(), 0, 0);
    // Stored bounds are the outer frame; fit them into the screen.
    const int width = std::clamp(placement.Width, 200, std::max(200, screen.width()));
    const int height = std::clamp(placement.Height, 200, std::max(200, screen.height()));
    const int left = std::clamp(placement.Left, screen.left(), screen.right() - 50);
    const int top = std::clamp(placement.Top, screen.top(), screen.bottom() - 50);
    m_placedFrame = QRect(left, top, width, height);
    m_placementPending = true;
    FitFrameToPlacement();
    if (placement.State == WindowState::Maximised) setWindowState(Qt::WindowMaximized);
}

void TLumavoxForm::FitFrameToPlacement() {
    // move() places the frame, resize() sizes the client: the window manager's frame is known only
    // once the window is mapped, so the size is corrected again when it is (activation, start-up
    // continuation); a window without a frame is right at once.
    if (!m_placementPending || isMaximized()) return;
    const QMargins margins = FrameMargins();
    move(m_placedFrame.topLeft());
    resize(m_placedFrame.width() - margins.left() - margins.right(),
           m_placedFrame.height() - margins.top() - margins.bottom());
    if (!margins.isNull()) m_placementPending = false;
}

void TLumavoxForm::SavePlacementNow() {
    WindowPlacement placement;
    const QMargins margins = FrameMargins();
    const QRect frame = isMaximized() ? normalGeometry().marginsAdded(margins) : frameGeometry();
    placement.Left = frame.left();
    placement.Top = frame.top();
    placement.Width = frame.width();
    placement.Height = frame.height();
    placement.State = isMaximized() ? WindowState::Maximised : WindowState::Normal;
    SavePlacement(m_env.Ini(), "General", placement);
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
    const char* viewNames[] = {"ViewFilToolAction", "ViewEditToolAction", "ViewPlayerAction",
                               "ViewCurPalAction"};
    for (size_t i = 0; i < m_bars.size(); ++i) {
        Action(viewNames[i])->setChecked(!m_bars[i]->isHidden());
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

void TLumavoxForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shownOnce) return;
    m_shownOnce = true;
    RestorePlacement();
    const MainView view = LoadMainView(m_env.Ini());
    RestoreToolBars();
    statusBar()->setVisible(view.StatusBarVisible);
    Action("ViewSttBarAction")->setChecked(view.StatusBarVisible);
    Action("ViewRefTrkAction")->setChecked(view.ViewRefTrack);
    Action("DispMonoAction")->setChecked(view.DispMonoWav);
    m_refPane->setVisible(view.ViewRefTrack);
    m_refSplitter->setVisible(view.ViewRefTrack);
    m_headRef->setVisible(view.ViewRefTrack);
    if (view.ViewColMon && m_aux.colMon) m_aux.colMon->show();
    Action("ViewColMonAction")->setChecked(view.ViewColMon);
    activateWindow();
    ApplyShortCuts(LoadShortCuts(m_env.Ini()));
    m_volume->setValue(255 - VolumeSliderPosition(m_device->GetWaveVolume()));
    OnVolumeChanged(m_volume->value());  // writes panel 2 even when the value did not change
    QMetaObject::invokeMethod(this, &TLumavoxForm::StartupContinuation, Qt::QueuedConnection);
}

void TLumavoxForm::StartupContinuation() {
    if (m_closing) return;
    FitFrameToPlacement();
    update();
    m_dispTimer.start(m_env.DispInterval);
    // A missing project named in the settings starts an untitled project quietly.
    OpenProject(QString(), true);
    SetupBackupTimer();
    setAcceptDrops(true);
    m_started = true;
    if (!m_startFile.isEmpty()) {
        const QString file = m_startFile;
        m_startFile.clear();
        HandleDroppedFile(file);
    }
    DisplayTick();
}

void TLumavoxForm::SetupBackupTimer() {
    m_backupTimer.stop();
    if (m_env.AutoSave && m_env.SaveInterval > 0) {
        m_backupTimer.start(std::min(m_env.SaveInterval, 24 * 60) * 60000);
    }
}

void TLumavoxForm::OnVolumeChanged(int value) {
    const int position = 255 - value;
    m_device->SetWaveVolume(SliderWaveVolume(position));
    m_panels[2]->setText(QtText(VolumeStatusText(position)));
}

void TLumavoxForm::DisplayTick() {
    if (m_closing) return;
    if (TakeRepeatRestarted(m_state)) {
        SetScrollPosition(SoundStartScrollPosition(m_state.PrePlayTime.load(), m_pixelsPerMs));
    }
    const bool preview = m_aux.stpProp && m_aux.stpProp->isVisible();
    m_state.PreviewColour.store(preview ? m_aux.stpProp->PanelColour() : NoColour);

    const TimeLabel label = FormatTimeLabel(m_state.CursorTime.load(), m_state.SoundLength.load());
    const QString text = QtText(label.Text);
    if (m_timeLabel->text() != text) m_timeLabel->setText(text);
    if (label.FontColour != m_timeColour) SetTimeLabelColour(label.FontColour);

    const std::string output =
        m_env.DmxType == 1 ? NetStatusText(m_outputs && m_outputs->Artnet().NetReady(),
                                           m_outputs ? m_outputs->Artnet().Nodes().Count() : 0)
                           : DmxStatusText(m_outputs && m_outputs->Usb().DevicePresent());
    const QString panel0 = QtText(StatusPanel0Text(output, m_state.AudioAvailable.load()));
    if (m_panels[0]->text() != panel0) m_panels[0]->setText(panel0);

    // An open finished by the tick changes the time line's length: the layout follows.
    const int32_t timeline = m_state.TimelineLength.load();
    if (timeline != m_lastTimeline) {
        m_lastTimeline = timeline;
        LayoutStep();
    }
}

bool TLumavoxForm::BackupDue() const {
    return AutoBackupDue(m_env.AutoSave, m_project.Modified, m_project.ProjectFileName);
}

bool TLumavoxForm::BackupBusy() const {
    return QApplication::activeModalWidget() != nullptr ||
           QApplication::mouseButtons() != Qt::NoButton;
}

void TLumavoxForm::BackupTick() {
    if (m_backupGate.TimerFired(BackupDue(), BackupBusy())) RunBackup();
}

void TLumavoxForm::RunBackup() {
    m_panels[4]->setText(QtText(UiText::AutoBackup));
    m_panels[4]->repaint();
    const ProjectSaveResult result = m_session.SaveBackup();
    m_panels[4]->clear();
    if (result.Ok()) {
        m_backupGate.Succeeded();
    } else if (m_backupGate.Failed()) {
        ShowSaveError(result);
    }
}

void TLumavoxForm::UpdateActions() {
    if (m_closing) return;
    // The current step, multi mode and the zoom limits arrive with the time panes.
    const ActionFacts facts = GatherActionFacts(m_project, m_state, m_transport, WaveformHasData(),
                                                -1, false, false, false);
    // Commands whose work is not here yet stay disabled, whatever their rule says.
    static constexpr std::string_view kWorking[] = {
        "NewPrjAction",     "OpenPrjAction",    "SavePrjAction",     "SaveAsPrjAction",
        "TopPlayAction",    "PlayAction",       "PauseAction",       "StopAction",
        "ToTopPosAction",   "ToEndPosAction",   "ViewFilToolAction", "ViewEditToolAction",
        "ViewPlayerAction", "ViewCurPalAction", "ViewSttBarAction",  "ViewColMonAction",
        "SaveSelGrpAction", "LoadGrpAction",    "SetPrjAction"};
    for (size_t i = 0; i < kMainActionCount; ++i) {
        const std::string_view name = kActionTable[i].Name;
        const ActionState state = MainActionState(name, facts);
        const bool working =
            std::find(std::begin(kWorking), std::end(kWorking), name) != std::end(kWorking);
        m_actions[i]->setEnabled(working && state.Enabled);
        m_actions[i]->setVisible(state.Visible);
    }
    // A backup that fell due during a drag or a dialog runs at the next idle moment.
    if (!BackupBusy() && m_backupGate.Idle(BackupDue())) RunBackup();
}

void TLumavoxForm::RefreshRecentMenu() {
    const std::vector<std::string>& history = m_env.History;
    for (size_t i = 0; i < m_recentItems.size(); ++i) {
        const int index = static_cast<int>(i);
        const bool visible = RecentEntryVisible(history, index);
        m_recentItems[i]->setVisible(visible);
        if (visible) m_recentItems[i]->setText(QtText(RecentEntryCaption(index, history[i])));
    }
    m_recentMenu->setEnabled(RecentSubmenuEnabled(history));
}

void TLumavoxForm::RunProjectSettings(bool newProject) {
    auto* dialog = qobject_cast<TSetPrjDlg*>(m_aux.setPrj);
    if (!dialog) return;
    const std::string_view command = newProject ? "NewPrjAction" : "SetPrjAction";
    dialog->Prepare(QtText(FindAction(command)->Caption), newProject);
    if (dialog->exec() == QDialog::Accepted && dialog->ApplyAccepted(m_session)) {
        // After the settings the caption names the title, else the file (no "<無題>").
        setWindowTitle(QtText(WindowCaptionText(HeaderTitle(m_project.Header), m_env.PrjFile, "")));
    }
    LayoutStep();  // the time line length may have changed (times, sound)
    UpdateActions();
}

void TLumavoxForm::UpdateCaption() {
    setWindowTitle(
        QtText(WindowCaptionText(HeaderTitle(m_project.Header), m_env.PrjFile, UntitledCaption())));
}

void TLumavoxForm::LayoutStep() {
    // The time panes lay themselves out from the time line here; until they exist, a repaint.
    Invalidate();
}

void TLumavoxForm::Invalidate() {
    for (QWidget* pane : {m_waveL, m_waveR, m_markBar, m_lineEditor, m_outputStrip, m_refPane}) {
        pane->update();
    }
}

void TLumavoxForm::RepaintColourMonitor() {
    if (m_aux.colMon && m_aux.colMon->isVisible()) m_aux.colMon->update();
}

void TLumavoxForm::PlayFromStart() {
    SetScrollPosition(0);
    m_transport.PlayFromStart();
    RepaintColourMonitor();
    UpdateActions();
}

void TLumavoxForm::Play() {
    m_transport.Play();
    RepaintColourMonitor();
    UpdateActions();
}

void TLumavoxForm::Stop() {
    m_transport.Stop();
    RepaintColourMonitor();
    UpdateActions();
}

void TLumavoxForm::ToSoundStart() {
    m_transport.ToSoundStart();
    SetScrollPosition(SoundStartScrollPosition(m_state.PrePlayTime.load(), m_pixelsPerMs));
    Invalidate();
    UpdateActions();
}

void TLumavoxForm::ToSoundEnd() {
    m_transport.ToSoundEnd();
    const int64_t width = m_scrollBar->pageStep();
    SetScrollPosition(static_cast<int>(SoundEndScrollPosition(
        m_scrollBar->maximum() + width, width, m_state.PostPlayTime.load(), m_pixelsPerMs)));
    Invalidate();
    UpdateActions();
}

void TLumavoxForm::ShowWarning(const QString& text) {
    // The busy pointer, if any, gives way while the box is up.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(QMessageBox::Warning, QtText(Msg::Warning), text, QMessageBox::Ok, this);
    box.exec();
    if (busy) QApplication::restoreOverrideCursor();
}

SaveAnswer TLumavoxForm::CommandUi::AskSave(std::string_view text) {
    QMessageBox box(QMessageBox::Question, QtText(Msg::Confirm), QtText(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, &m_form);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return SaveAnswer::Yes;
        case QMessageBox::No:
            return SaveAnswer::No;
        default:
            return SaveAnswer::Cancel;
    }
}

std::optional<std::string> TLumavoxForm::CommandUi::ChooseSavePath(const std::string& initialName) {
    QFileDialog dialog(&m_form);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QtText(ProjectFileFilter()));
    dialog.setDefaultSuffix(QStringLiteral("PRJ"));
    // Qt asks before an existing file is replaced (the confirmation stays on).
    if (!initialName.empty()) {
        const QFileInfo info(QtText(initialName));
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return StdText(dialog.selectedFiles().constFirst());
}

void TLumavoxForm::CommandUi::ShowSaveError(const ProjectSaveResult& error) {
    m_form.ShowSaveError(error);
}

void TLumavoxForm::ShowSaveError(const ProjectSaveResult& error) {
    ShowWarning(QtText(error.Error) + QStringLiteral("\n") + QtText(error.SystemError));
}

QMessageBox::StandardButton TLumavoxForm::AskSaveChanges() {
    switch (lumavox::AskSaveChanges(m_session, m_project, m_env, m_commandUi)) {
        case SaveAnswer::Yes:
            return QMessageBox::Yes;
        case SaveAnswer::No:
            return QMessageBox::No;
        case SaveAnswer::Cancel:
            break;
    }
    return QMessageBox::Cancel;
}

bool TLumavoxForm::SaveProject() {
    const bool saved = SaveProjectCommand(m_session, m_project, m_env, m_commandUi);
    if (saved) UpdateCaption();
    Invalidate();
    return saved;
}

bool TLumavoxForm::SaveProjectAs() {
    const bool saved = SaveProjectAsCommand(m_session, m_env, m_commandUi);
    if (saved) UpdateCaption();
    Invalidate();
    return saved;
}

bool TLumavoxForm::OpenProject(const QString& path, bool atStartUp) {
    m_dispTimer.stop();
    const OpenResult result =
        atStartUp ? m_session.OpenAtStartUp() : m_session.OpenProject(StdText(path));
    if (result.Outcome == OpenOutcome::Refused) {
        // Nothing changed; a recent entry naming a file that is gone is dropped.
        ShowWarning(QtText(FileStatusText(result.Status)));
        if (result.Status == FileStatus::NotFound) {
            const int index = m_env.HistoryIndex(StdText(path));
            if (index >= 0) m_env.History.erase(m_env.History.begin() + index);
        }
    } else {
        if (!result.ResaveError.Ok()) ShowSaveError(result.ResaveError);
        if (result.Outcome != OpenOutcome::Untitled) UpdateCaption();
    }
    Invalidate();
    if (m_shownOnce) m_dispTimer.start(m_env.DispInterval);
    UpdateActions();
    // A new project goes on in the project settings dialog, with the display timer running.
    if (result.Outcome == OpenOutcome::NewProject) RunProjectSettings(true);
    return result.Outcome == OpenOutcome::Opened;
}

void TLumavoxForm::OpenRecent(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_env.History.size()) return;
    const QString path = QtText(m_env.History[static_cast<size_t>(index)]);
    if (AskSaveChanges() == QMessageBox::Cancel) return;
    OpenProject(path);
}

void TLumavoxForm::HandleDroppedFile(const QString& path) {
    const std::string files[] = {StdText(path)};
    switch (ClassifyDrop(files)) {
        case DropAction::Project:
            if (AskSaveChanges() != QMessageBox::Cancel) OpenProject(path);
            break;
        case DropAction::Sound:
            if (m_session.ChangeSound(files[0])) {
                Invalidate();
                UpdateActions();
            }
            break;
        case DropAction::Ignore:
            break;
    }
}

void TLumavoxForm::SaveGroup() {
    const QString path =
        QFileDialog::getSaveFileName(this, QString(), QString(), QtText(GroupFileFilter()));
    if (path.isEmpty()) return;
    QString file = path;
    if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".GRP");
    const ProjectSaveResult result = SaveGroupFile(m_project, StdText(file));
    if (!result.Ok())
        ShowWarning(QtText(result.Error) + QStringLiteral("\n") + QtText(result.SystemError));
}

void TLumavoxForm::LoadGroup() {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QtText(GroupFileFilter()));
    dialog.setDefaultSuffix(QStringLiteral("GRP"));
    if (!m_env.PrjFile.empty())
        dialog.setDirectory(QFileInfo(QtText(m_env.PrjFile)).absolutePath());
    dialog.selectFile(QStringLiteral("*.GRP"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    LoadGroupFile(m_project, StdText(dialog.selectedFiles().constFirst()),
                  m_state.CursorTime.load());
    Invalidate();
    int selected = 0;
    for (const TStepList& line : m_project.Lines) {
        for (int32_t i = 0; i < line.Count(); ++i) selected += line.At(i).Selected != 0 ? 1 : 0;
    }
    m_panels[3]->setText(QtText(SelectionCountText(selected)));
}

void TLumavoxForm::ShowHelp(int context) {
    if (!m_help) {
        // Beside the program in a build, in the shared data folder once installed.
        QString folder = QtText(m_env.ExeDir) + QStringLiteral("help");
        const QString installed = QtText(m_env.ExeDir) + QStringLiteral("../share/lumavox/help");
        if (!QFileInfo::exists(folder) && QFileInfo::exists(installed)) folder = installed;
        m_help = new HelpWindow(QDir::cleanPath(folder), this);
    }
    m_help->ShowTopic(context);
}

bool TLumavoxForm::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::StatusTip:
            // Hints go to panel 4 instead of hiding the panels as a temporary message.
            if (!m_closing) m_panels[4]->setText(static_cast<QStatusTipEvent*>(event)->tip());
            return true;
        case QEvent::WindowActivate:
            // By the first activation the window manager has framed the window: the last fit.
            FitFrameToPlacement();
            m_placementPending = false;
            // Also after a modal dialog closes.
            LayoutStep();
            break;
        case QEvent::WhatsThis:
        case QEvent::KeyPress:
            break;
        default:
            break;
    }
    return QMainWindow::event(event);
}

void TLumavoxForm::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (m_started && urls.size() == 1 && urls.constFirst().isLocalFile()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void TLumavoxForm::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!m_started || urls.size() != 1 || !urls.constFirst().isLocalFile()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Handled after the drop returns: a box opened inside the drop would stall the drag source.
    const QString path = urls.constFirst().toLocalFile();
    QMetaObject::invokeMethod(
        this, [this, path] { HandleDroppedFile(path); }, Qt::QueuedConnection);
}

void TLumavoxForm::CloseWithoutAsking() {
    m_askOnClose = false;
    // Open dialogs and boxes give way first (each answers as if cancelled); the window closes once
    // their loops have returned, and the program ends with it.
    for (QWidget* modal = QApplication::activeModalWidget(); modal;
         modal = QApplication::activeModalWidget()) {
        if (!modal->close()) break;
        if (QApplication::activeModalWidget() == modal) break;
    }
    QTimer::singleShot(0, this, [this] {
        close();
        QApplication::quit();
    });
}

void TLumavoxForm::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->accept();
        return;
    }
    if (m_askOnClose && AskSaveChanges() == QMessageBox::Cancel) {
        event->ignore();
        return;
    }
    ClosingSequence();
    event->accept();
}

void TLumavoxForm::ClosingSequence() {
    m_closing = true;
    m_dispTimer.stop();
    m_backupTimer.stop();
    PostRequest(m_state, m_state.StopRequest);
    PostRequest(m_state, m_state.CloseRequest);
    if (m_outputs) m_env.TxUniverse = m_outputs->Artnet().TxUniverse();
    m_env.SaveOptions(m_state.PrePlayTime.load(), m_state.PostPlayTime.load());
    if (m_outputs) m_outputs->Terminate();
    if (m_help) m_help->close();
    SavePlacementNow();
    MainView view = LoadMainView(m_env.Ini());
    view.ViewRefTrack = Action("ViewRefTrkAction")->isChecked();
    view.DispMonoWav = Action("DispMonoAction")->isChecked();
    view.ViewColMon = m_aux.colMon && m_aux.colMon->isVisible();
    SaveMainView(m_env.Ini(), view);
    if (m_aux.colMon) m_aux.colMon->close();
    SaveToolBars();
    SaveStatusBar(m_env.Ini(), !statusBar()->isHidden());
    SaveShortCuts(m_env.Ini(), CurrentShortCuts());
    const SaveResult saved = m_env.Save(*m_device);
    if (!saved.Ok()) {
        // The settings could not be written; the program still closes.
        ShowWarning(QtText(saved.Error) + QStringLiteral("\n") + QtText(saved.SystemError));
    }
}

}  // namespace lumavox
