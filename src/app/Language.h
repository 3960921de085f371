#pragma once

#include <QTranslator>

#include "editor/logic/UiLanguage.h"

class QCoreApplication;

namespace lumavox {

// The texts of one language for the whole editor: the program's translation (from the embedded
// resources), Qt's own texts (file dialogs, standard buttons) and the core's text translator.
// Made once by main before the first window and kept for the life of the application. UI thread.
class Language {
public:
    // Installs the texts of `language` into `app`. Japanese needs no translation of the
    // program's texts (they are written in Japanese), only Qt's.
    Language(QCoreApplication& app, UiLanguage language);
    ~Language();
    Language(const Language&) = delete;
    Language& operator=(const Language&) = delete;

    // False when the translation of the program's texts could not be loaded.
    bool Loaded() const { return m_loaded; }

    // The language that main chooses: the [General] Language value of the settings file at
    // iniPath and the locale variables of the process.
    static UiLanguage FromSettings(const std::string& iniPath);

private:
    QCoreApplication& m_app;
    QTranslator m_program;
    QTranslator m_qt;
    bool m_loaded = true;
};

}  // namespace lumavox
