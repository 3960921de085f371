#pragma once

#include <QDialog>
#include <cstdint>

#include "model/StepOps.h"

class QLabel;
class QPushButton;
class QSpinBox;

namespace lumavox {

class ProjectData;

// The replace-sound dialog: names the present and the chosen sound with its length and asks for
// the shift of every step (proposed by the caller). A note tells live how many steps a shift would
// carry off the new time line, and OK refuses such a shift with a warning. Made for one use by
// the main window; UI thread only.
class TReplaceSoundDlg : public QDialog {
    Q_OBJECT
public:
    TReplaceSoundDlg(const ProjectData& project, const TimeLimits& newLimits,
                     const QString& currentSound, const QString& newSound, int32_t proposedShiftMs,
                     QWidget* parent);

    int32_t ShiftMs() const;
    QSpinBox* ShiftField() const { return m_shift; }
    QLabel* Note() const { return m_note; }
    QPushButton* OkButton() const { return m_ok; }

    void accept() override;

private:
    void UpdateNote();

    const ProjectData& m_project;
    TimeLimits m_limits;
    QSpinBox* m_shift = nullptr;
    QLabel* m_note = nullptr;
    QPushButton* m_ok = nullptr;
};

}  // namespace lumavox
