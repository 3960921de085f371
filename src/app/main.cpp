// lumavox: the editor. One copy per machine; the nine windows are made once at start-up.
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QSocketNotifier>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "app/Language.h"
#include "app/MainWindow.h"
#include "dialogs/TAboutBox.h"
#include "dialogs/TArtNetPropDlg.h"
#include "dialogs/TColMonForm.h"
#include "dialogs/TOptionDlg.h"
#include "dialogs/TSelExForm.h"
#include "dialogs/TSetPrjDlg.h"
#include "dialogs/TStpPropDlg.h"
#include "dialogs/TStpTimeDlg.h"
#include "editor/QtText.h"
#include "platform/InstanceLock.h"
#include "platform/Paths.h"
#include "platform/ProgramVersion.h"
#include "settings/SettingsPath.h"

namespace {

// Qt does not let an exception cross its event loop: one thrown by a handler is shown in a box
// and the program goes on.
class LumavoxApplication final : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            QMessageBox::critical(activeWindow(), lumavox::QtText(lumavox::UiText::AppTitle),
                                  QString::fromUtf8(error.what()));
        } catch (...) {
            QMessageBox::critical(activeWindow(), lumavox::QtText(lumavox::UiText::AppTitle),
                                  QStringLiteral("unknown error"));
        }
        return false;
    }
};

constexpr const char* kUsage =
    "usage: lumavox [PROJECT.PRJ]\n"
    "       lumavox --version\n"
    "Starts the light-show editor, opening PROJECT.PRJ when one is given.\n";

}  // namespace

int main(int argc, char** argv) {
    QString startFile;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("lumavox %s\n", lumavox::ProgramVersion().c_str());
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    // Termination signals close the window through the closing sequence. They are blocked before
    // any thread exists (every thread inherits the mask) and read from a descriptor.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    const int signalFd = signalfd(-1, &stopSignals, SFD_NONBLOCK | SFD_CLOEXEC);

    // Only one copy drives the lights: a second one ends at once, silently. A lock that cannot be
    // taken at all stops nobody: the reason goes to stderr and the editor starts.
    lumavox::FileInstanceLock instance(lumavox::kInstanceLockName);
    switch (instance.TryAcquire()) {
        case lumavox::InstanceLockState::Acquired:
            break;
        case lumavox::InstanceLockState::HeldByAnother:
            return -1;
        case lumavox::InstanceLockState::Unavailable:
            std::fprintf(stderr, "lumavox: %s; starting without it\n", instance.Error().c_str());
            break;
    }

    // Window positions need X11; Wayland ignores them.
    if (std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "xcb", 0);
    }
    LumavoxApplication app(argc, argv);
    // No display name: the toolkit would append it to every window title (" — Lumavox"), and
    // each window's title is already the whole caption.
    app.setApplicationName(lumavox::QtText(lumavox::UiText::AppTitle));
    app.setWindowIcon(QIcon(QStringLiteral(":/lumavox.png")));
    // The language is fixed for the run: chosen before the first window, from the settings file
    // and the locale. A missing translation leaves the texts in Japanese.
    const lumavox::UiLanguage uiLanguage =
        lumavox::Language::FromSettings(lumavox::DefaultSettingsPath());
    const lumavox::Language language(app, uiLanguage);
    if (!language.Loaded()) std::fputs("lumavox: the English texts are missing\n", stderr);
    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(15);
    app.setFont(font);

    const QStringList arguments = app.arguments();
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i].startsWith(QLatin1Char('-'))) {
            std::fprintf(stderr, "lumavox: unknown option %s\n%s", argv[i], kUsage);
            return 2;
        }
        if (!startFile.isEmpty()) {
            std::fprintf(stderr, "lumavox: one project at most\n%s", kUsage);
            return 2;
        }
        startFile = QFileInfo(arguments[i]).absoluteFilePath();
    }

    try {
        lumavox::TLumavoxForm::Setup setup;
        setup.iniPath = lumavox::DefaultSettingsPath();
        setup.exeDir = lumavox::ExeDir();
        setup.language = uiLanguage;
        lumavox::TLumavoxForm form(std::move(setup));
        lumavox::TSetPrjDlg setPrj(form.Project(), form.State(), form.Patch(), form.Env(),
                                   form.Sound(), &form);
        lumavox::TStpPropDlg stpProp(form.Context(), &form);
        lumavox::TAboutBox about(&form);
        lumavox::TOptionDlg option(form.Env(), form.OptionHost(), form.Outputs(), &form);
        lumavox::TColMonForm colMon(form.Context(), &form);
        lumavox::TSelExForm selEx(form.Context(), &form);
        lumavox::TStpTimeDlg stpTime(form.Context(), &form);
        lumavox::TArtNetPropDlg artNetProp(&form);
        option.SetNodeDialog(&artNetProp);
        form.SetAuxWindows(
            {&setPrj, &stpProp, &about, &option, &colMon, &selEx, &stpTime, &artNetProp});
        if (!startFile.isEmpty()) form.OpenAtStart(startFile);

        QSocketNotifier* notifier = nullptr;
        if (signalFd >= 0) {
            notifier = new QSocketNotifier(signalFd, QSocketNotifier::Read, &app);
            QObject::connect(notifier, &QSocketNotifier::activated, &form, [signalFd, &form] {
                signalfd_siginfo info{};
                while (read(signalFd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
                }
                form.CloseWithoutAsking();
            });
        }
        form.show();
        const int status = app.exec();
        delete notifier;
        if (signalFd >= 0) close(signalFd);
        return status;
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, lumavox::QtText(lumavox::UiText::AppTitle),
                              QString::fromUtf8(error.what()));
        return 1;
    }
}
