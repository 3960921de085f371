#pragma once

#include "editor/TimePane.h"

namespace lumavox {

// The colour output strip: every column in the current line's output colour at its time. No mouse
// handling.
class OutputStrip : public TimePane {
    Q_OBJECT
public:
    explicit OutputStrip(TimePanes& panes, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {100, 30}; }

protected:
    void Render(PaneCanvas& c) override;
};

}  // namespace lumavox
