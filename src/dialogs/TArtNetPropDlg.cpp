#include "dialogs/TArtNetPropDlg.h"

#include "editor/logic/ActionTable.h"
#include "editor/logic/UiText.h"

namespace lumavox {

TArtNetPropDlg::TArtNetPropDlg(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setObjectName(QStringLiteral("TArtNetPropDlg"));
    const std::string title(UiTextOf(UiText::NodeDetailsTitle));
    setWindowTitle(QString::fromStdString(title));
}

}  // namespace lumavox
