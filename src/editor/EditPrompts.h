#pragma once

#include <QMenu>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "editor/logic/ActionTable.h"

class QWidget;

namespace lumavox {

// The questions the edit commands ask: confirmation boxes, input boxes and the two step dialogs.
// The main window passes the real ones (QtEditPrompts, with its dialogs); tests pass scripted
// answers. UI thread only.
class IEditPrompts {
public:
    virtual ~IEditPrompts() = default;
    // A Yes/No/Cancel question with the question icon and the caption "確認"; true for Yes only.
    virtual bool Confirm(std::string_view text) = 0;
    // An input box with an empty initial value; nullopt when cancelled.
    virtual std::optional<std::string> AskText(std::string_view title, std::string_view prompt) = 0;
    // The step colour dialog opened with colour and caption; nullopt when cancelled.
    virtual std::optional<int32_t> AskColour(int32_t colour, std::string_view caption) = 0;
    // The step time dialog opened with timeMs; nullopt when cancelled. A typed time outside the
    // int32 range comes back as a value outside it (the caller refuses it).
    virtual std::optional<int64_t> AskTime(int32_t timeMs) = 0;
    // The system's error sound.
    virtual void Beep() = 0;
};

// The real prompts: Qt message and input boxes over window; the two step dialogs through the
// functions the main window passes (the dialogs live in a library above this one).
class QtEditPrompts : public IEditPrompts {
public:
    using ColourDialog = std::function<std::optional<int32_t>(int32_t, const QString&)>;
    using TimeDialog = std::function<std::optional<int64_t>(int32_t)>;

    QtEditPrompts(QWidget* window, ColourDialog colour, TimeDialog time);
    bool Confirm(std::string_view text) override;
    std::optional<std::string> AskText(std::string_view title, std::string_view prompt) override;
    std::optional<int32_t> AskColour(int32_t colour, std::string_view caption) override;
    std::optional<int64_t> AskTime(int32_t timeMs) override;
    void Beep() override;

private:
    QWidget* m_window;
    ColourDialog m_colour;
    TimeDialog m_time;
};

// A pop-up menu from a layout of the action table (StepPopupMenu() and the others): Action
// entries are the window's actions lookup finds (null: left out), separators stay, command and
// submenu entries are left out. Invisible actions (the multi-line ones outside
// multi mode) stay hidden by QMenu. The menu is parented to parent.
QMenu* BuildPopupMenu(std::span<const MenuEntry> layout,
                      const std::function<QAction*(ActionId id)>& lookup, QWidget* parent);
// Opens a pop-up menu as the time panes do: at the pointer's screen position moved 2 px right.
QAction* ExecPopupMenu(QMenu& menu, QPoint globalPointer);

}  // namespace lumavox
