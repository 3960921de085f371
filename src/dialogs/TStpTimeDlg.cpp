#include "dialogs/TStpTimeDlg.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/DigitSpinEdit.h"
#include "editor/QtText.h"
#include "editor/logic/DialogMaths.h"
#include "editor/logic/EditTexts.h"
#include "editor/logic/UiText.h"
#include "settings/EnvData.h"
#include "settings/Placement.h"

namespace lumavox {
namespace {

constexpr std::string_view kSection = "StepTime";

}  // namespace

TStpTimeDlg::TStpTimeDlg(EditorContext& context, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_context(context),
      m_sign(new QComboBox(this)),
      m_fields{new DigitSpinEdit(23, this), new DigitSpinEdit(59, this),
               new DigitSpinEdit(59, this), new DigitSpinEdit(99, this)},
      m_ok(new QPushButton(Tr(edittext::kOk), this)) {
    setWindowTitle(Qs(UiTextOf(UiText::StepTimeTitle)));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 8, 8, 8);
    row->setSpacing(4);
    m_sign->setObjectName(QStringLiteral("SignBox"));
    m_sign->addItems({QStringLiteral("+"), QStringLiteral("-")});
    row->addWidget(m_sign);
    row->addWidget(m_fields[0]);
    row->addWidget(m_fields[1]);
    row->addWidget(m_fields[2]);
    row->addWidget(new QLabel(QStringLiteral("."), this));
    row->addWidget(m_fields[3]);
    row->addSpacing(8);
    row->addWidget(m_ok);
    row->setSizeConstraint(QLayout::SetFixedSize);
    m_ok->setDefault(true);
    m_ok->setAutoDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TStpTimeDlg::SetTime(int32_t timeMs) {
    m_time = timeMs;
}

void TStpTimeDlg::showEvent(QShowEvent* event) {
    WindowPlacement placement;
    placement.Border = BorderKind::ToolWindow;
    // A default size of 0 keeps the stored size unread: the dialog sizes itself.
    LoadPlacement(m_context.env.Ini(), kSection, placement, 0, 0, 150, 150);
    move(placement.Left, placement.Top);
    const TimeFields fields = SplitTime(m_time.value_or(0));
    m_sign->setCurrentIndex(fields.Negative ? 1 : 0);
    m_fields[0]->SetValue(fields.Hours);
    m_fields[1]->SetValue(fields.Minutes);
    m_fields[2]->SetValue(fields.Seconds);
    m_fields[3]->SetValue(fields.Hundredths);
    QDialog::showEvent(event);
    m_fields[0]->Edit()->setFocus();
}

void TStpTimeDlg::hideEvent(QHideEvent* event) {
    const QRect frame = frameGeometry();
    WindowPlacement placement{frame.left(),   frame.top(),         frame.width(),
                              frame.height(), WindowState::Normal, BorderKind::ToolWindow};
    SavePlacement(m_context.env.Ini(), kSection, placement);
    QDialog::hideEvent(event);
}

void TStpTimeDlg::accept() {
    TimeFields fields;
    fields.Hours = m_fields[0]->Value();
    fields.Minutes = m_fields[1]->Value();
    fields.Seconds = m_fields[2]->Value();
    fields.Hundredths = m_fields[3]->Value();
    fields.Negative = m_sign->currentIndex() == 1;
    m_time = ComposeTime(fields);
    QDialog::accept();
}

}  // namespace lumavox
