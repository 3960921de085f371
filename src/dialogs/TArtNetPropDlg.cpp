#include "dialogs/TArtNetPropDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

#include "editor/QtText.h"
#include "editor/logic/DialogTexts.h"
#include "editor/logic/UiText.h"

namespace lumavox {

namespace {

constexpr std::array<const char*, 4> kInfoLabels = {"IP Address", "Short Name", "Long Name",
                                                    "Node Report"};

QTableWidget* MakeGrid(int rows, int columns, QWidget* parent) {
    auto* grid = new QTableWidget(rows, columns, parent);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->verticalHeader()->setDefaultSectionSize(22);
    // Small enough that "Node Report" fits the 90-px label column.
    QFont font = grid->font();
    font.setPixelSize(12);
    grid->setFont(font);
    return grid;
}

// Label cells on the button face; value cells on the window colour when they hold text, on the
// workspace colour when empty.
void SetLabelCell(QTableWidget* grid, int row, int column, const QString& text, Qt::Alignment a) {
    auto* item = new QTableWidgetItem(text);
    const QPalette& palette = grid->palette();
    item->setBackground(palette.color(QPalette::Button));
    item->setForeground(palette.color(QPalette::ButtonText));
    item->setTextAlignment(a | Qt::AlignVCenter);
    grid->setItem(row, column, item);
}

void SetValueCell(QTableWidget* grid, int row, int column, const QString& text, Qt::Alignment a) {
    auto* item = new QTableWidgetItem(text);
    const QPalette& palette = grid->palette();
    item->setBackground(palette.color(text.isEmpty() ? QPalette::Dark : QPalette::Base));
    item->setForeground(palette.color(QPalette::Text));
    item->setTextAlignment(a | Qt::AlignVCenter);
    grid->setItem(row, column, item);
}

}  // namespace

TArtNetPropDlg::TArtNetPropDlg(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setObjectName(QStringLiteral("TArtNetPropDlg"));
    setWindowTitle(QtText(UiText::NodeDetailsTitle));
    setMinimumSize(400, 260);
    resize(480, 280);
    setSizeGripEnabled(true);

    m_info = MakeGrid(4, 2, this);
    m_info->setObjectName(QStringLiteral("InfoGrid"));
    m_info->setColumnWidth(0, 90);
    m_info->setColumnWidth(1, 600);
    m_info->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_info->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* portLabel = new QLabel(QStringLiteral("SUB-NET : ID"), this);
    m_ports = MakeGrid(3, 5, this);
    m_ports->setObjectName(QStringLiteral("PortGrid"));
    m_ports->setFixedHeight(3 * 22 + 4);
    m_ports->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_ports->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_ports->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_unicast = new QLabel(this);
    m_unicast->setObjectName(QStringLiteral("UnicastLabel"));
    m_unicast->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QtText(UiText::Ok));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->setCenterButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_info, 1);
    layout->addWidget(portLabel);
    layout->addWidget(m_ports);
    layout->addWidget(m_unicast);
    layout->addWidget(buttons);
    SetEntry(std::nullopt);
}

void TArtNetPropDlg::SetEntry(const std::optional<NodeEntry>& entry) {
    m_info->clearContents();
    m_ports->clearContents();
    m_unicast->hide();
    if (!entry) return;
    const std::array<std::string, 4> values = {
        NodeAddressText(*entry), std::string(entry->ShortName()), std::string(entry->LongName()),
        std::string(entry->NodeReport())};
    for (int row = 0; row < 4; ++row) {
        SetLabelCell(m_info, row, 0, QString::fromLatin1(kInfoLabels[static_cast<size_t>(row)]),
                     Qt::AlignLeft);
        SetValueCell(m_info, row, 1, QtText(values[static_cast<size_t>(row)]), Qt::AlignLeft);
    }
    SetLabelCell(m_ports, 0, 0, QString(), Qt::AlignHCenter);
    SetLabelCell(m_ports, 1, 0, QStringLiteral("In"), Qt::AlignHCenter);
    SetLabelCell(m_ports, 2, 0, QStringLiteral("Out"), Qt::AlignHCenter);
    for (int port = 0; port < 4; ++port) {
        SetLabelCell(m_ports, 0, port + 1, QString::number(port + 1), Qt::AlignHCenter);
        SetValueCell(m_ports, 1, port + 1, QtText(NodePortCellText(*entry, port, true)),
                     Qt::AlignHCenter);
        SetValueCell(m_ports, 2, port + 1, QtText(NodePortCellText(*entry, port, false)),
                     Qt::AlignHCenter);
    }
}

void TArtNetPropDlg::SetUnicast(std::optional<bool> receives) {
    m_unicast->setVisible(receives.has_value());
    if (receives)
        m_unicast->setText(Tr(*receives ? dlgtext::kNodeGetsUnicast : dlgtext::kNodeNoUnicast));
}

void TArtNetPropDlg::showEvent(QShowEvent* event) {
    // Centred on the main window (the options dialog's parent).
    QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    while (main && main->parentWidget()) main = main->parentWidget()->window();
    if (main) move(main->frameGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

}  // namespace lumavox
