#include "dialogs/PatchGrid.h"

#include <qdrawutil.h>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

#include "dmx/Patch.h"
#include "dmx/PatchCellText.h"
#include "editor/QtText.h"
#include "editor/logic/DialogTexts.h"

namespace lumavox {

namespace {

constexpr int kColumnWidth = 75;
constexpr int kRowHeight = 24;
constexpr int kTextStart = 8;   // fixed cells: text starts 8 px in ...
constexpr int kNumberEnd = 50;  // ... and a channel number ends 50 px after that start

// 0x00BBGGRR: red, green, blue.
const QColor kLineColours[3] = {QColor(0xFF, 0, 0), QColor(0, 0x80, 0), QColor(0, 0, 0xFF)};

QString EntryText(int32_t source) {
    if (source < 0 || source >= 24) return QtText(dlgtext::kUnpatchedCell);
    static const char* const kSuffix[3] = {"(R)", "(G)", "(B)"};
    return QStringLiteral("Line %1%2").arg(source / 3 + 1).arg(QLatin1String(kSuffix[source % 3]));
}

// Data cells: window background, the entry text right-aligned on the width of "Line 8(R)" in its
// line colour; the inert cell in the workspace colour; a focus rectangle on the current cell.
// A commit whose text equals what the cell showed applies nothing (an edit left unchanged).
class PatchCellDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QPalette& palette = option.palette;
        if (PatchGridModel::EntryOf(index) >= kDmxChannels) {
            painter->fillRect(option.rect, palette.color(QPalette::Dark));
            return;
        }
        painter->fillRect(option.rect, palette.color(QPalette::Base));
        const QString text = index.data(Qt::DisplayRole).toString();
        const QVariant colour = index.data(Qt::ForegroundRole);
        painter->save();
        painter->setPen(colour.isValid() ? colour.value<QColor>() : palette.color(QPalette::Text));
        const int width = option.fontMetrics.horizontalAdvance(QStringLiteral("Line 8(R)"));
        const QRect box(option.rect.left() + 6, option.rect.top(), width, option.rect.height());
        painter->drawText(box, Qt::AlignRight | Qt::AlignVCenter, text);
        painter->restore();
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.rect = option.rect.adjusted(1, 1, -1, -1);
            focus.backgroundColor = palette.color(QPalette::Base);
            QApplication::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter);
        }
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line) return;
        line->setText(index.data(Qt::EditRole).toString());
        line->setProperty("shown", line->text());
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line || line->text() == line->property("shown").toString()) return;
        model->setData(index, line->text(), Qt::EditRole);
    }
};

}  // namespace

PatchGridModel::PatchGridModel(PatchTable& patch, QObject* parent)
    : QAbstractTableModel(parent), m_patch(patch) {}

int PatchGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kRows;
}

int PatchGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant PatchGridModel::data(const QModelIndex& index, int role) const {
    const int k = EntryOf(index);
    if (!index.isValid() || k >= kDmxChannels) return {};
    const int32_t source = m_patch.Get(k);
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return EntryText(source);
        case Qt::ForegroundRole:
            if (source >= 0 && source < 24) return kLineColours[source % 3];
            return {};
        default:
            return {};
    }
}

bool PatchGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid()) return false;
    const int32_t v = ParsePatchCell(StdText(value.toString()));
    if (!ApplyPatchCell(m_patch, EntryOf(index), v)) QApplication::beep();
    // Accepted or refused, the project counts as modified.
    Refresh();
    emit edited();
    return true;
}

Qt::ItemFlags PatchGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (EntryOf(index) < kDmxChannels) flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant PatchGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return QString::number(3 * (section + 1) - 2);
    return QString();
}

void PatchGridModel::Refresh() {
    emit dataChanged(index(0, 0), index(kRows - 1, kColumns - 1));
}

PatchRowHeader::PatchRowHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {
    setSectionResizeMode(QHeaderView::Fixed);
    setDefaultSectionSize(kRowHeight);
    setFixedWidth(kColumnWidth);
    setSectionsClickable(true);
    setHighlightSections(false);
}

void PatchRowHeader::SetCurrentRow(int row) {
    m_currentRow = row;
    viewport()->update();
}

void PatchRowHeader::SetCheckOn(bool on) {
    m_checkOn = on;
    viewport()->update();
}

void PatchRowHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    const bool current = logicalIndex == m_currentRow;
    const QPalette& pal = palette();
    const QColor background = pal.color(current ? QPalette::Highlight : QPalette::Button);
    painter->fillRect(rect, background);
    if (current && m_checkOn) {
        qDrawShadePanel(painter, rect, pal, true, 1);
    } else {
        qDrawShadePanel(painter, rect.adjusted(0, 0, -1, -1), pal, false, 1);
    }
    painter->setPen(pal.color(current ? QPalette::HighlightedText : QPalette::ButtonText));
    const QRect text(rect.left() + kTextStart, rect.top(), kNumberEnd, rect.height());
    painter->drawText(text, Qt::AlignRight | Qt::AlignVCenter,
                      QString::number(3 * (logicalIndex + 1) - 2));
}

PatchGrid::PatchGrid(PatchTable& patch, QWidget* parent)
    : QTableView(parent), m_patch(patch), m_model(new PatchGridModel(patch, this)) {
    setObjectName(QStringLiteral("PatchGrid"));
    m_rowHeader = new PatchRowHeader(this);
    setVerticalHeader(m_rowHeader);
    setModel(m_model);
    setItemDelegate(new PatchCellDelegate(this));
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    horizontalHeader()->setFixedHeight(kRowHeight);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // No editing on a click of the selected cell: Qt delays that editor by the double-click
    // time, and keys typed meanwhile would go to the keyboard search instead of the cell.
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    setCornerButtonEnabled(false);
    setShowGrid(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_corner = new QLabel(QtText(dlgtext::kDmxOut), this);
    m_corner->setObjectName(QStringLiteral("DmxOutCorner"));
    m_corner->setAutoFillBackground(true);
    m_corner->setIndent(kTextStart);
    m_corner->setFrameStyle(QFrame::Panel | QFrame::Raised);
    setCurrentIndex(m_model->index(0, 0));
}

void PatchGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // An open editor has already queued its commit and passed the key on; without one the
        // key starts editing. Either way it stays here, away from the dialog's default button.
        if (state() != QAbstractItemView::EditingState && currentIndex().isValid()) {
            edit(currentIndex());
        }
        event->accept();
        return;
    }
    const bool unpatchKey = event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace;
    const QModelIndex current = currentIndex();
    if (!unpatchKey || state() == QAbstractItemView::EditingState || !current.isValid()) {
        QTableView::keyPressEvent(event);
        return;
    }
    const int k = PatchGridModel::EntryOf(current);
    if (k < kDmxChannels) m_patch.Set(k, kUnpatch);
    if (event->key() == Qt::Key_Delete && k < kDmxChannels - 1) {
        setCurrentIndex(m_model->index((k + 1) / 3, (k + 1) % 3));
    }
    m_model->Refresh();
    emit m_model->edited();
    event->accept();
}

void PatchGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (current.row() != previous.row() && current.isValid()) {
        m_rowHeader->SetCurrentRow(current.row());
        emit currentRowChanged(current.row());
    }
}

void PatchGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    // "DMX out" sits on the corner where the two headers meet.
    m_corner->setGeometry(frameWidth(), frameWidth(), verticalHeader()->width(),
                          horizontalHeader()->height());
    m_corner->raise();
}

}  // namespace lumavox
