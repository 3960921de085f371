#include "dialogs/DigitSpinEdit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/logic/DialogMaths.h"

namespace lumavox {

DigitSpinEdit::DigitSpinEdit(int maximum, QWidget* parent)
    : QWidget(parent),
      m_maximum(maximum),
      m_edit(new QLineEdit(QStringLiteral("0"), this)),
      m_up(new QToolButton(this)),
      m_down(new QToolButton(this)) {
    m_edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_edit));
    m_edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_edit->setAlignment(Qt::AlignRight);
    m_edit->setFixedWidth(m_edit->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 10);
    m_edit->installEventFilter(this);
    for (QToolButton* button : {m_up, m_down}) {
        button->setFixedSize(16, 11);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, [this] { StepBy(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { StepBy(-1); });

    auto* arrows = new QVBoxLayout;
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(m_up);
    arrows->addWidget(m_down);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(m_edit);
    row->addLayout(arrows);
    setFocusProxy(m_edit);
}

void DigitSpinEdit::SetValue(int64_t value) {
    m_edit->setText(QString::number(value));
}

int64_t DigitSpinEdit::Value() const {
    return ReadDigits(m_edit->text().toStdString());
}

void DigitSpinEdit::StepBy(int delta) {
    // Bound first: a typed value may be as large as int64 allows.
    const int64_t from = std::min<int64_t>(Value(), m_maximum);
    const int64_t next = std::clamp<int64_t>(from + delta, 0, m_maximum);
    SetValue(next);
}

bool DigitSpinEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            StepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace lumavox
