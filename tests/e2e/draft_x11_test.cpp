// A draft surviving a crash of the real declmod on a private X server: a stored declaration
// opened through "&Modificar", two boxes typed, declmod killed with SIGKILL, started again,
// the same declaration opened, the draft's question answered "Sí" and the declaration saved:
// the stored rows are the boxes as typed before the crash.
//
// Keys reach declmod through xdotool (XTEST), after its window is given the input focus (bare
// Xvfb has no window manager to do that); the test is skipped where xdotool is missing.
#include "core/data/database.h"
#include "core/decltab/tableinstaller.h"
#include "core/platform/windowlist.h"
#include "support/scriptedmessenger.h"
#include "support/storeddeclaration.h"
#include "support/tempinstall.h"
#include "support/windowowner.h"
#include "support/xvfbserver.h"

#include <QDeadlineTimer>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

using qz::test::XvfbServer;

const QString kMainTitle = QStringLiteral("731 Vexilar - v 1.3");
const QString kFormTitle = QStringLiteral("731 Vexilar");
const QString kTaxpayer = QStringLiteral("COMERCIAL ANDINA S.A.");

bool waitUntil(const std::function<bool()> &done, int ms = 20000)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(50);
    }
    return true;
}

class DraftAfterCrash : public ::testing::Test {
protected:
    void SetUp() override
    {
        bin_ = qEnvironmentVariable("QZ_BIN_DIR");
        if (bin_.isEmpty()) {
            GTEST_SKIP() << "QZ_BIN_DIR is not set";
        }
        xdotool_ = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        if (xdotool_.isEmpty()) {
            GTEST_SKIP() << "xdotool is not installed: no way to type into another process";
        }
        ASSERT_TRUE(server_.isRunning()) << qPrintable(server_.errorString());
        ASSERT_TRUE(inst_.ok()) << inst_.message().toStdString();
        ASSERT_TRUE(runtime_.isValid() && data_.isValid());
        qz::test::ScriptedMessenger installer;
        ASSERT_EQ(qz::TableInstaller(installer).run(), 0);
    }
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = server_.environment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), data_.path());
        return env;
    }
    void start(QProcess &p, const QString &program) const
    {
        p.setProcessEnvironment(environment());
        p.setWorkingDirectory(inst_.dir());
        p.start(bin_ + "/" + program, {});
        ASSERT_TRUE(p.waitForStarted(10000));
    }
    // The viewable windows with exactly this title, top first.
    QList<std::uint32_t> windows(const QString &title) const
    {
        QList<std::uint32_t> ids;
        for (const qz::TopLevelWindow &w :
             qz::topLevelWindows(server_.display()).value_or(QList<qz::TopLevelWindow>{})) {
            if (w.viewable && w.title == title.toUtf8()) {
                ids << w.id;
            }
        }
        return ids;
    }
    std::optional<std::uint32_t> waitForWindow(const QString &title) const
    {
        std::optional<std::uint32_t> id;
        waitUntil([&] {
            const QList<std::uint32_t> ids = windows(title);
            if (!ids.isEmpty()) {
                id = ids.first();
            }
            return id.has_value();
        });
        return id;
    }
    bool xdo(const QStringList &args) const
    {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(xdotool_, args);
        return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit &&
               p.exitCode() == 0;
    }
    // Gives the window the input focus (Qt activates it) and sends the keys.
    bool keys(std::uint32_t window, const QStringList &keys) const
    {
        if (!xdo({"windowfocus", "--sync", QString::number(window)})) {
            return false;
        }
        QThread::msleep(200); // the activation reaches Qt's event loop
        return xdo(QStringList{"key", "--delay", "60"} + keys);
    }
    bool typeText(const QString &text) const { return xdo({"type", "--delay", "60", text}); }
    // "&Modificar" from the menu, then "&Modificar" on the list's first declaration.
    std::optional<std::uint32_t> openStored(QProcess &declmod) const
    {
        const std::optional<std::uint32_t> main = waitForWindow(kMainTitle);
        if (!main) {
            ADD_FAILURE() << "no main window: " << declmod.readAllStandardError().toStdString();
            return std::nullopt;
        }
        EXPECT_TRUE(keys(*main, {"alt+d", "m"}));
        const std::optional<std::uint32_t> list = waitForWindow("Modificar Declaraciones");
        if (!list) {
            ADD_FAILURE() << "no list of registered declarations";
            return std::nullopt;
        }
        EXPECT_TRUE(keys(*list, {"alt+m"}));
        return waitForWindow(kFormTitle);
    }
    // The text of the draft files under the data folder, joined.
    QByteArray drafts() const
    {
        QByteArray all;
        QDirIterator it(data_.path(), {"*.json"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            if (f.open(QIODevice::ReadOnly)) {
                all += f.readAll();
            }
        }
        return all;
    }

    QString bin_;
    QString xdotool_;
    XvfbServer server_;
    qz::test::TempInstall inst_;
    QTemporaryDir runtime_;
    QTemporaryDir data_;
};

TEST_F(DraftAfterCrash, BoxesTypedBeforeSigkillAreSavedAfterSi)
{
    QString ruc;
    {
        qz::Database db = inst_.open();
        ruc = qz::test::demoRuc(db, kTaxpayer);
        qz::test::StoredDeclaration stored(db, ruc, "2009");
        stored.header();
        for (const auto &[box, value] : {std::pair{"007", "2009"},
                                         {"028", "4455667"},
                                         {"005", "0"},
                                         {"825", "0"},
                                         {"826", "0"},
                                         {"827", "0"},
                                         {"829", "0"},
                                         {"101", "1500000"},
                                         {"160", "1"}}) {
            stored.box(box, value);
        }
    }
    // The host's window, which declmod looks for before it starts.
    qz::test::WindowOwner host(server_, QStringLiteral("Velquira"), false,
                               QStringLiteral(QZ_WINDOW_OWNER));
    ASSERT_TRUE(host.ready()) << qPrintable(host.error());

    QProcess first;
    start(first, "declmod");
    const std::optional<std::uint32_t> form = openStored(first);
    ASSERT_TRUE(form) << "no declaration window";
    // Page 2 (page 1 is disabled), box 101 takes the focus; then box 104.
    ASSERT_TRUE(keys(*form, {"ctrl+Tab"}));
    ASSERT_TRUE(keys(*form, {"ctrl+a"}));
    ASSERT_TRUE(typeText("1800000"));
    ASSERT_TRUE(xdo({"key", "Tab"}));
    ASSERT_TRUE(typeText("2500"));
    ASSERT_TRUE(xdo({"key", "Tab"})); // leaving 104 writes the draft
    ASSERT_TRUE(waitUntil([&] {
        const QByteArray d = drafts();
        return d.contains("\"101\":\"1,800,000\"") && d.contains("\"104\":\"2,500\"");
    })) << "draft: "
        << drafts().toStdString();

    first.kill(); // SIGKILL: no "&Salir", no destructor
    ASSERT_TRUE(first.waitForFinished(10000));

    QProcess second;
    start(second, "declmod");
    ASSERT_TRUE(openStored(second)) << "no declaration window after the crash";
    // The question is a second window with the window's caption, on top of it.
    ASSERT_TRUE(waitUntil([&] { return windows(kFormTitle).size() == 2; })) << "no draft question";
    const QList<std::uint32_t> both = windows(kFormTitle);
    ASSERT_TRUE(keys(both.first(), {"Return"})); // "Sí", the default
    ASSERT_TRUE(waitUntil([&] { return windows(kFormTitle).size() == 1; }));
    ASSERT_TRUE(keys(both.last(), {"alt+g"})); // "&Grabar"

    const auto stored = [&](const char *box) {
        qz::Database db = inst_.open();
        return db
            .scalar(QStringLiteral("SELECT i_valor FROM DET WHERE DOC_ID_D='%1' AND "
                                   "PERIODO='2009' AND CASILLA='%2'")
                        .arg(ruc, QLatin1String(box)))
            .toText();
    };
    EXPECT_TRUE(waitUntil([&] { return stored("104") == "2500"; })) << stored("104").toStdString();
    EXPECT_EQ(stored("101"), "1800000");

    second.kill();
    second.waitForFinished(10000);
}

} // namespace
