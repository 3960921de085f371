#pragma once

#include <QDialog>

namespace lumavox {

// The step time dialog: hours, minutes, seconds and hundredths of a step's time.
// Created once at start-up, hidden and reused for the whole run. UI thread only.
class TStpTimeDlg : public QDialog {
    Q_OBJECT
public:
    explicit TStpTimeDlg(QWidget* parent = nullptr);
};

}  // namespace lumavox
