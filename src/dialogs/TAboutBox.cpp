#include "dialogs/TAboutBox.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "editor/QtText.h"
#include "platform/ProgramVersion.h"

namespace lumavox {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TAboutBox"));
    setWindowTitle(QtText(UiText::AboutTitle));
    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(48, 48));
    icon->setFixedSize(56, 56);
    auto* product = new QLabel(QtText(UiText::AppTitle), this);
    QFont productFont = product->font();
    productFont.setBold(true);
    productFont.setPixelSize(20);
    product->setFont(productFont);
    m_version =
        new QLabel(QtText(UiText::VersionPrefix) + QString::fromStdString(ProgramVersion()), this);
    m_version->setObjectName(QStringLiteral("version"));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QtText(UiText::Ok), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(product, 0, 1);
    layout->addWidget(m_version, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2, Qt::AlignCenter);
    setFixedSize(sizeHint().expandedTo(QSize(300, 150)));
}

QString TAboutBox::VersionText() const {
    return m_version->text();
}

}  // namespace lumavox
