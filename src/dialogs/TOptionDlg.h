#pragma once

#include <QDialog>

namespace lumavox {

// The options dialog: colours, switches, shortcuts, palette image, backup, DMX output.
// Created once at start-up, hidden and reused for the whole run. UI thread only.
class TOptionDlg : public QDialog {
    Q_OBJECT
public:
    explicit TOptionDlg(QWidget* parent = nullptr);
};

}  // namespace lumavox
