// velquira, the stand-in for the host program: "velquira --init DIR [--force]" creates a host
// installation (no display needed); "velquira" alone shows the host window "Velquira".
//
// No application display name is set: Qt would append it to window titles, and the module
// looks for the host's window by its exact title.
#include "core/host/installation.h"
#include "gui/host/hostwindow.h"
#include "gui/widgets/messageservice.h"
#include "gui/widgets/translations.h"

#include <QApplication>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

// True when Qt can open a window: a platform chosen by QT_QPA_PLATFORM, or a display.
bool displayAvailable()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int runHostWindow(int argc, char *argv[])
{
    if (!displayAvailable()) {
        std::fprintf(stderr, "velquira: the host window needs a display (set DISPLAY); "
                             "use --init DIR to create an installation without one.\n");
        return 1;
    }
    QApplication app(argc, argv);
    qz::installQtSpanish();
    const std::unique_ptr<qz::Messenger> messenger = qz::makeMessenger();
    qz::HostWindow window(*messenger, QCoreApplication::applicationDirPath());
    window.show();
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 1) {
        return runHostWindow(argc, argv);
    }
    QCoreApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stand-in for the host program of form 0731.\n"
                       "  velquira --init DIR [--force]  create a host installation in DIR\n"
                       "  velquira                       the host window \"Velquira\""));
    parser.addHelpOption();
    const QCommandLineOption initOption(
        QStringLiteral("init"),
        QStringLiteral("Create a host installation in <dir>: QZ000.INI (in $QZ_INI_DIR, else "
                       "$XDG_CONFIG_HOME, else ~/.config), QZ000.MDW, the shared database with "
                       "demo data, the folders RPT, TMP, tmp, 0731 and tmp/env731.txt."),
        QStringLiteral("dir"));
    const QCommandLineOption forceOption(
        QStringLiteral("force"),
        QStringLiteral("With --init: replace the database and workgroup file of an existing "
                       "installation."));
    parser.addOption(initOption);
    parser.addOption(forceOption);

    QTextStream err(stderr);
    QTextStream out(stdout);
    if (!parser.parse(app.arguments())) {
        err << "velquira: " << parser.errorText() << "\n"
            << "Try 'velquira --help'.\n";
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << parser.helpText();
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        err << "velquira: unexpected argument '" << parser.positionalArguments().first()
            << "'\nTry 'velquira --help'.\n";
        return 2;
    }
    if (parser.isSet(forceOption) && !parser.isSet(initOption)) {
        err << "velquira: --force is only meaningful with --init DIR\n";
        return 2;
    }
    if (parser.isSet(initOption)) {
        const qz::InstallResult result =
            qz::createInstallation(parser.value(initOption), parser.isSet(forceOption));
        if (!result.ok) {
            err << "velquira: " << result.message << "\n";
            return 1;
        }
        out << "velquira: " << result.message << "\n";
        return 0;
    }
    // Only options that need no window get here (velquira alone opens the window).
    return 0;
}
