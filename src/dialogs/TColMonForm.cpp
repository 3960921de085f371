#include "dialogs/TColMonForm.h"

#include "editor/UiText.h"

namespace lumavox {

TColMonForm::TColMonForm(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("TColMonForm"));
    setWindowTitle(QString::fromUtf8(ui::kColMonCaption));
}

}  // namespace lumavox
