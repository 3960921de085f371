#pragma once

#include <QDialog>
#include <QTimer>
#include <array>
#include <cstddef>
#include <cstdint>

#include "settings/ShortCut.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace lumavox {

class EnvData;
class OutputPair;
enum class OutputType;
class TArtNetPropDlg;

// What the options dialog changes at once in the main window.
class IOptionHost {
public:
    virtual ~IOptionHost() = default;
    // The shortcut of main action index (kActionTable order); a change takes effect at once.
    virtual ShortCut ActionShortCut(size_t index) const = 0;
    virtual void SetActionShortCut(size_t index, ShortCut shortCut) = 0;
    // The display timer's period; a change stops the timer, sets the period and restarts it.
    virtual int DisplayPeriod() const = 0;
    virtual void SetDisplayPeriod(int periodMs) = 0;
};

// The options dialog: colour scheme, display and operation switches, shortcuts, palette image,
// automatic backup, the DMX output interface with its Art-Net port and node list, refresh periods.
// Shortcuts, periods, interface and port act at once and stay after Cancel; the rest reaches
// EnvData on OK only (Accept). Created once at start-up, hidden and reused; keeps its last page.
// outputs may be null (no output threads). UI thread only.
class TOptionDlg : public QDialog {
    Q_OBJECT
public:
    TOptionDlg(EnvData& env, IOptionHost& host, OutputPair* outputs, QWidget* parent = nullptr);

    // The node details window opened by "詳細" and a double click in the node list.
    void SetNodeDialog(TArtNetPropDlg* dialog) { m_nodeDialog = dialog; }
    // True while an output switch waits between parking one thread and resuming the other.
    bool Switching() const { return m_switching; }

    // Widgets, for the main window's tests and the dialog's own.
    QTabWidget* Pages() const { return m_pages; }
    QListWidget* ShortCutList() const { return m_shortCutList; }
    QComboBox* KeyComboBox() const { return m_keyCombo; }
    QCheckBox* ShiftCheckBox() const { return m_shift; }
    QCheckBox* CtrlCheckBox() const { return m_ctrl; }
    QCheckBox* AltCheckBox() const { return m_alt; }
    QPushButton* ChangeButton() const { return m_change; }
    QPushButton* ClearButton() const { return m_clear; }
    QComboBox* ColorComboBox() const { return m_colourCombo; }
    QComboBox* LanguageComboBox() const { return m_language; }
    QFrame* ColourSwatch() const { return m_swatch; }
    QPushButton* ChooseColourButton() const { return m_chooseColour; }
    QCheckBox* SwitchBox(int index) const { return m_switches[static_cast<size_t>(index)]; }
    QLineEdit* PaletteEdit() const { return m_paletteEdit; }
    QCheckBox* AutoSaveBox() const { return m_autoSave; }
    QComboBox* SaveIntervalComboBox() const { return m_saveInterval; }
    QRadioButton* UsbRadio() const { return m_usbRadio; }
    QRadioButton* ArtNetRadio() const { return m_artNetRadio; }
    QGroupBox* ArtNetGroup() const { return m_artNetGroup; }
    QRadioButton* SacnRadio() const { return m_sacnRadio; }
    QGroupBox* SacnGroup() const { return m_sacnGroup; }
    QSpinBox* SacnUniverseSpinBox() const { return m_sacnUniverse; }
    QSpinBox* SacnPrioritySpinBox() const { return m_sacnPriority; }
    QSpinBox* SacnSyncSpinBox() const { return m_sacnSync; }
    QLineEdit* SacnUnicastEdit() const { return m_sacnUnicast; }
    QLineEdit* SacnInterfaceEdit() const { return m_sacnInterface; }
    QLabel* SacnTargetLabel() const { return m_sacnTarget; }
    QComboBox* SubNetComboBox() const { return m_subNet; }
    QComboBox* IdComboBox() const { return m_id; }
    QLabel* IpLabel() const { return m_ipLabel; }
    QListWidget* NodeListBox() const { return m_nodeList; }
    QPushButton* ScanButton() const { return m_scan; }
    QPushButton* DetailsButton() const { return m_details; }
    QCheckBox* UnicastBox() const { return m_unicast; }
    QCheckBox* ArtSyncBox() const { return m_artSync; }
    QComboBox* DisplayPeriodComboBox() const { return m_dispPeriod; }
    QComboBox* DmxPeriodComboBox() const { return m_dmxPeriod; }
    QCheckBox* EventTimedBox() const { return m_eventTimed; }
    QSpinBox* MinFrameGapSpinBox() const { return m_minFrameGap; }
    // USB, Art-Net, sACN.
    QSpinBox* LightOffsetSpinBox(size_t output) const { return m_lightOffsets[output]; }
    // The working copy of the colour scheme (reaches EnvData on OK).
    int32_t WorkingColour(size_t index) const { return m_colours[index]; }
    void SetWorkingColour(size_t index, int32_t colour);

    // One tick of the node list timer (every 100 ms while the program runs).
    void RefreshNodes();

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* CreateDisplayPage();
    QWidget* CreateOperationPage();
    QWidget* CreateShortCutPage();
    QWidget* CreatePalettePage();
    QWidget* CreateAutoSavePage();
    QWidget* CreateDmxPage();
    QWidget* CreateAdvancedPage();

    void ChooseColour();
    void ChangeShortCut();
    void ClearShortCut();
    void ChoosePalette();
    void InterfaceChosen(OutputType type);
    void FinishSwitch(OutputType type);
    // The output timing block of the advanced page; a change applies at once.
    QGroupBox* CreateTimingGroup(QWidget* page);
    // The sACN block (TOptionDlgSacn.cpp): built with the DMX page, filled at Show; a change of
    // any field reaches the settings and the sACN output at once.
    QGroupBox* CreateSacnGroup(QWidget* page);
    void ShowSacn();
    void SacnChanged();
    void ShowSacnTarget();
    void PortChanged();
    void Scan();
    void OpenNodeDetails();
    void UpdateDetailsButton();

    EnvData& m_env;
    IOptionHost& m_host;
    OutputPair* m_outputs;
    TArtNetPropDlg* m_nodeDialog = nullptr;

    std::array<int32_t, 8> m_colours{};  // 0x00BBGGRR
    bool m_paletteChanged = false;
    bool m_switching = false;
    bool m_showing = false;  // Show is setting controls: their handlers act on nothing
    QTimer m_nodeTimer;

    QTabWidget* m_pages = nullptr;
    QComboBox* m_colourCombo = nullptr;
    QFrame* m_swatch = nullptr;
    QPushButton* m_chooseColour = nullptr;
    // FlatToolBar, DispTracking, MonClickTab, UseWheel, CurActivate.
    std::array<QCheckBox*, 5> m_switches{};
    QListWidget* m_shortCutList = nullptr;
    QComboBox* m_keyCombo = nullptr;
    QComboBox* m_language = nullptr;  // [General] Language, in the order of kLanguageValues
    QCheckBox* m_shift = nullptr;
    QCheckBox* m_ctrl = nullptr;
    QCheckBox* m_alt = nullptr;
    QPushButton* m_change = nullptr;
    QPushButton* m_clear = nullptr;
    QLineEdit* m_paletteEdit = nullptr;
    QCheckBox* m_autoSave = nullptr;
    QComboBox* m_saveInterval = nullptr;
    QButtonGroup* m_interface = nullptr;
    QRadioButton* m_usbRadio = nullptr;
    QRadioButton* m_artNetRadio = nullptr;
    QGroupBox* m_interfaceGroup = nullptr;
    QGroupBox* m_artNetGroup = nullptr;
    QComboBox* m_subNet = nullptr;
    QComboBox* m_id = nullptr;
    QLabel* m_ipLabel = nullptr;
    QListWidget* m_nodeList = nullptr;
    QPushButton* m_scan = nullptr;
    QPushButton* m_details = nullptr;
    QCheckBox* m_unicast = nullptr;
    QCheckBox* m_artSync = nullptr;
    QComboBox* m_dispPeriod = nullptr;
    QComboBox* m_dmxPeriod = nullptr;
    QCheckBox* m_eventTimed = nullptr;
    QSpinBox* m_minFrameGap = nullptr;
    std::array<QSpinBox*, 3> m_lightOffsets{};
    QRadioButton* m_sacnRadio = nullptr;
    QGroupBox* m_sacnGroup = nullptr;
    QSpinBox* m_sacnUniverse = nullptr;
    QSpinBox* m_sacnPriority = nullptr;
    QSpinBox* m_sacnSync = nullptr;
    QLineEdit* m_sacnUnicast = nullptr;
    QLineEdit* m_sacnInterface = nullptr;
    QLabel* m_sacnTarget = nullptr;
};

}  // namespace lumavox
