#include "dialogs/TSetPrjDlg.h"

#include "editor/UiText.h"

namespace lumavox {

TSetPrjDlg::TSetPrjDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TSetPrjDlg"));
    setWindowTitle(QString::fromUtf8(ui::kSetPrjCaption));
}

}  // namespace lumavox
