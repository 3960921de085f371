#include "dialogs/TArtNetPropDlg.h"

#include "editor/UiText.h"

namespace lumavox {

TArtNetPropDlg::TArtNetPropDlg(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setObjectName(QStringLiteral("TArtNetPropDlg"));
    setWindowTitle(QString::fromUtf8(ui::kArtNetPropCaption));
}

}  // namespace lumavox
