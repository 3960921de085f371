#pragma once

#include <QDialog>

namespace lumavox {

// The step colour dialog: the colour and brightness of a step.
// Created once at start-up, hidden and reused for the whole run. UI thread only.
class TStpPropDlg : public QDialog {
    Q_OBJECT
public:
    explicit TStpPropDlg(QWidget* parent = nullptr);
};

}  // namespace lumavox
