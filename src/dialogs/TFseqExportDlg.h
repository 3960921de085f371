#pragma once

#include <QDialog>
#include <QString>

#include "export/FseqExport.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace lumavox {

// The choices of an FSEQ export: the file, the frame step, the channel count, the compression and
// the media file name a player starts with the sequence. The caller fills in the defaults, runs
// exec() and on Accepted reads Path() and Options(). UI thread only.
class TFseqExportDlg : public QDialog {
    Q_OBJECT
public:
    TFseqExportDlg(const QString& path, const FseqExportOptions& options, QWidget* parent);

    QString Path() const;
    FseqExportOptions Options() const;

    QLineEdit* PathEdit() const { return m_path; }
    QSpinBox* StepBox() const { return m_step; }
    QSpinBox* ChannelBox() const { return m_channels; }
    QComboBox* CompressionBox() const { return m_compression; }
    QLineEdit* MediaEdit() const { return m_media; }
    QPushButton* OkButton() const { return m_ok; }

private:
    void Browse();
    void UpdateOk();

    QLineEdit* m_path;
    QSpinBox* m_step;
    QSpinBox* m_channels;
    QComboBox* m_compression;
    QLineEdit* m_media;
    QPushButton* m_ok;
};

}  // namespace lumavox
