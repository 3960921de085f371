#pragma once

#include <QWidget>
#include <cstdint>

class QLineEdit;
class QToolButton;

namespace lumavox {

// A digits-only line edit with up and down arrow buttons. Typing is not limited to the arrows'
// range (the dialogs read what was typed); the arrows and the Up/Down keys step within
// 0..maximum and never wrap. UI thread only.
class DigitSpinEdit : public QWidget {
    Q_OBJECT
public:
    DigitSpinEdit(int maximum, QWidget* parent);

    // Shows the value as it is, also above the maximum.
    void SetValue(int64_t value);
    // The typed number; empty or not a number reads as 0.
    int64_t Value() const;
    QLineEdit* Edit() const { return m_edit; }
    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }
    void StepBy(int delta);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_maximum;
    QLineEdit* m_edit;
    QToolButton* m_up;
    QToolButton* m_down;
};

}  // namespace lumavox
