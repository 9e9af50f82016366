#include "app/Application.h"
#include "core/AppPath.h"
#include "core/Clock.h"
#include "core/CommandLine.h"
#include "core/SettingsStore.h"
#include "core/Translation.h"
#include "platform/GlobalKeyBackend.h"
#include "ui/Artwork.h"
#include "ui/QtDesktop.h"
#include "ui/QtFileDialogs.h"
#include "ui/QtMessageService.h"
#include "ui/QtTrayIcon.h"

#include <QApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <optional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

// Without a display Qt would abort with a long diagnostic; say it in one sentence instead.
bool hasDisplay() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

#ifdef Q_OS_UNIX
// A termination signal (log-out, shutdown, Ctrl+C) ends the program in order, so the data
// file is scrambled again. The handler only writes a byte; the event loop does the rest.
int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

void watchTerminationSignals(Application &application) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &application);
    QObject::connect(notifier, &QSocketNotifier::activated, &application, [&application] {
        char byte;
        [[maybe_unused]] const ssize_t got = ::read(signalPipe[0], &byte, 1);
        application.quit();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}
#endif

void setIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("Ombrivo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(OMBRIVO_VERSION));
}

// --help and --version answer without a display; anything else given is refused.
std::optional<int> answerArguments(int argc, char *argv[]) {
    QCoreApplication reader(argc, argv);
    setIdentity();
    translation::installFor(reader);
    const std::optional<commandline::Outcome> outcome = commandline::handle(reader.arguments());
    if (!outcome)
        return std::nullopt;
    std::fputs(outcome->output.toUtf8().constData(), stdout);
    std::fputs(outcome->error.toUtf8().constData(), stderr);
    return outcome->exitCode;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc > 1) {
        if (const std::optional<int> exitCode = answerArguments(argc, argv))
            return *exitCode;
    }
    if (!hasDisplay()) {
        std::fprintf(stderr, "Ombrivo needs a graphical desktop, but no display was found "
                             "(neither DISPLAY nor WAYLAND_DISPLAY is set).\n");
        return 1;
    }
    QApplication app(argc, argv);
    setIdentity();
    translation::installFor(app);
    QApplication::setWindowIcon(artwork::appIcon());
    QApplication::setQuitOnLastWindowClosed(false);

    QtMessageService messages;
    SystemClock clock;
    SettingsStore settings;
    QtClipboard clipboard;
    QtDesktop desktop;
    QtTrayIcon tray;
    QtFileDialogs fileDialogs;
    const std::unique_ptr<GlobalKeyBackend> globalKeys = createGlobalKeyBackend();
    Application ombrivo(Services{messages, clock, settings, clipboard, desktop, tray, fileDialogs,
                                 *globalKeys, AppPath()});
    QObject::connect(&ombrivo, &Application::finished, &app, &QCoreApplication::exit,
                     Qt::QueuedConnection);
#ifdef Q_OS_UNIX
    watchTerminationSignals(ombrivo);
#endif
    // The session manager ending the desktop session quits the application: end in order.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &ombrivo, &Application::quit);
    if (!ombrivo.start())
        return ombrivo.exitCode();
    return app.exec();
}
