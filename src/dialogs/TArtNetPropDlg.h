#pragma once

#include <QDialog>

namespace lumavox {

// The details of one Art-Net node found on the network.
// Created once at start-up, hidden and reused for the whole run. UI thread only.
class TArtNetPropDlg : public QDialog {
    Q_OBJECT
public:
    explicit TArtNetPropDlg(QWidget* parent = nullptr);
};

}  // namespace lumavox
