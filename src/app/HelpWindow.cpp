#include "app/HelpWindow.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "editor/QtText.h"

namespace lumavox {

HelpWindow::HelpWindow(QString folder, QWidget* parent)
    : QWidget(parent, Qt::Window), m_folder(std::move(folder)) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QtText(UiText::HelpTitle));
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);
    m_browser->setSearchPaths({m_folder});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 560);
}

void HelpWindow::ShowTopic(int context) {
    QString page = m_folder + QStringLiteral("/index.html");
    if (context > 0) {
        const QString topic = m_folder + QStringLiteral("/%1.html").arg(context + 1000);
        if (QFileInfo::exists(topic)) page = topic;
    }
    m_browser->setSource(QUrl::fromLocalFile(page));
    show();
    raise();
    activateWindow();
}

QString HelpWindow::CurrentPage() const {
    return QFileInfo(m_browser->source().toLocalFile()).fileName();
}

}  // namespace lumavox
