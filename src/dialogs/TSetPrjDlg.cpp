#include "dialogs/TSetPrjDlg.h"

#include "editor/logic/ActionTable.h"
#include "editor/logic/UiText.h"

namespace lumavox {

TSetPrjDlg::TSetPrjDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TSetPrjDlg"));
    const std::string title(CaptionWithoutAccessKeys(FindAction("SetPrjAction")->Caption));
    setWindowTitle(QString::fromStdString(title));
}

}  // namespace lumavox
