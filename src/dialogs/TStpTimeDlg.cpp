#include "dialogs/TStpTimeDlg.h"

#include "editor/logic/ActionTable.h"
#include "editor/logic/UiText.h"

namespace lumavox {

TStpTimeDlg::TStpTimeDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TStpTimeDlg"));
    const std::string title(UiTextOf(UiText::StepTimeTitle));
    setWindowTitle(QString::fromStdString(title));
}

}  // namespace lumavox
