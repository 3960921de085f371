#pragma once

#include <QDialog>
#include <optional>

#include "dmx/artnet/NodeEntry.h"

class QLabel;
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
    // With unicast on, whether ArtDmx goes to this node (a line under the ports); nothing hides
    // the line (broadcast reaches every node).
    void SetUnicast(std::optional<bool> receives);

    QTableWidget* InfoGrid() const { return m_info; }
    QTableWidget* PortGrid() const { return m_ports; }
    QLabel* UnicastLabel() const { return m_unicast; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QTableWidget* m_info = nullptr;
    QTableWidget* m_ports = nullptr;
    QLabel* m_unicast = nullptr;
};

}  // namespace lumavox
