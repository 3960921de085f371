#include "app/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "model/Translation.h"
#include "settings/UsrIniFile.h"

namespace lumavox {

namespace {

// The core asks for texts as UTF-8 views that must outlive the call: each translation is made
// once and kept. Texts may be asked for from any thread, hence the lock.
std::string_view TranslateWithQt(std::string_view source) {
    static std::mutex lock;
    static std::map<std::string, std::string, std::less<>> cache;
    const std::lock_guard<std::mutex> guard(lock);
    if (const auto it = cache.find(source); it != cache.end()) return it->second;
    const std::string key(source);
    std::string text = QCoreApplication::translate(kTextContext, key.c_str()).toStdString();
    return cache.emplace(key, std::move(text)).first->second;
}

}  // namespace

Language::Language(QCoreApplication& app, UiLanguage language) : m_app(app) {
    const bool english = language == UiLanguage::English;
    if (english) {
        m_loaded = m_program.load(QStringLiteral(":/i18n/lumavox_en.qm"));
        if (m_loaded) m_app.installTranslator(&m_program);
        SetTextTranslator(&TranslateWithQt);
    }
    if (m_qt.load(QLocale(english ? QLocale::English : QLocale::Japanese), QStringLiteral("qtbase"),
                  QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        m_app.installTranslator(&m_qt);
    }
}

Language::~Language() {
    SetTextTranslator(nullptr);
    m_app.removeTranslator(&m_qt);
    m_app.removeTranslator(&m_program);
}

UiLanguage Language::FromSettings(const std::string& iniPath) {
    const UsrIniFile ini(iniPath);
    return ChooseUiLanguage(ini.ReadString("General", "Language", kLanguageAuto),
                            std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

}  // namespace lumavox
