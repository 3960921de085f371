#pragma once

#include <QDialog>
#include <optional>

#include "dmx/artnet/NodeEntry.h"

class QTableWidget;

namespace lumavox {

// The details of one Art-Net node found on the network: address, names, report and the universes
// of its four ports. A resizable tool window opened modally from the options dialog with a copy of
// the node's entry. Created once at start-up, hidden and reused for the whole run. UI thread only.
class TArtNetPropDlg : public QDialog {
    Q_OBJECT
public:
    explicit TArtNetPropDlg(QWidget* parent = nullptr);

    // Fills both grids from entry; without one both stay empty.
    void SetEntry(const std::optional<NodeEntry>& entry);

    QTableWidget* InfoGrid() const { return m_info; }
    QTableWidget* PortGrid() const { return m_ports; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QTableWidget* m_info = nullptr;
    QTableWidget* m_ports = nullptr;
};

}  // namespace lumavox
