#pragma once

#include <QDialog>

namespace lumavox {

// The project settings dialog: title, sound file, DMX patch, pre- and post-roll.
// Created once at start-up, hidden and reused for the whole run. UI thread only.
class TSetPrjDlg : public QDialog {
    Q_OBJECT
public:
    explicit TSetPrjDlg(QWidget* parent = nullptr);
};

}  // namespace lumavox
