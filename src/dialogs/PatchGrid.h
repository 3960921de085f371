#pragma once

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTableView>
#include <atomic>
#include <functional>

class QLabel;

namespace lumavox {

class PatchTable;

// The DMX patch as a table: row r (from 0) holds entries 3r, 3r + 1, 3r + 2 (channels 3r + 1 ..
// 3r + 3); the cell past entry 511 is inert. Shows "__" for an unpatched entry and "Line n(R)"
// (G, B) for a line colour; a committed text is applied through the patch cell parser. UI thread.
class PatchGridModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kRows = 171;
    static constexpr int kColumns = 3;

    explicit PatchGridModel(PatchTable& patch, QObject* parent = nullptr);

    static int EntryOf(const QModelIndex& index) { return 3 * index.row() + index.column(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // After any change of the table made elsewhere (through patch, clear all, unpatch key).
    void Refresh();

signals:
    // Every applied or refused cell text and every unpatch key (the project is then modified).
    void edited();

private:
    PatchTable& m_patch;
};

// Row headers as fixed cells: the row's first channel number, in the highlight colours for the
// current row, sunken on the current row while the patch check is on, raised otherwise.
class PatchRowHeader final : public QHeaderView {
    Q_OBJECT
public:
    explicit PatchRowHeader(QWidget* parent);
    void SetCurrentRow(int row);
    void SetCheckOn(bool on);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    int m_currentRow = 0;
    bool m_checkOn = false;
};

// The patch grid: 4 columns of 75 px (the first the fixed channel column), rows of 24 px, a
// fixed first row with "DMX out" in its first cell. Backspace and Delete on a cell that is not
// being edited unpatch its entry (Delete then moves to the next entry); Enter commits an open edit
// or starts one and never reaches the dialog's default button.
class PatchGrid final : public QTableView {
    Q_OBJECT
public:
    PatchGrid(PatchTable& patch, QWidget* parent = nullptr);
    PatchGridModel* Model() const { return m_model; }
    PatchRowHeader* RowHeader() const { return m_rowHeader; }

signals:
    void currentRowChanged(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    PatchTable& m_patch;
    PatchGridModel* m_model;
    PatchRowHeader* m_rowHeader;
    QLabel* m_corner;
};

}  // namespace lumavox
