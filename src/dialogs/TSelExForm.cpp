#include "dialogs/TSelExForm.h"

#include "editor/logic/ActionTable.h"
#include "editor/logic/UiText.h"

namespace lumavox {

TSelExForm::TSelExForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TSelExForm"));
    const std::string title(UiTextOf(UiText::ExtendedSelectionTitle));
    setWindowTitle(QString::fromStdString(title));
}

}  // namespace lumavox
