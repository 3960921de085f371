#include "dialogs/TSelExForm.h"

#include "editor/UiText.h"

namespace lumavox {

TSelExForm::TSelExForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TSelExForm"));
    setWindowTitle(QString::fromUtf8(ui::kSelExCaption));
}

}  // namespace lumavox
