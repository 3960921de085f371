#include "dialogs/TOptionDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <string>

#include "dialogs/QtPaletteImage.h"
#include "dialogs/TArtNetPropDlg.h"
#include "dmx/OutputPair.h"
#include "editor/QtText.h"
#include "editor/logic/ActionTable.h"
#include "editor/logic/DialogTexts.h"
#include "editor/logic/UiLanguage.h"
#include "engine/OutputTimingSetup.h"
#include "settings/EnvData.h"

namespace lumavox {

namespace {

using namespace std::chrono_literals;

// A fixed text of the dialog, in the chosen language.
QString T(std::string_view text) {
    return Tr(text);
}

QColor ToQColor(int32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

int32_t FromQColor(const QColor& colour) {
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

// Rows "caption<TAB>shortcut" drawn as two columns.
class TabColumnsDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem blank = option;
        initStyleOption(&blank, index);
        const QString text = blank.text;
        blank.text.clear();
        QWidget* widget = blank.widget ? const_cast<QWidget*>(blank.widget) : nullptr;
        QStyle* style = widget ? widget->style() : nullptr;
        if (style) style->drawControl(QStyle::CE_ItemViewItem, &blank, painter, widget);
        const int tab = static_cast<int>(text.indexOf(QLatin1Char('\t')));
        const QPalette::ColorRole role =
            option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text;
        painter->save();
        painter->setPen(option.palette.color(role));
        const QRect r = option.rect.adjusted(3, 0, -3, 0);
        painter->drawText(r, Qt::AlignLeft | Qt::AlignVCenter, tab < 0 ? text : text.left(tab));
        if (tab >= 0) {
            painter->drawText(r.adjusted(r.width() * 3 / 5, 0, 0, 0),
                              Qt::AlignLeft | Qt::AlignVCenter, text.mid(tab + 1));
        }
        painter->restore();
    }
};

QComboBox* MakeList(QWidget* parent, int width) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(false);
    combo->setFixedWidth(width);
    return combo;
}

template <size_t N>
void Refill(QComboBox* combo, const std::array<std::string_view, N>& items) {
    combo->clear();
    for (std::string_view item : items) combo->addItem(T(item));
    combo->setCurrentIndex(-1);
}

// The item whose text is value in decimal, or none.
void SelectNumber(QComboBox* combo, int value) {
    combo->setCurrentIndex(combo->findText(QString::number(value), Qt::MatchExactly));
}

}  // namespace

TOptionDlg::TOptionDlg(EnvData& env, IOptionHost& host, OutputPair* outputs, QWidget* parent)
    : QDialog(parent), m_env(env), m_host(host), m_outputs(outputs) {
    setObjectName(QStringLiteral("TOptionDlg"));
    setWindowTitle(QtText(UiText::OptionsTitle));

    m_pages = new QTabWidget(this);
    m_pages->addTab(CreateDisplayPage(), T(dlgtext::kOptionPages[0]));
    m_pages->addTab(CreateOperationPage(), T(dlgtext::kOptionPages[1]));
    m_pages->addTab(CreateShortCutPage(), T(dlgtext::kOptionPages[2]));
    m_pages->addTab(CreatePalettePage(), T(dlgtext::kOptionPages[3]));
    m_pages->addTab(CreateAutoSavePage(), T(dlgtext::kOptionPages[4]));
    m_pages->addTab(CreateDmxPage(), T(dlgtext::kOptionPages[5]));
    m_pages->addTab(CreateAdvancedPage(), T(dlgtext::kOptionPages[6]));
    // All seven tabs in one row, none behind scroll arrows.
    m_pages->setMinimumWidth(m_pages->tabBar()->sizeHint().width() + 16);

    auto* ok = new QPushButton(T(dlgtext::kOk), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(T(dlgtext::kCancel), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(ok, &QPushButton::clicked, this, &TOptionDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &TOptionDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);  // fixed border

    // The node list timer runs for the whole life of the dialog, shown or not.
    m_nodeTimer.setInterval(100);
    connect(&m_nodeTimer, &QTimer::timeout, this, &TOptionDlg::RefreshNodes);
    m_nodeTimer.start();
}

QWidget* TOptionDlg::CreateDisplayPage() {
    auto* page = new QWidget;
    auto* group = new QGroupBox(T(dlgtext::kColourGroup), page);
    m_colourCombo = MakeList(group, 180);
    m_colourCombo->setObjectName(QStringLiteral("ColorComboBox"));
    m_swatch = new QFrame(group);
    m_swatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_swatch->setFixedSize(60, 24);
    m_swatch->setAutoFillBackground(true);
    m_chooseColour = new QPushButton(T(dlgtext::kChooseColour), group);
    m_chooseColour->setObjectName(QStringLiteral("RefColBtn"));
    auto* row = new QHBoxLayout(group);
    row->addWidget(m_colourCombo);
    row->addWidget(m_swatch);
    row->addWidget(m_chooseColour);
    row->addStretch(1);
    connect(m_colourCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0) return;
        SetWorkingColour(static_cast<size_t>(index), m_colours[static_cast<size_t>(index)]);
        m_chooseColour->setEnabled(true);
    });
    connect(m_chooseColour, &QPushButton::clicked, this, &TOptionDlg::ChooseColour);

    m_switches[0] = new QCheckBox(T(dlgtext::kFlatButtons), page);
    m_switches[1] = new QCheckBox(T(dlgtext::kDispTracking), page);

    // The language names stay in their own language; the choice takes effect at the next start.
    auto* languageGroup = new QGroupBox(T(dlgtext::kLanguageGroup), page);
    m_language = new QComboBox(languageGroup);
    m_language->setObjectName(QStringLiteral("LanguageComboBox"));
    for (std::string_view item : dlgtext::kLanguageItems) m_language->addItem(T(item));
    auto* languageRow = new QHBoxLayout(languageGroup);
    languageRow->addWidget(m_language);
    languageRow->addWidget(new QLabel(T(dlgtext::kLanguageNote), languageGroup));
    languageRow->addStretch(1);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group);
    layout->addWidget(m_switches[0]);
    layout->addWidget(m_switches[1]);
    layout->addWidget(languageGroup);
    layout->addStretch(1);
    return page;
}

QWidget* TOptionDlg::CreateOperationPage() {
    auto* page = new QWidget;
    m_switches[2] = new QCheckBox(T(dlgtext::kMonClickTab), page);
    m_switches[3] = new QCheckBox(T(dlgtext::kUseWheel), page);
    m_switches[4] = new QCheckBox(T(dlgtext::kCurActivate), page);
    auto* layout = new QVBoxLayout(page);
    for (size_t i = 2; i < 5; ++i) layout->addWidget(m_switches[i]);
    layout->addStretch(1);
    return page;
}

QWidget* TOptionDlg::CreateShortCutPage() {
    auto* page = new QWidget;
    m_shortCutList = new QListWidget(page);
    m_shortCutList->setObjectName(QStringLiteral("ShortCutList"));
    m_shortCutList->setItemDelegate(new TabColumnsDelegate(m_shortCutList));
    m_shortCutList->setMinimumSize(420, 220);

    auto* group = new QGroupBox(T(dlgtext::kKeyGroup), page);
    m_keyCombo = MakeList(group, 90);
    m_keyCombo->setObjectName(QStringLiteral("KeyComboBox"));
    m_keyCombo->setMaxVisibleItems(5);
    m_keyCombo->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_ctrl = new QCheckBox(QStringLiteral("Ctrl"), group);
    m_shift = new QCheckBox(QStringLiteral("Shift"), group);
    m_alt = new QCheckBox(QStringLiteral("Alt"), group);
    m_change = new QPushButton(T(dlgtext::kChangeKey), group);
    m_clear = new QPushButton(T(dlgtext::kClearKey), group);
    auto* keys = new QHBoxLayout(group);
    keys->addWidget(m_keyCombo);
    keys->addWidget(m_ctrl);
    keys->addWidget(m_shift);
    keys->addWidget(m_alt);
    keys->addStretch(1);
    keys->addWidget(m_change);
    keys->addWidget(m_clear);
    connect(m_change, &QPushButton::clicked, this, &TOptionDlg::ChangeShortCut);
    connect(m_clear, &QPushButton::clicked, this, &TOptionDlg::ClearShortCut);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_shortCutList, 1);
    layout->addWidget(group);
    return page;
}

QWidget* TOptionDlg::CreatePalettePage() {
    auto* page = new QWidget;
    auto* group = new QGroupBox(T(dlgtext::kPaletteGroup), page);
    m_paletteEdit = new QLineEdit(group);
    m_paletteEdit->setObjectName(QStringLiteral("PalFilEdit"));
    m_paletteEdit->setMinimumWidth(360);
    auto* browse = new QPushButton(QStringLiteral("..."), group);
    browse->setObjectName(QStringLiteral("RefPalFilBtn"));
    browse->setFixedSize(35, 25);
    auto* row = new QHBoxLayout(group);
    row->addWidget(m_paletteEdit, 1);
    row->addWidget(browse);
    connect(m_paletteEdit, &QLineEdit::textEdited, this, [this] { m_paletteChanged = true; });
    connect(browse, &QPushButton::clicked, this, &TOptionDlg::ChoosePalette);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group);
    layout->addStretch(1);
    return page;
}

QWidget* TOptionDlg::CreateAutoSavePage() {
    auto* page = new QWidget;
    m_autoSave = new QCheckBox(T(dlgtext::kAutoBackup), page);
    m_saveInterval = MakeList(page, 70);
    m_saveInterval->setObjectName(QStringLiteral("SaveIntervalComboBox"));
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(T(dlgtext::kInterval), page));
    row->addWidget(m_saveInterval);
    row->addWidget(new QLabel(T(dlgtext::kMinutes), page));
    row->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_autoSave);
    layout->addLayout(row);
    layout->addStretch(1);
    return page;
}

QWidget* TOptionDlg::CreateDmxPage() {
    auto* page = new QWidget;
    m_interfaceGroup = new QGroupBox(T(dlgtext::kInterfaceGroup), page);
    m_usbRadio = new QRadioButton(T(dlgtext::kUsbDmx), m_interfaceGroup);
    m_artNetRadio = new QRadioButton(T(dlgtext::kArtNet), m_interfaceGroup);
    m_interface = new QButtonGroup(this);
    m_interface->addButton(m_usbRadio, 0);
    m_interface->addButton(m_artNetRadio, 1);
    m_sacnRadio = new QRadioButton(T(dlgtext::kSacn), m_interfaceGroup);
    m_interface->addButton(m_sacnRadio, 2);
    auto* radios = new QHBoxLayout(m_interfaceGroup);
    radios->addWidget(m_usbRadio);
    radios->addWidget(m_artNetRadio);
    radios->addWidget(m_sacnRadio);
    connect(m_interface, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked) return;
        InterfaceChosen(id == 2   ? OutputType::Sacn
                        : id == 1 ? OutputType::ArtNet
                                  : OutputType::Usb);
    });

    m_artNetGroup = new QGroupBox(page);
    m_artNetGroup->setObjectName(QStringLiteral("ArtNetGroupBox"));
    // The dialog has a fixed size: the hidden group keeps its room for USB DMX as well.
    QSizePolicy keepRoom = m_artNetGroup->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    m_artNetGroup->setSizePolicy(keepRoom);
    auto* portGroup = new QGroupBox(T(dlgtext::kOutputPortGroup), m_artNetGroup);
    m_subNet = MakeList(portGroup, 50);
    m_id = MakeList(portGroup, 50);
    for (int digit = 0; digit < 16; ++digit) {
        const QString text = QString::number(digit, 16).toUpper();
        m_subNet->addItem(text);
        m_id->addItem(text);
    }
    auto* ports = new QHBoxLayout(portGroup);
    ports->addWidget(new QLabel(T(dlgtext::kSubNet), portGroup));
    ports->addWidget(m_subNet);
    ports->addWidget(new QLabel(T(dlgtext::kId), portGroup));
    ports->addWidget(m_id);
    ports->addStretch(1);
    connect(m_subNet, &QComboBox::currentIndexChanged, this, &TOptionDlg::PortChanged);
    connect(m_id, &QComboBox::currentIndexChanged, this, &TOptionDlg::PortChanged);

    m_ipLabel = new QLabel(m_artNetGroup);
    m_ipLabel->setObjectName(QStringLiteral("IpAdrLabel"));
    m_nodeList = new QListWidget(m_artNetGroup);
    m_nodeList->setObjectName(QStringLiteral("NodeListBox"));
    QFont mono(QStringLiteral("IPAGothic"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPixelSize(13);
    m_nodeList->setFont(mono);
    m_nodeList->setMinimumHeight(120);
    m_scan = new QPushButton(T(dlgtext::kScan), m_artNetGroup);
    m_details = new QPushButton(T(dlgtext::kDetails), m_artNetGroup);
    m_details->setEnabled(false);
    connect(m_scan, &QPushButton::clicked, this, &TOptionDlg::Scan);
    connect(m_details, &QPushButton::clicked, this, &TOptionDlg::OpenNodeDetails);
    connect(m_nodeList, &QListWidget::itemDoubleClicked, this, &TOptionDlg::OpenNodeDetails);
    connect(m_nodeList, &QListWidget::currentRowChanged, this, &TOptionDlg::UpdateDetailsButton);

    auto* nodeButtons = new QVBoxLayout;
    nodeButtons->addWidget(m_scan);
    nodeButtons->addWidget(m_details);
    nodeButtons->addStretch(1);
    auto* nodes = new QHBoxLayout;
    nodes->addWidget(m_nodeList, 1);
    nodes->addLayout(nodeButtons);
    auto* artNet = new QVBoxLayout(m_artNetGroup);
    auto* top = new QHBoxLayout;
    top->addWidget(portGroup);
    top->addWidget(m_ipLabel, 1, Qt::AlignBottom);
    artNet->addLayout(top);
    // Art-Net delivery, applied at once like the universe and stored in [Output].
    m_unicast = new QCheckBox(T(dlgtext::kArtnetUnicast), m_artNetGroup);
    m_unicast->setObjectName(QStringLiteral("UnicastCheckBox"));
    m_artSync = new QCheckBox(T(dlgtext::kArtSync), m_artNetGroup);
    m_artSync->setObjectName(QStringLiteral("ArtSyncCheckBox"));
    connect(m_unicast, &QCheckBox::toggled, this, [this](bool on) {
        if (m_showing) return;
        if (m_outputs) m_outputs->Artnet().SetUnicast(on);
        m_env.ArtnetUnicast = on;
    });
    connect(m_artSync, &QCheckBox::toggled, this, [this](bool on) {
        if (m_showing) return;
        if (m_outputs) m_outputs->Artnet().SetArtSync(on);
        m_env.ArtSync = on;
    });
    auto* delivery = new QHBoxLayout;
    delivery->addWidget(m_unicast);
    delivery->addWidget(m_artSync);
    delivery->addStretch(1);
    artNet->addLayout(delivery);
    artNet->addLayout(nodes);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_interfaceGroup);
    auto* outputGroups = new QGridLayout;  // the Art-Net and the sACN group share one place
    outputGroups->addWidget(m_artNetGroup, 0, 0);
    outputGroups->addWidget(CreateSacnGroup(page), 0, 0, Qt::AlignTop);
    layout->addLayout(outputGroups, 1);
    return page;
}

QWidget* TOptionDlg::CreateAdvancedPage() {
    auto* page = new QWidget;
    m_dispPeriod = MakeList(page, 70);
    m_dispPeriod->setObjectName(QStringLiteral("DspIntvlComboBox"));
    m_dmxPeriod = MakeList(page, 70);
    m_dmxPeriod->setObjectName(QStringLiteral("DmxIntvlComboBox"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(T(dlgtext::kDisplayPeriod), page), 0, 0);
    grid->addWidget(m_dispPeriod, 0, 1);
    grid->addWidget(new QLabel(T(dlgtext::kMs), page), 0, 2);
    grid->addWidget(new QLabel(T(dlgtext::kDmxPeriod), page), 1, 0);
    grid->addWidget(m_dmxPeriod, 1, 1);
    grid->addWidget(new QLabel(T(dlgtext::kMs), page), 1, 2);
    grid->setColumnStretch(3, 1);
    connect(m_dispPeriod, &QComboBox::currentIndexChanged, this, [this] {
        if (m_showing) return;
        bool number = false;
        int period = m_dispPeriod->currentText().toInt(&number);
        if (!number) period = 50;
        m_host.SetDisplayPeriod(period);
        m_env.DispInterval = period;  // the run's period; never written to the settings file
    });
    connect(m_dmxPeriod, &QComboBox::currentIndexChanged, this, [this] {
        if (m_showing) return;
        bool number = false;
        int period = m_dmxPeriod->currentText().toInt(&number);
        if (!number) period = 20;
        // The USB thread is resumed only when it was running: never beside the Art-Net thread.
        if (m_outputs) m_outputs->SetUsbPeriod(static_cast<uint32_t>(period));
        m_env.DmxInterval = period;
    });
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addWidget(CreateTimingGroup(page));
    layout->addStretch(1);
    return page;
}

// Event timing and the light offsets: applied at once and stored in [Output].
QGroupBox* TOptionDlg::CreateTimingGroup(QWidget* page) {
    auto* group = new QGroupBox(T(dlgtext::kOutputTiming), page);
    m_eventTimed = new QCheckBox(T(dlgtext::kEventTimed), group);
    m_eventTimed->setObjectName(QStringLiteral("EventTimedCheckBox"));
    const auto spin = [group](int low, int high, const char* name) {
        auto* box = new QSpinBox(group);
        box->setRange(low, high);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    m_minFrameGap = spin(0, 100, "MinFrameGapSpinBox");
    m_minFrameGap->setSuffix(QStringLiteral(" ms"));
    m_lightOffsets = {spin(-500, 500, "UsbLightOffsetSpinBox"),
                      spin(-500, 500, "ArtnetLightOffsetSpinBox"),
                      spin(-500, 500, "SacnLightOffsetSpinBox")};
    auto* rows = new QVBoxLayout(group);
    auto* events = new QHBoxLayout;
    events->addWidget(m_eventTimed);
    events->addSpacing(12);
    events->addWidget(new QLabel(T(dlgtext::kMinFrameGap), group));
    events->addWidget(m_minFrameGap);
    events->addStretch(1);
    rows->addLayout(events);
    auto* offsets = new QHBoxLayout;
    offsets->addWidget(new QLabel(T(dlgtext::kLightOffset), group));
    const std::array<const char*, 3> names = {"USB", "Art-Net", "sACN"};
    for (size_t i = 0; i < names.size(); ++i) {
        offsets->addSpacing(8);
        offsets->addWidget(new QLabel(QString::fromLatin1(names[i]), group));
        offsets->addWidget(m_lightOffsets[i]);
    }
    offsets->addStretch(1);
    rows->addLayout(offsets);
    const auto apply = [this] {
        if (m_showing) return;
        m_env.EventTimed = m_eventTimed->isChecked();
        m_env.MinFrameGapMs = m_minFrameGap->value();
        m_env.UsbLightOffsetMs = m_lightOffsets[0]->value();
        m_env.ArtnetLightOffsetMs = m_lightOffsets[1]->value();
        m_env.SacnLightOffsetMs = m_lightOffsets[2]->value();
        if (m_outputs) m_outputs->SetTiming(OutputTimingFrom(m_env));
    };
    connect(m_eventTimed, &QCheckBox::toggled, this, apply);
    connect(m_minFrameGap, &QSpinBox::valueChanged, this, apply);
    for (QSpinBox* box : m_lightOffsets) connect(box, &QSpinBox::valueChanged, this, apply);
    return group;
}

void TOptionDlg::SetWorkingColour(size_t index, int32_t colour) {
    if (index >= m_colours.size()) return;
    m_colours[index] = colour;
    QPalette palette = m_swatch->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    m_swatch->setPalette(palette);
}

void TOptionDlg::showEvent(QShowEvent* event) {
    m_showing = true;
    for (size_t i = 0; i < m_colours.size(); ++i) m_colours[i] = m_env.Colour(i);
    Refill(m_colourCombo, dlgtext::kColourItems);
    m_chooseColour->setEnabled(false);
    m_swatch->setPalette(palette());

    const std::array<bool, 5> switches = {m_env.FlatToolBar, m_env.DispTracking, m_env.MonClickTab,
                                          m_env.UseWheel, m_env.CurActivate};
    for (size_t i = 0; i < switches.size(); ++i) m_switches[i]->setChecked(switches[i]);
    const auto language =
        std::find(dlgtext::kLanguageValues.begin(), dlgtext::kLanguageValues.end(), m_env.Language);
    m_language->setCurrentIndex(
        language == dlgtext::kLanguageValues.end()
            ? 0
            : static_cast<int>(language - dlgtext::kLanguageValues.begin()));

    m_shortCutList->clear();
    for (size_t i = 0; i < kActionTable.size(); ++i) {
        const std::string row = CaptionWithoutAccessKeys(Translated(kActionTable[i].Caption)) +
                                "\t" + ShortCutToText(m_host.ActionShortCut(i));
        m_shortCutList->addItem(QtText(row));
    }
    m_shortCutList->setCurrentRow(0);
    Refill(m_keyCombo, kShortCutKeyNames);

    m_paletteEdit->setText(QtText(m_env.ImgFile));
    m_paletteChanged = false;

    Refill(m_saveInterval, dlgtext::kSaveIntervals);
    SelectNumber(m_saveInterval, m_env.SaveInterval);
    m_autoSave->setChecked(m_env.AutoSave);

    Refill(m_dispPeriod, dlgtext::kDisplayPeriods);
    SelectNumber(m_dispPeriod, m_host.DisplayPeriod());
    Refill(m_dmxPeriod, dlgtext::kDmxPeriods);
    SelectNumber(m_dmxPeriod,
                 m_outputs ? static_cast<int>(m_outputs->Usb().Period()) : m_env.DmxInterval);

    // Showing the interface changes nothing but the groups' visibility.
    const OutputType type = OutputTypeOf(m_env.DmxType, m_env.Sacn.Selected);
    const bool artNet = type == OutputType::ArtNet;
    (type == OutputType::Sacn ? m_sacnRadio
     : artNet                 ? m_artNetRadio
                              : m_usbRadio)
        ->setChecked(true);
    m_artNetGroup->setVisible(artNet);
    m_interfaceGroup->setEnabled(!m_switching);
    m_artNetGroup->setEnabled(!m_switching);
    ShowSacn();

    m_ipLabel->setText(T(dlgtext::kIpPrefix) +
                       (m_outputs ? QtText(m_outputs->Artnet().LocalAddressText()) : QString()));
    const int universe = m_outputs ? m_outputs->Artnet().TxUniverse() : m_env.TxUniverse;
    m_subNet->setCurrentIndex((universe >> 4) & 0xF);
    m_id->setCurrentIndex(universe & 0xF);
    m_unicast->setChecked(m_outputs ? m_outputs->Artnet().Unicast() : m_env.ArtnetUnicast);
    m_artSync->setChecked(m_outputs ? m_outputs->Artnet().ArtSync() : m_env.ArtSync);
    m_eventTimed->setChecked(m_env.EventTimed);
    m_minFrameGap->setValue(m_env.MinFrameGapMs);
    m_lightOffsets[0]->setValue(m_env.UsbLightOffsetMs);
    m_lightOffsets[1]->setValue(m_env.ArtnetLightOffsetMs);
    m_lightOffsets[2]->setValue(m_env.SacnLightOffsetMs);
    if (m_outputs) m_outputs->Artnet().Nodes().SetNodesChanged();
    m_showing = false;
    QDialog::showEvent(event);
}

void TOptionDlg::ChooseColour() {
    const int index = m_colourCombo->currentIndex();
    if (index < 0) return;
    const QColor colour =
        QColorDialog::getColor(ToQColor(m_colours[static_cast<size_t>(index)]), this);
    if (colour.isValid()) SetWorkingColour(static_cast<size_t>(index), FromQColor(colour));
}

void TOptionDlg::ChangeShortCut() {
    QListWidgetItem* item = m_shortCutList->currentItem();
    if (!item) return;
    const int row = m_shortCutList->row(item);
    QString text = item->text();
    const int tab = static_cast<int>(text.indexOf(QLatin1Char('\t')));
    text = tab < 0 ? text + QLatin1Char('\t') : text.left(tab + 1);
    QString keys;
    if (m_shift->isChecked()) keys += QStringLiteral("Shift+");
    if (m_ctrl->isChecked()) keys += QStringLiteral("Ctrl+");
    if (m_alt->isChecked()) keys += QStringLiteral("Alt+");
    keys += m_keyCombo->currentText();
    item->setText(text + keys);
    m_host.SetActionShortCut(static_cast<size_t>(row), TextToShortCut(StdText(keys)));
}

void TOptionDlg::ClearShortCut() {
    QListWidgetItem* item = m_shortCutList->currentItem();
    if (!item) return;
    const QString text = item->text();
    const int tab = static_cast<int>(text.indexOf(QLatin1Char('\t')));
    item->setText(tab < 0 ? text + QLatin1Char('\t') : text.left(tab + 1));
    m_host.SetActionShortCut(static_cast<size_t>(m_shortCutList->row(item)), 0);
}

void TOptionDlg::ChoosePalette() {
    const QString filter = T(dlgtext::kBitmapFilter) + QStringLiteral(";;") +
                           T(dlgtext::kJpegFilter) + QStringLiteral(";;") + T(dlgtext::kPngFilter);
    const QString path =
        QFileDialog::getOpenFileName(this, QtText(Msg::SelPalImage), QString(), filter);
    if (path.isEmpty()) return;
    m_paletteEdit->setText(path);
    m_paletteChanged = true;
}

void TOptionDlg::InterfaceChosen(OutputType type) {
    if (m_showing) return;
    const bool artNet = type == OutputType::ArtNet;
    m_artNetGroup->setVisible(artNet);
    m_sacnGroup->setVisible(type == OutputType::Sacn);
    const OutputType was = OutputTypeOf(m_env.DmxType, m_env.Sacn.Selected);
    if (type == was) {
        m_artNetGroup->setEnabled(!m_switching);
        return;
    }
    // Park the running thread now, resume the other one 250 ms later; the radios stay disabled
    // in between, so a second click cannot start a second switch, and the UI keeps running.
    // DmxType keeps the Art-Net/USB choice while sACN is chosen.
    m_env.Sacn.Selected = type == OutputType::Sacn;
    if (type != OutputType::Sacn) m_env.DmxType = artNet ? 1 : 0;
    m_switching = true;
    m_interfaceGroup->setEnabled(false);
    m_artNetGroup->setEnabled(false);
    if (m_outputs) {
        if (type != OutputType::Usb && m_outputs->Usb().Running()) m_outputs->Usb().Suspend();
        if (!artNet && m_outputs->Artnet().Running()) m_outputs->Artnet().Suspend();
        if (type != OutputType::Sacn && m_outputs->HasSacn() && m_outputs->Sacn().Running()) {
            m_outputs->Sacn().Suspend();
        }
    }
    QTimer::singleShot(OutputPair::kSwitchSettle, this, [this, type] { FinishSwitch(type); });
}

void TOptionDlg::FinishSwitch(OutputType type) {
    if (m_outputs) {
        // The other thread is parked already: no second wait. Art-Net: node list emptied,
        // thread resumed, one poll.
        m_outputs->SwitchTo(type, 0ms);
    }
    if (type == OutputType::ArtNet) m_nodeList->clear();
    m_switching = false;
    m_interfaceGroup->setEnabled(true);
    m_artNetGroup->setEnabled(true);
    ShowSacnTarget();
}

void TOptionDlg::PortChanged() {
    if (m_showing || m_subNet->currentIndex() < 0 || m_id->currentIndex() < 0) return;
    const int32_t universe = m_subNet->currentIndex() * 16 + m_id->currentIndex();
    if (m_outputs) m_outputs->Artnet().SetTxUniverse(universe);
    m_env.TxUniverse = universe;
}

void TOptionDlg::RefreshNodes() {
    if (m_outputs && m_outputs->Artnet().Nodes().TakeNodesChanged()) {
        const int row = m_nodeList->currentRow();
        m_nodeList->clear();
        for (const NodeEntry& entry : m_outputs->Artnet().Nodes().Entries()) {
            m_nodeList->addItem(QtText(NodeListLine(entry)));
        }
        if (row >= 0 && row < m_nodeList->count()) m_nodeList->setCurrentRow(row);
    }
    UpdateDetailsButton();
}

void TOptionDlg::Scan() {
    m_nodeList->clear();
    if (!m_outputs) return;
    m_outputs->Artnet().Nodes().Clear();
    m_outputs->Artnet().SendPoll();
}

void TOptionDlg::UpdateDetailsButton() {
    const int row = m_nodeList->currentRow();
    const int count = m_outputs ? m_outputs->Artnet().Nodes().Count() : 0;
    m_details->setEnabled(row >= 0 && row < count && m_nodeList->currentItem() &&
                          m_nodeList->currentItem()->isSelected());
}

void TOptionDlg::OpenNodeDetails() {
    const int row = m_nodeList->currentRow();
    if (!m_outputs || row < 0) return;
    // A copy: the output thread may add nodes while the window is open.
    const std::optional<NodeEntry> entry = m_outputs->Artnet().Nodes().Entry(row);
    if (!entry || !m_nodeDialog) return;
    m_nodeDialog->SetEntry(entry);
    const TArtnetThread& artnet = m_outputs->Artnet();
    m_nodeDialog->SetUnicast(artnet.Unicast()
                                 ? std::optional<bool>(artnet.ReceivesUnicast(entry->address))
                                 : std::nullopt);
    m_nodeDialog->exec();
}

void TOptionDlg::accept() {
    for (size_t i = 0; i < m_colours.size(); ++i) m_env.Colour(i) = m_colours[i];
    m_env.FlatToolBar = m_switches[0]->isChecked();
    m_env.DispTracking = m_switches[1]->isChecked();
    m_env.MonClickTab = m_switches[2]->isChecked();
    m_env.UseWheel = m_switches[3]->isChecked();
    m_env.CurActivate = m_switches[4]->isChecked();
    // An untouched choice leaves the file as it was: no key is added for the automatic default.
    const std::string_view language =
        dlgtext::kLanguageValues[static_cast<size_t>(std::max(0, m_language->currentIndex()))];
    if (!(m_env.Language.empty() && language == kLanguageAuto)) m_env.Language = language;
    bool number = false;
    const int interval = m_saveInterval->currentText().toInt(&number);
    if (number) m_env.SaveInterval = interval;
    m_env.AutoSave = m_autoSave->isChecked();
    if (m_paletteChanged) {
        // The field's text, typed or chosen; an empty field means no palette image.
        const std::string path = StdText(m_paletteEdit->text().trimmed());
        if (path.empty()) {
            m_env.ImgFile.clear();
            m_env.LoadPaletteImage(std::string());
        } else {
            m_env.ChoosePaletteImage(path);
            CompletePaletteImage(m_env);
        }
        m_paletteChanged = false;
    }
    QDialog::accept();
}

}  // namespace lumavox
