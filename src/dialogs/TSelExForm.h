#pragma once

#include <QDialog>

namespace lumavox {

// Extended selection: narrows the selected steps by their colour on a chart.
// Created once at start-up, hidden and reused for the whole run. UI thread only.
class TSelExForm : public QDialog {
    Q_OBJECT
public:
    explicit TSelExForm(QWidget* parent = nullptr);
};

}  // namespace lumavox
