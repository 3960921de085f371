#include "dialogs/TStpPropDlg.h"

#include "editor/UiText.h"

namespace lumavox {

TStpPropDlg::TStpPropDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TStpPropDlg"));
    setWindowTitle(QString::fromUtf8(ui::kStpPropCaption));
}

}  // namespace lumavox
