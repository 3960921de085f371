#include "dialogs/TReplaceSoundDlg.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "editor/QtText.h"
#include "editor/logic/ActionTable.h"
#include "editor/logic/DialogTexts.h"
#include "editor/logic/SoundReplace.h"
#include "model/Msgstr.h"
#include "model/UsrFunc.h"

namespace lumavox {

namespace {

// A day either way: far beyond any show, well inside int32.
constexpr int kShiftLimitMs = 24 * 3600 * 1000;

}  // namespace

TReplaceSoundDlg::TReplaceSoundDlg(const ProjectData& project, const TimeLimits& newLimits,
                                   const QString& currentSound, const QString& newSound,
                                   int32_t proposedShiftMs, QWidget* parent)
    : QDialog(parent), m_project(project), m_limits(newLimits) {
    setObjectName(QStringLiteral("ReplaceSoundDlg"));
    setWindowTitle(QtText(
        CaptionWithoutAccessKeys(Translated(ActionInfoOf(ActionId::ReplaceSoundAction).Caption))));

    auto* form = new QFormLayout;
    form->addRow(Tr(soundtext::kCurrentSound), new QLabel(currentSound, this));
    form->addRow(Tr(soundtext::kNewSound), new QLabel(newSound + QStringLiteral("   ") +
                                                          QtText(MillisText(newLimits.SoundLength)),
                                                      this));
    m_shift = new QSpinBox(this);
    m_shift->setRange(-kShiftLimitMs, kShiftLimitMs);
    m_shift->setSingleStep(10);
    m_shift->setValue(proposedShiftMs);
    form->addRow(Tr(soundtext::kShift), m_shift);

    auto* hint = new QLabel(Tr(soundtext::kShiftHint), this);
    hint->setWordWrap(true);
    m_note = new QLabel(this);
    m_note->setWordWrap(true);
    m_note->setStyleSheet(QStringLiteral("color: #b00000"));

    m_ok = new QPushButton(Tr(dlgtext::kOk), this);
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(Tr(dlgtext::kCancel), this);
    connect(m_ok, &QPushButton::clicked, this, &TReplaceSoundDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &TReplaceSoundDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(m_note);
    layout->addLayout(buttons);

    connect(m_shift, &QSpinBox::valueChanged, this, &TReplaceSoundDlg::UpdateNote);
    UpdateNote();
}

int32_t TReplaceSoundDlg::ShiftMs() const {
    return m_shift->value();
}

void TReplaceSoundDlg::UpdateNote() {
    const int32_t shift = ShiftMs();
    const StepsOffTimeLine off = StepsOffTimeLineAfterShift(m_project, shift, m_limits);
    if (shift != 0 && off.Total() > 0) {
        m_note->setText(QtText(ShiftRefusalText(off, m_limits)));
    } else if (off.After > 0) {
        m_note->setText(QtText(StepsKeptBeyondEndText(off.After)));
    } else {
        m_note->clear();
    }
}

void TReplaceSoundDlg::accept() {
    if (!SoundShiftAllowed(m_project, ShiftMs(), m_limits)) {
        QMessageBox::warning(
            this, QtText(Msg::Warning),
            QtText(ShiftRefusalText(StepsOffTimeLineAfterShift(m_project, ShiftMs(), m_limits),
                                    m_limits)));
        return;
    }
    QDialog::accept();
}

}  // namespace lumavox
