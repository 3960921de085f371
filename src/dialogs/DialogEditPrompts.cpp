#include "dialogs/DialogEditPrompts.h"

#include <limits>

#include "dialogs/TStpPropDlg.h"
#include "dialogs/TStpTimeDlg.h"

namespace lumavox {

std::unique_ptr<QtEditPrompts> MakeEditPrompts(QWidget* window, TStpPropDlg& colourDialog,
                                               TStpTimeDlg& timeDialog) {
    auto colour = [&colourDialog](int32_t shown, const QString& caption) -> std::optional<int32_t> {
        colourDialog.SetColour(shown);
        colourDialog.setWindowTitle(caption);
        if (colourDialog.exec() != QDialog::Accepted) return std::nullopt;
        return colourDialog.Colour();
    };
    auto time = [&timeDialog](int32_t shown) -> std::optional<int64_t> {
        timeDialog.SetTime(shown);
        if (timeDialog.exec() != QDialog::Accepted) return std::nullopt;
        return timeDialog.Time().has_value() ? int64_t{*timeDialog.Time()}
                                             : std::numeric_limits<int64_t>::max();
    };
    return std::make_unique<QtEditPrompts>(window, colour, time);
}

}  // namespace lumavox
