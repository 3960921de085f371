#include "editor/EditPrompts.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

#include "editor/QtText.h"
#include "model/Msgstr.h"

namespace lumavox {

QtEditPrompts::QtEditPrompts(QWidget* window, ColourDialog colour, TimeDialog time)
    : m_window(window), m_colour(std::move(colour)), m_time(std::move(time)) {}

bool QtEditPrompts::Confirm(std::string_view text) {
    QMessageBox box(QMessageBox::Question, Qs(MsgText(Msg::Confirm)), Qs(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_window);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtEditPrompts::AskText(std::string_view title, std::string_view prompt) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_window, Qs(title), Qs(prompt), QLineEdit::Normal, QString(), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

std::optional<int32_t> QtEditPrompts::AskColour(int32_t colour, std::string_view caption) {
    return m_colour ? m_colour(colour, Qs(caption)) : std::nullopt;
}

std::optional<int64_t> QtEditPrompts::AskTime(int32_t timeMs) {
    return m_time ? m_time(timeMs) : std::nullopt;
}

void QtEditPrompts::Beep() {
    QApplication::beep();
}

QMenu* BuildPopupMenu(std::span<const MenuEntry> layout,
                      const std::function<QAction*(ActionId id)>& lookup, QWidget* parent) {
    auto* menu = new QMenu(parent);
    for (const MenuEntry& entry : layout) {
        if (entry.Kind == MenuEntryKind::Separator) {
            menu->addSeparator();
        } else if (entry.Kind != MenuEntryKind::Action) {
            continue;
        } else if (QAction* action = lookup(entry.Action)) {
            menu->addAction(action);
        }
    }
    return menu;
}

QAction* ExecPopupMenu(QMenu& menu, QPoint globalPointer) {
    return menu.exec(globalPointer + QPoint(2, 0));
}

}  // namespace lumavox
