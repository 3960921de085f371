#include "dialogs/TStpPropDlg.h"

#include "editor/logic/ActionTable.h"
#include "editor/logic/UiText.h"

namespace lumavox {

TStpPropDlg::TStpPropDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TStpPropDlg"));
    const std::string title(CaptionWithoutAccessKeys(FindAction("PropStepAction")->Caption));
    setWindowTitle(QString::fromStdString(title));
}

}  // namespace lumavox
