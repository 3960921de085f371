#pragma once

#include <QDialog>
#include <cstdint>

namespace lumavox {

// The step colour dialog: the colour and brightness of a step.
// Created once at start-up, hidden and reused for the whole run. UI thread only.
class TStpPropDlg : public QDialog {
    Q_OBJECT
public:
    explicit TStpPropDlg(QWidget* parent = nullptr);

    // The colour of the dialog's colour panel (0x00BBGGRR): while the dialog is visible the
    // current line shows it on the lights instead of its own colour.
    int32_t PanelColour() const { return m_panelColour; }
    void SetPanelColour(int32_t colour) { m_panelColour = colour; }

private:
    int32_t m_panelColour = 0;
};

}  // namespace lumavox
