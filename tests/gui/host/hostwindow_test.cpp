// Widget tests of the host window on the offscreen platform: its exact title, what it shows of
// the installation, the user change and the "Iniciar 0731" button.
#include "core/data/config.h"
#include "core/data/messenger.h"
#include "core/host/hostsession.h"
#include "gui/host/hostwindow.h"
#include "support/tempinstall.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
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
    EXPECT_EQ(child<QLabel>(window, "database")->text(),
              QDir::toNativeSeparators(install_.dbPath()));
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

} // namespace
