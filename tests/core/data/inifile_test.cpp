// Private-profile semantics of QZ000.INI.
#include "core/data/inifile.h"
#include "core/data/textfile.h"
#include "support/filefaults.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using qz::IniFile;

namespace {

// A file as the host might leave it: other sections, comments, odd spacing, a Windows-1252
// byte, a duplicate key and section, no final line end.
const QByteArray kHostFile = "; host settings\r\n"
                             "[General]\r\n"
                             "  Name = Velquira  \r\n"
                             "\r\n"
                             "[options]\r\n"
                             "SysPath=C:\\Velquira\\\r\n"
                             "DBPath = \"C:\\Velquira\\\" \r\n"
                             "DBName=QZ000.MDB\r\n"
                             "  sysuser =USUARIO1\r\n"
                             "Note=a;b ; c\r\n"
                             "Dup=first\r\n"
                             "Dup=second\r\n"
                             "Accent=Ni\xf1o\r\n"
                             "\r\n"
                             "[Other]\r\n"
                             "SysPath=elsewhere\r\n"
                             "[Options]\r\n"
                             "Late=ignored";

IniFile hostIni()
{
    IniFile ini;
    ini.setContent(kHostFile);
    return ini;
}

TEST(IniFile, ReadsValuesTheHostWay)
{
    IniFile ini = hostIni();
    EXPECT_EQ(ini.value("OPTIONS", "syspath"), "C:\\Velquira\\"); // names ignore case
    EXPECT_EQ(ini.value("Options", "DBPath"), "C:\\Velquira\\");  // quotes and blanks gone
    EXPECT_EQ(ini.value("Options", "SysUser"), "USUARIO1");       // key with leading blanks
    EXPECT_EQ(ini.value("Options", "Note"), "a;b ; c");           // ';' in a value is text
    EXPECT_EQ(ini.value("Options", "Dup"), "first");              // first duplicate wins
    EXPECT_EQ(ini.value("Options", "Accent"), QString::fromUtf8("Niño"));
    EXPECT_EQ(ini.value("Options", "Late"), ""); // only the first [Options] section counts
    EXPECT_EQ(ini.value("Options", "Missing"), "");
    EXPECT_FALSE(ini.contains("Options", "Missing"));
    EXPECT_EQ(ini.value("Nowhere", "SysPath"), "");
    EXPECT_EQ(ini.value("General", "Name"), "Velquira");
}

TEST(IniFile, LongValueIsCut)
{
    IniFile ini;
    ini.setContent("[Options]\r\nLong=" + QByteArray(300, 'x') + "\r\n");
    EXPECT_EQ(ini.value("Options", "Long").size(), 255);
}

TEST(IniFile, WritingAKeyEditsOnlyItsLine)
{
    IniFile ini = hostIni();
    ini.setValue("Options", "SYSUSER", "OTRO");
    QByteArray expected = kHostFile;
    expected.replace("  sysuser =USUARIO1", "  sysuser=OTRO");
    EXPECT_EQ(ini.content(), expected);
}

TEST(IniFile, NewKeyGoesAtTheEndOfItsSection)
{
    IniFile ini = hostIni();
    ini.setValue("Options", "SystemDB", "C:\\Velquira\\QZ000.MDW");
    QByteArray expected = kHostFile;
    expected.replace("Accent=Ni\xf1o\r\n",
                     "Accent=Ni\xf1o\r\nSystemDB=C:\\Velquira\\QZ000.MDW\r\n");
    EXPECT_EQ(ini.content(), expected);
    EXPECT_EQ(ini.value("Options", "SystemDB"), "C:\\Velquira\\QZ000.MDW");
}

TEST(IniFile, NewSectionIsAppended)
{
    IniFile ini;
    ini.setContent("[A]\nx=1");
    ini.setValue("Options", "SystemDB", "w");
    EXPECT_EQ(ini.content(), QByteArray("[A]\nx=1\n[Options]\nSystemDB=w\n"));
}

TEST(IniFile, ContentKeepsEveryByteOfItsLineEnds)
{
    // Found by the fuzz target: a file ending in a CR without its LF lost that CR.
    for (const QByteArray &bytes : {QByteArray("\r\r"), QByteArray("[Options]\r\nA=1\r"),
                                    QByteArray("A=1\n\r"), QByteArray("a\r\r\n")}) {
        IniFile ini;
        ini.setContent(bytes);
        EXPECT_EQ(ini.content(), bytes) << bytes.toHex().toStdString();
    }
    IniFile ini;
    ini.setContent("[Options]\r\nA=1\r");
    EXPECT_EQ(ini.value("Options", "A"), "1");
}

TEST(IniFile, SaveReplacesTheFileAndKeepsBytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("QZ000.INI");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kHostFile);
    }
    ASSERT_TRUE(qz::writeProfileString(path, "Options", "SystemDB", "C:\\V\\QZ000.MDW"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.contains("Accent=Ni\xf1o\r\nSystemDB=C:\\V\\QZ000.MDW\r\n"));
    EXPECT_TRUE(bytes.startsWith("; host settings\r\n[General]\r\n  Name = Velquira  \r\n"));
    EXPECT_TRUE(bytes.endsWith("[Options]\r\nLate=ignored"));
    EXPECT_EQ(qz::readProfileString(path, "Options", "SystemDB"), "C:\\V\\QZ000.MDW");
}

// A disk that fills up while QZ000.INI or a listing is rewritten: the write says so and the
// old file stays whole (Qt's own commit would publish the cut file and report success).
TEST(IniFile, AFullDiskKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("QZ000.INI");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kHostFile);
    }
    const QString lines = dir.filePath("Mens.txt");
    ASSERT_TRUE(qz::writeHostLines(lines, {"old"}));
    {
        const qz::test::FileSizeLimit limit(64);
        ASSERT_TRUE(limit.ok());
        EXPECT_FALSE(qz::writeProfileString(path, "Options", "SystemDB", QString(200, u'x')));
        QString error;
        EXPECT_FALSE(qz::writeHostLines(lines, QStringList(50, QString(80, u'y')), &error));
        EXPECT_FALSE(error.isEmpty());
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), kHostFile);
    QFile l(lines);
    ASSERT_TRUE(l.open(QIODevice::ReadOnly));
    EXPECT_EQ(l.readAll(), QByteArray("old\r\n"));
}

TEST(IniFile, MissingFileReadsEmptyAndIsCreatedOnWrite)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("none.ini");
    EXPECT_EQ(qz::readProfileString(path, "Options", "SysPath"), "");
    ASSERT_TRUE(qz::writeProfileString(path, "Options", "SysPath", "/x/"));
    EXPECT_EQ(qz::readProfileString(path, "Options", "SysPath"), "/x/");
}

} // namespace
