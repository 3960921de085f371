#include "dialogs/TOptionDlg.h"

#include "editor/logic/ActionTable.h"
#include "editor/logic/UiText.h"

namespace lumavox {

TOptionDlg::TOptionDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TOptionDlg"));
    const std::string title(UiTextOf(UiText::OptionsTitle));
    setWindowTitle(QString::fromStdString(title));
}

}  // namespace lumavox
