// The sACN block of the options dialog's DMX page.
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include "dialogs/TOptionDlg.h"
#include "dmx/OutputPair.h"
#include "editor/QtText.h"
#include "editor/logic/DialogTexts.h"
#include "engine/SacnSetup.h"
#include "settings/EnvData.h"

namespace lumavox {

namespace {

QSpinBox* MakeSpinBox(QWidget* parent, const char* name, int low, int high) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(low, high);
    // Only a finished value (arrows, Enter, leaving the field) reaches the output: each change
    // ends the running stream and starts the new one.
    box->setKeyboardTracking(false);
    box->setFixedWidth(90);
    return box;
}

}  // namespace

QGroupBox* TOptionDlg::CreateSacnGroup(QWidget* page) {
    m_sacnGroup = new QGroupBox(page);
    m_sacnGroup->setObjectName(QStringLiteral("SacnGroupBox"));
    m_sacnGroup->setVisible(false);
    m_sacnUniverse =
        MakeSpinBox(m_sacnGroup, "SacnUniverseSpinBox", kSacnMinUniverse, kSacnMaxUniverse);
    m_sacnPriority = MakeSpinBox(m_sacnGroup, "SacnPrioritySpinBox", 0, kSacnMaxPriority);
    m_sacnSync = MakeSpinBox(m_sacnGroup, "SacnSyncSpinBox", 0, kSacnMaxUniverse);
    m_sacnSync->setSpecialValueText(Tr(dlgtext::kSacnNoSync));
    m_sacnUnicast = new QLineEdit(m_sacnGroup);
    m_sacnUnicast->setObjectName(QStringLiteral("SacnUnicastEdit"));
    m_sacnUnicast->setPlaceholderText(Tr(dlgtext::kSacnUnicastHint));
    m_sacnInterface = new QLineEdit(m_sacnGroup);
    m_sacnInterface->setObjectName(QStringLiteral("SacnInterfaceEdit"));
    m_sacnInterface->setPlaceholderText(Tr(dlgtext::kSacnInterfaceHint));
    m_sacnTarget = new QLabel(m_sacnGroup);
    m_sacnTarget->setObjectName(QStringLiteral("SacnTargetLabel"));
    m_sacnTarget->setWordWrap(true);

    auto* form = new QFormLayout(m_sacnGroup);
    form->addRow(Tr(dlgtext::kSacnUniverse), m_sacnUniverse);
    form->addRow(Tr(dlgtext::kSacnPriority), m_sacnPriority);
    form->addRow(Tr(dlgtext::kSacnSync), m_sacnSync);
    form->addRow(Tr(dlgtext::kSacnUnicast), m_sacnUnicast);
    form->addRow(Tr(dlgtext::kSacnInterface), m_sacnInterface);
    form->addRow(m_sacnTarget);

    for (QSpinBox* box : {m_sacnUniverse, m_sacnPriority, m_sacnSync}) {
        connect(box, &QSpinBox::valueChanged, this, &TOptionDlg::SacnChanged);
    }
    for (QLineEdit* edit : {m_sacnUnicast, m_sacnInterface}) {
        connect(edit, &QLineEdit::editingFinished, this, &TOptionDlg::SacnChanged);
    }
    return m_sacnGroup;
}

void TOptionDlg::ShowSacn() {
    const SacnSettings& sacn = m_env.Sacn;
    m_sacnGroup->setVisible(sacn.Selected);
    m_sacnGroup->setEnabled(!m_switching);
    m_sacnUniverse->setValue(sacn.Universe);
    m_sacnPriority->setValue(sacn.Priority);
    m_sacnSync->setValue(sacn.Sync);
    m_sacnUnicast->setText(QtText(sacn.Unicast));
    m_sacnInterface->setText(QtText(sacn.Interface));
    ShowSacnTarget();
}

void TOptionDlg::SacnChanged() {
    if (m_showing) return;
    SacnSettings sacn = m_env.Sacn;
    sacn.Universe = m_sacnUniverse->value();
    sacn.Priority = m_sacnPriority->value();
    sacn.Sync = m_sacnSync->value();
    sacn.Unicast = StdText(m_sacnUnicast->text().trimmed());
    sacn.Interface = StdText(m_sacnInterface->text().trimmed());
    if (sacn.Universe == m_env.Sacn.Universe && sacn.Priority == m_env.Sacn.Priority &&
        sacn.Sync == m_env.Sacn.Sync && sacn.Unicast == m_env.Sacn.Unicast &&
        sacn.Interface == m_env.Sacn.Interface) {
        return;  // leaving a field unchanged restarts nothing
    }
    m_env.Sacn = sacn;
    if (m_outputs) m_outputs->SetSacn(SacnConfigFrom(sacn));
    ShowSacnTarget();
}

// Where the data goes, or why nothing is sent.
void TOptionDlg::ShowSacnTarget() {
    if (!m_outputs || !m_outputs->HasSacn()) {
        m_sacnTarget->clear();
        return;
    }
    const TSacnThread& sacn = m_outputs->Sacn();
    m_sacnTarget->setText(sacn.NetReady()
                              ? Tr(dlgtext::kSacnTargetPrefix) + QtText(sacn.DestinationText())
                              : QtText(sacn.Problem()));
}

}  // namespace lumavox
