#include "dialogs/TStpTimeDlg.h"

#include "editor/UiText.h"

namespace lumavox {

TStpTimeDlg::TStpTimeDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TStpTimeDlg"));
    setWindowTitle(QString::fromUtf8(ui::kStpTimeCaption));
}

}  // namespace lumavox
