#pragma once

#include <QWidget>

namespace lumavox {

// The colour monitor: one panel per line showing its present output colour.
// Created once at start-up, hidden and reused for the whole run. UI thread only.
class TColMonForm : public QWidget {
    Q_OBJECT
public:
    explicit TColMonForm(QWidget* parent = nullptr);
};

}  // namespace lumavox
