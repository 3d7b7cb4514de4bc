// Widget tests of the host window on the offscreen platform: its exact title, what it shows of
// the installation, the user change, the "Iniciar 0731" button and the module's end, the list
// of saved declarations and "Enviar" with the real declchk and declrep.
#include "core/data/config.h"
#include "core/data/messenger.h"
#include "core/host/demodeclarations.h"
#include "core/host/hostsession.h"
#include "gui/host/hostwindow.h"
#include "support/moduleinstall.h"
#include "support/tempinstall.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

using qz::test::TempInstall;

namespace {

// Keeps the messages instead of showing them.
class RecordingMessenger final : public qz::Messenger {
public:
    struct Shown {
        qz::MessageIcon icon;
        QString title;
        QString text;
    };
    qz::MessageAnswer show(qz::MessageIcon icon, const QString &title, const QString &text,
                           qz::MessageButtons, qz::MessageAnswer defaultAnswer) override
    {
        shown.push_back({icon, title, text});
        return defaultAnswer;
    }
    std::vector<Shown> shown;
};

// Writes programDir/declmod as a stand-in module that ends at once with body's exit.
void writeDeclmod(const QString &programDir, const QByteArray &body)
{
    QFile script(qz::declmodPath(programDir));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n" + body + "\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
}

QStringList items(const QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i) {
        texts << combo->itemText(i);
    }
    return texts;
}

class HostWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(install_.ok()) << qPrintable(install_.message());
        ASSERT_TRUE(programDir_.isValid());
    }
    template <typename T> static T *child(const QWidget &w, const char *name)
    {
        T *found = w.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    TempInstall install_;
    QTemporaryDir programDir_;
    RecordingMessenger messenger_;
};

TEST_F(HostWindowTest, TitleIsExactlyVelquiraAndTheInstallationIsShown)
{
    qz::HostWindow window(messenger_, programDir_.path());
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Velquira"));
    ASSERT_NE(window.windowHandle(), nullptr);
    EXPECT_EQ(window.windowHandle()->title(), QStringLiteral("Velquira"));

    EXPECT_TRUE(child<QLabel>(window, "sysPath")
                    ->text()
                    .contains(QDir::toNativeSeparators(install_.dir())));
    // The database file, or the server's connection string.
    EXPECT_EQ(child<QLabel>(window, "database")->text(),
              QDir::toNativeSeparators(install_.location()));
    const QComboBox *user = child<QComboBox>(window, "user");
    EXPECT_EQ(items(user), (QStringList{QStringLiteral("USUARIO0"), QStringLiteral("USUARIO1")}));
    EXPECT_EQ(user->currentText(), QStringLiteral("USUARIO1"));
    EXPECT_TRUE(messenger_.shown.empty());
}

TEST_F(HostWindowTest, ChoosingAUserWritesSysUser)
{
    {
        qz::HostWindow window(messenger_, programDir_.path());
        QComboBox *user = child<QComboBox>(window, "user");
        user->setCurrentIndex(user->findText(QStringLiteral("USUARIO0")));
        EXPECT_EQ(qz::readOption(QStringLiteral("SysUser")), QStringLiteral("USUARIO0"));
    }
    // A new window (a new run of the host) starts with that user.
    const qz::HostWindow again(messenger_, programDir_.path());
    EXPECT_EQ(child<QComboBox>(again, "user")->currentText(), QStringLiteral("USUARIO0"));
    EXPECT_TRUE(messenger_.shown.empty());
}

TEST_F(HostWindowTest, StartButtonSaysWhyDeclmodDidNotStart)
{
    qz::HostWindow window(messenger_, programDir_.path());
    QPushButton *start = child<QPushButton>(window, "start0731");
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->text(), QStringLiteral("Iniciar 0731"));

    start->click(); // no declmod in programDir (starting it: hostsession_test)
    ASSERT_EQ(messenger_.shown.size(), 1u);
    EXPECT_EQ(messenger_.shown[0].icon, qz::MessageIcon::Critical);
    EXPECT_TRUE(messenger_.shown[0].text.contains(QStringLiteral("declmod")));
}

TEST_F(HostWindowTest, TheStatusFollowsTheModuleToItsEnd)
{
    qz::HostWindow window(messenger_, programDir_.path());
    QPushButton *start = child<QPushButton>(window, "start0731");
    QLabel *status = child<QLabel>(window, "status");
    ASSERT_TRUE(start && status);

    // The module waits for the file "go" in SysPath, so the test sees it running.
    writeDeclmod(programDir_.path(), "while [ ! -f go ]; do sleep 0.05; done; exit 0");
    start->click();
    ASSERT_TRUE(messenger_.shown.empty()) << qPrintable(messenger_.shown[0].text);
    EXPECT_EQ(status->text(), QString::fromUtf8("Módulo 0731 iniciado."));
    EXPECT_FALSE(start->isEnabled()); // one module at a time
    QFile go(QDir(install_.dir()).filePath(QStringLiteral("go")));
    ASSERT_TRUE(go.open(QIODevice::WriteOnly));
    go.close();
    ASSERT_TRUE(QTest::qWaitFor(
        [status] { return status->text() == QString::fromUtf8("Módulo 0731 finalizado."); }, 10000))
        << qPrintable(status->text());
    EXPECT_TRUE(start->isEnabled());

    // A module that refused to run (exit status 1) or was killed says so.
    writeDeclmod(programDir_.path(), "exit 1");
    start->click();
    ASSERT_TRUE(QTest::qWaitFor([status] { return status->text().contains(u"salida 1"); }, 10000))
        << qPrintable(status->text());
    EXPECT_TRUE(status->text().startsWith(QString::fromUtf8("Módulo 0731 finalizado")));
    writeDeclmod(programDir_.path(), "kill -9 $$");
    start->click();
    ASSERT_TRUE(QTest::qWaitFor([status] { return status->text().contains(u"anormal"); }, 10000))
        << qPrintable(status->text());
    EXPECT_TRUE(messenger_.shown.empty());
}

// The demo declarations in an installation with the module: two of USUARIO1's taxpayers and
// one of USUARIO0's.
class HostWindowSendTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QZ_BIN_DIR")) {
            GTEST_SKIP() << "QZ_BIN_DIR is not set";
        }
        ASSERT_TRUE(inst_.ok()) << qPrintable(inst_.message());
        const qz::DemoDeclarationsResult demo = qz::insertDemoDeclarations(inst_.db());
        ASSERT_TRUE(demo.ok) << qPrintable(demo.message);
        window_.refreshDeclarations(); // the window was made before the declarations
        window_.show();
        list_ = window_.findChild<QTableWidget *>(QStringLiteral("declarations"));
        send_ = window_.findChild<QPushButton *>(QStringLiteral("send"));
        ASSERT_TRUE(list_ && send_);
    }
    QStringList column(int c) const
    {
        QStringList texts;
        for (int r = 0; r < list_->rowCount(); ++r) {
            texts << list_->item(r, c)->text();
        }
        return texts;
    }
    int rowOf(const QString &name) const { return column(1).indexOf(name); }

    qz::test::ModuleInstall inst_;
    RecordingMessenger messenger_;
    qz::HostWindow window_{messenger_, qEnvironmentVariable("QZ_BIN_DIR")};
    QTableWidget *list_ = nullptr;
    QPushButton *send_ = nullptr;
};

TEST_F(HostWindowSendTest, ListsTheUsersDeclarationsAndRefreshesOnActivation)
{
    EXPECT_EQ(column(1), (QStringList{"COMERCIAL ANDINA S.A.", "INVERSIONES D'ALESSANDRO S.A.C."}));
    EXPECT_EQ(column(2), (QStringList{"2009", "2009"}));
    EXPECT_EQ(column(3).value(0), QStringLiteral("0 - Consistente"));

    QComboBox *user = window_.findChild<QComboBox *>(QStringLiteral("user"));
    user->setCurrentIndex(user->findText(QStringLiteral("USUARIO0"))); // sees every taxpayer
    EXPECT_EQ(list_->rowCount(), 3);
    EXPECT_GE(rowOf(QStringLiteral("EMPRESA DE TRANSPORTES EL SOL S.A.")), 0);

    // Something else saves a declaration; coming back to the window shows it.
    inst_.db().execute(QStringLiteral("UPDATE CAB SET estado=9"));
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return other.isActiveWindow(); }, 5000));
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return column(3).value(0) == QStringLiteral("9 - Con inconsistencias"); }, 5000))
        << qPrintable(column(3).join(u','));
    EXPECT_TRUE(messenger_.shown.empty());
}

TEST_F(HostWindowSendTest, TabLeavesTheListForEnviarAndShiftTabComesBack)
{
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window_.isActiveWindow(); }, 5000));
    list_->setFocus();
    list_->selectRow(0);
    QTest::keyClick(list_, Qt::Key_Tab);
    EXPECT_TRUE(send_->hasFocus()) << qPrintable(QApplication::focusWidget()->objectName());
    QTest::keyClick(send_, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(list_->hasFocus());
}

TEST_F(HostWindowSendTest, EnviarShowsTheSummaryAndTheReceipt)
{
    send_->click(); // nothing selected
    ASSERT_EQ(messenger_.shown.size(), 1u);
    EXPECT_EQ(messenger_.shown[0].icon, qz::MessageIcon::Exclamation);
    messenger_.shown.clear();

    list_->selectRow(rowOf(QStringLiteral("COMERCIAL ANDINA S.A.")));
    send_->click();
    ASSERT_EQ(messenger_.shown.size(), 2u) << qPrintable(messenger_.shown[0].text);
    EXPECT_TRUE(
        messenger_.shown[0].text.contains(QStringLiteral("RAZON SOCIAL   : COMERCIAL ANDINA")))
        << qPrintable(messenger_.shown[0].text);
    const QString receipt = messenger_.shown[1].text;
    EXPECT_TRUE(receipt.contains(QStringLiteral("Número de orden: "))) << qPrintable(receipt);
    EXPECT_EQ(column(1), QStringList{"INVERSIONES D'ALESSANDRO S.A.C."}); // refreshed
    EXPECT_EQ(inst_.db().scalar(QStringLiteral("SELECT count(*) FROM HCAB")).toInt(), 1);
}

TEST_F(HostWindowSendTest, EnviarShowsDeclchksListingWhenRefused)
{
    QComboBox *user = window_.findChild<QComboBox *>(QStringLiteral("user"));
    user->setCurrentIndex(user->findText(QStringLiteral("USUARIO0")));
    inst_.db().execute(QStringLiteral("DELETE FROM F731EMPRESAS WHERE num_doc_emp<>'20100079705'"));
    list_->selectRow(rowOf(QStringLiteral("EMPRESA DE TRANSPORTES EL SOL S.A.")));
    send_->click();
    ASSERT_EQ(messenger_.shown.size(), 1u);
    EXPECT_EQ(messenger_.shown[0].icon, qz::MessageIcon::Critical);
    EXPECT_TRUE(messenger_.shown[0].text.contains(QStringLiteral("001) La  cantidad de empresas")))
        << qPrintable(messenger_.shown[0].text);
    EXPECT_EQ(list_->rowCount(), 3);
}

} // namespace
