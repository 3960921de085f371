#pragma once

#include <QDialog>

class QLabel;

namespace lumavox {

// The about box: the product name, "Version " and the program's version, the program's icon and
// an OK button. Created once at start-up, hidden and reused. UI thread only.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    QString VersionText() const;

private:
    QLabel* m_version = nullptr;
};

}  // namespace lumavox
