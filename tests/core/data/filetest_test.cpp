// The host's file test: missing folders, letter case, a folder that cannot be searched.
#include "core/data/filetest.h"
#include "support/scriptedmessenger.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using qz::test::ScriptedMessenger;

TEST(ExisteArchivo, FolderAndCaseRules)
{
    ScriptedMessenger m;
    QTemporaryDir dir;
    QFile f(dir.filePath("06X0731200500A.TXT"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(qz::ExisteArchivo(dir.filePath("06X0731200500A.TXT"), m));
    EXPECT_TRUE(qz::ExisteArchivo(dir.filePath("06x0731200500a.txt"), m));
    EXPECT_FALSE(qz::ExisteArchivo(dir.filePath("06X0731200500A.ERR"), m));
    EXPECT_FALSE(qz::ExisteArchivo(dir.filePath("missing/06X.TXT"), m));
    EXPECT_FALSE(qz::ExisteArchivo(dir.path() + "\\missing\\06X.TXT", m));
    EXPECT_TRUE(m.shown.empty());
}

TEST(ExisteArchivo, UnsearchableFolderIsReported)
{
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop the superuser";
    }
    ScriptedMessenger m;
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
    QFile::setPermissions(dir.filePath("locked"), QFileDevice::WriteOwner);
    EXPECT_FALSE(qz::ExisteArchivo(dir.filePath("locked/x.TXT"), m));
    ASSERT_EQ(m.shown.size(), 1u);
    EXPECT_EQ(m.shown[0].title, QStringLiteral("Error de Ejecución"));
    EXPECT_TRUE(m.shown[0].text.startsWith("Error 75\n"));
    QFile::setPermissions(dir.filePath("locked"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace
