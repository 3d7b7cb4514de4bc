// velquira, the stand-in for the host program: "velquira --init DIR [--force]" creates a host
// installation (no display needed); "velquira --demo-declarations" saves and sends the demo
// declarations in it (after decltab); "velquira --send RUC EXERCISE" sends one saved
// declaration without a window; "velquira" alone shows the host window "Velquira".
//
// No application display name is set: Qt would append it to window titles, and the module
// looks for the host's window by its exact title.
#include "core/data/database.h"
#include "core/host/demodeclarations.h"
#include "core/host/hostsession.h"
#include "core/host/installation.h"
#include "core/host/sending.h"
#include "core/platform/filesizesignal.h"
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

// Sends one declaration of the installation QZ000.INI points at. Exit status: 0 sent, 1 refused
// (declchk found it inconsistent, or it is not ready to be sent), 2 an error.
int sendDeclaration(const QString &ruc, const QString &exercise, QTextStream &out, QTextStream &err)
{
    const qz::HostInstallation installation = qz::readHostInstallation();
    qz::SendResult result;
    try {
        qz::Database db = qz::openHostDatabase(installation);
        qz::DeclarationSender sender(db, installation.sysPath,
                                     QCoreApplication::applicationDirPath());
        result = sender.send(ruc, exercise);
    } catch (const qz::DbError &e) {
        result.message = QStringLiteral("cannot open the database %1: error %2: %3")
                             .arg(qz::databaseLocation(installation))
                             .arg(e.number())
                             .arg(e.description());
    }
    switch (result.status) {
    case qz::SendStatus::Sent:
        out << "velquira: " << result.message << "\n"
            << result.summary << "\n"
            << qz::receiptText(result) << "\n";
        return 0;
    case qz::SendStatus::Refused:
        err << "velquira: " << result.message << "\n";
        if (!result.listing.isEmpty()) {
            err << result.listing << "\n";
        }
        return 1;
    case qz::SendStatus::Failed:
        break;
    }
    err << "velquira: " << result.message << "\n";
    return 2;
}

// Saves the demo declarations and sends one of them.
int demoDeclarations(QTextStream &out, QTextStream &err)
{
    const qz::HostInstallation installation = qz::readHostInstallation();
    qz::DemoDeclarationsResult demo;
    try {
        qz::Database db = qz::openHostDatabase(installation);
        demo = qz::insertDemoDeclarations(db);
    } catch (const qz::DbError &e) {
        demo.message = QStringLiteral("cannot open the database %1: error %2: %3")
                           .arg(qz::databaseLocation(installation))
                           .arg(e.number())
                           .arg(e.description());
    }
    if (!demo.ok) {
        err << "velquira: " << demo.message << "\n";
        return 1;
    }
    out << "velquira: " << demo.message << "\n";
    out.flush();
    return sendDeclaration(demo.toSend.ruc, demo.toSend.exercise, out, err) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    qz::ignoreFileSizeSignal();
    if (argc == 1) {
        return runHostWindow(argc, argv);
    }
    QCoreApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stand-in for the host program of form 0731.\n"
                       "  velquira --init DIR [--force] [--server CONNINFO]\n"
                       "                                 create a host installation in DIR\n"
                       "  velquira --demo-declarations   save and send the demo declarations\n"
                       "  velquira --send RUC EXERCISE   send a saved declaration (exit status\n"
                       "                                 0 sent, 1 refused, 2 error)\n"
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
    const QCommandLineOption sendOption(
        QStringLiteral("send"),
        QStringLiteral("Send the saved declaration of form 0731 of taxpayer RUC and EXERCISE: "
                       "declchk, declrep, the history tables, the receipt."));
    const QCommandLineOption demoOption(
        QStringLiteral("demo-declarations"),
        QStringLiteral("Save the demo declarations through the module's save (the module's "
                       "tables must be installed by decltab) and send one of them."));
    const QCommandLineOption serverOption(
        QStringLiteral("server"),
        QStringLiteral("With --init: put the shared database on a PostgreSQL server instead of "
                       "a file; <conninfo> is a libpq connection string such as \"host=db1 "
                       "dbname=qz user=office\" (the password from ~/.pgpass or PGPASSWORD). "
                       "QZ000.INI gets it as the key DBServer."),
        QStringLiteral("conninfo"));
    parser.addOption(initOption);
    parser.addOption(serverOption);
    parser.addOption(forceOption);
    parser.addOption(sendOption);
    parser.addOption(demoOption);

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
    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(sendOption)) {
        if (positional.size() != 2 || parser.isSet(initOption) || parser.isSet(demoOption)) {
            err << "velquira: --send takes exactly RUC and EXERCISE\n";
            return 2;
        }
        return sendDeclaration(positional.at(0), positional.at(1), out, err);
    }
    if (!positional.isEmpty()) {
        err << "velquira: unexpected argument '" << parser.positionalArguments().first()
            << "'\nTry 'velquira --help'.\n";
        return 2;
    }
    if (parser.isSet(serverOption) && !parser.isSet(initOption)) {
        err << "velquira: --server is only meaningful with --init DIR\n";
        return 2;
    }
    if (parser.isSet(forceOption) && !parser.isSet(initOption)) {
        err << "velquira: --force is only meaningful with --init DIR\n";
        return 2;
    }
    if (parser.isSet(initOption)) {
        const qz::InstallResult result = qz::createInstallation(
            parser.value(initOption), parser.isSet(forceOption), parser.value(serverOption));
        if (!result.ok) {
            err << "velquira: " << result.message << "\n";
            return 1;
        }
        out << "velquira: " << result.message << "\n";
        return 0;
    }
    if (parser.isSet(demoOption)) {
        return demoDeclarations(out, err);
    }
    // Only options that need no window get here (velquira alone opens the window).
    return 0;
}
