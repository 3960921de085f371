#pragma once

#include <QDialog>
#include <QString>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace lumavox {

class EnvData;
class PatchGrid;
class PatchTable;
class ProjectData;
class ShowSession;
class WavSound;
struct SoundScan;
struct EngineState;

// The project settings dialog: title, sound file, DMX patch (with the patch check that lights one
// row's three channels) and the pre- and post-play times. Patch edits act at once and survive
// Cancel; the times reach the engine on OK; the title and sound file reach the project through
// ApplyAccepted, which the caller runs after an accepted exec(). Created once at start-up, hidden
// and reused. UI thread only.
class TSetPrjDlg : public QDialog {
    Q_OBJECT
public:
    TSetPrjDlg(ProjectData& project, EngineState& engine, PatchTable& patch, EnvData& env,
               WavSound& sound, QWidget* parent = nullptr);

    // Before exec(): settings mode fills the fields from the project header; new-project mode
    // (newProject) leaves both empty and empties the engine's SoundPath. title is the caption of
    // the command that opens the dialog; its "&" are dropped.
    void Prepare(const QString& title, bool newProject);
    // After an accepted exec(): a changed sound field loads the sound through session (the
    // project is modified whatever the load gives), a changed title goes into the header; then
    // the time line length, and the play position is held inside the new time line when idle.
    // True when the title changed (the caller updates its caption).
    // readAhead: the new sound read ahead (ScanSound of SoundToRead()); a cancelled read leaves
    // the project's sound as it was and the rest is applied.
    bool ApplyAccepted(ShowSession& session, SoundScan* readAhead = nullptr);
    // After an accepted exec(): the sound file ApplyAccepted will read, empty when the sound
    // field did not change.
    std::string SoundToRead() const;

    // Takes a sound file (the "..." dialog's choice or a dropped file) when it can be used.
    bool TakeSoundFile(const QString& path);

    bool SoundChanged() const { return m_soundChanged; }
    bool TitleChanged() const { return m_titleChanged; }

    QTabWidget* Pages() const { return m_pages; }
    QLineEdit* TitleEdit() const { return m_title; }
    QLineEdit* SoundEdit() const { return m_sound; }
    QLabel* SoundInfoLabel() const { return m_info; }
    PatchGrid* Grid() const { return m_grid; }
    QPushButton* ThroughButton() const { return m_through; }
    QPushButton* ClearButton() const { return m_clearAll; }
    QPushButton* CheckOnButton() const { return m_checkOn; }
    QPushButton* CheckOffButton() const { return m_checkOff; }
    QComboBox* PreTimeComboBox() const { return m_preTime; }
    QComboBox* PostTimeComboBox() const { return m_postTime; }

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QWidget* CreateGeneralPage();
    QWidget* CreatePatchPage();
    QWidget* CreateTimesPage();
    void ShowSoundInfo(const QString& path);
    void ChooseSound();
    void AskAndPatch(bool through);
    void CheckOff();
    void ApplyCheck();
    void MarkModified();

    ProjectData& m_project;
    EngineState& m_engine;
    PatchTable& m_patchTable;
    EnvData& m_env;
    WavSound& m_wav;
    bool m_soundChanged = false;
    bool m_titleChanged = false;

    QTabWidget* m_pages = nullptr;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_sound = nullptr;
    QLabel* m_info = nullptr;
    PatchGrid* m_grid = nullptr;
    QPushButton* m_through = nullptr;
    QPushButton* m_clearAll = nullptr;
    QPushButton* m_checkOn = nullptr;
    QPushButton* m_checkOff = nullptr;
    QComboBox* m_preTime = nullptr;
    QComboBox* m_postTime = nullptr;
};

}  // namespace lumavox
