#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace lumavox {

// The help viewer: HTML pages of one language shipped beside the program in "help/ja" or
// "help/en": "index.html" is the default
// topic, "<c + 1000>.html" the page of help context c. UI thread only.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    HelpWindow(QString folder, QWidget* parent = nullptr);
    // Context 0 shows the index; a context without a page shows the index too.
    void ShowTopic(int context);
    QString CurrentPage() const;

private:
    QString m_folder;
    QTextBrowser* m_browser = nullptr;
};

}  // namespace lumavox
