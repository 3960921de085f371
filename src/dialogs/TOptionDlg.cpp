#include "dialogs/TOptionDlg.h"

#include "editor/UiText.h"

namespace lumavox {

TOptionDlg::TOptionDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TOptionDlg"));
    setWindowTitle(QString::fromUtf8(ui::kOptionCaption));
}

}  // namespace lumavox
