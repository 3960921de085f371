#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>

#include "editor/logic/EditorContext.h"

class QComboBox;
class QPushButton;

namespace lumavox {

class DigitSpinEdit;

// The step time dialog: the sign, hours, minutes, seconds and hundredths of one time in a row
// (the sign, so that a step in the pre-roll can be moved out of it). The caller
// sets the time, runs exec(), and on Accepted reads Time(); the range check is the caller's. One
// instance for the program's run, hidden between uses. UI thread only.
class TStpTimeDlg : public QDialog {
    Q_OBJECT
public:
    TStpTimeDlg(EditorContext& context, QWidget* parent);

    // The time shown at the next showing; also the result until OK replaces it.
    void SetTime(int32_t timeMs);
    // After OK: the entered time with the chosen sign (shown as the dialog opened with it), or
    // nullopt when the typed fields give a time outside the int32 range (refuse it like any
    // out-of-range time).
    std::optional<int32_t> Time() const { return m_time; }

    QComboBox* SignBox() const { return m_sign; }
    DigitSpinEdit* HoursField() const { return m_fields[0]; }
    DigitSpinEdit* MinutesField() const { return m_fields[1]; }
    DigitSpinEdit* SecondsField() const { return m_fields[2]; }
    DigitSpinEdit* HundredthsField() const { return m_fields[3]; }
    QPushButton* OkButton() const { return m_ok; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    EditorContext& m_context;
    QComboBox* m_sign;
    DigitSpinEdit* m_fields[4];
    QPushButton* m_ok;
    std::optional<int32_t> m_time = 0;
};

}  // namespace lumavox
