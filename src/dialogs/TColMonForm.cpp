#include "dialogs/TColMonForm.h"

#include "editor/logic/ActionTable.h"
#include "editor/logic/UiText.h"

namespace lumavox {

TColMonForm::TColMonForm(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("TColMonForm"));
    const std::string title(UiTextOf(UiText::ColourMonitorTitle));
    setWindowTitle(QString::fromStdString(title));
}

}  // namespace lumavox
