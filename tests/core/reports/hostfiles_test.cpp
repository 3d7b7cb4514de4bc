// The files written for the host: values that cannot break or tag a line, and files that are
// complete or not there after a full disk or an unwritable folder.
#include "core/reports/hostlinefile.h"
#include "core/reports/linevalue.h"
#include "core/reports/reportfile.h"
#include "core/reports/reportwriter.h"
#include "core/reports/taggedtext.h"
#include "support/filefaults.h"

#include "core/data/textfile.h"
#include "core/data/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

struct ValueCase {
    const char *name;
    QString value;
    QString expected; // as it stands in a tagged text line
    QString report;   // as it stands in a report command
};

// Each value is written into a tagged text line and a report command and read back by the
// readers the host and the preview use: one line each, the value as expected.
TEST(LineValue, ValuesNeverBreakALineNorStartATag)
{
    const ValueCase cases[] = {
        {"plain text", "COMERCIAL ANDINA S.A.", "COMERCIAL ANDINA S.A.", "COMERCIAL ANDINA S.A."},
        {"blanks and accents kept", QString::fromUtf8("  Ñandú  y Cía "),
         QString::fromUtf8("  Ñandú  y Cía "), QString::fromUtf8("  Ñandú  y Cía ")},
        {"a tag inside", "A<!np!>B", "A< !np!>B", "A<!np!>B"},
        {"a tag first", "<!bold!>", "< !bold!>", "<!bold!>"},
        {"after another <", "<<!x", "<< !x", "<<!x"},
        {"CR LF and a fake line", "ANDINA\r\nRUC            : 20999999999",
         "ANDINA  RUC            : 20999999999", "ANDINA  RUC            : 20999999999"},
        {"a lone LF", "A\nB", "A B", "A B"},
        {"tab", "A\tB", "A B", "A B"},
        {"page-break character", QStringLiteral("A\x0F") + "B", "A B", "A B"},
        {"NUL and DEL", QString(u'A') + QChar(0) + QChar(0x7F) + u'B', "A  B", "A  B"},
        {"control between < and !", QStringLiteral("<\x01!"), "< !", "< !"},
        {"a bar", "A|B", "A|B", QString::fromUtf8("A¦B")},
        {"no tag without its !", "a < b !> c", "a < b !> c", "a < b !> c"},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const ValueCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(qz::lineValue(c.value), c.expected);

        const QString tagged = dir.filePath("plain.PRN");
        qz::HostLineFile plain;
        ASSERT_TRUE(plain.create(tagged));
        plain.writeLine("RAZON SOCIAL   : " + qz::lineValue(c.value));
        plain.writeLine("FIN");
        ASSERT_TRUE(plain.close());
        const QString converted = dir.filePath("plain.txt");
        ASSERT_TRUE(qz::printTaggedFile(tagged, converted).ok());
        QStringList lines;
        ASSERT_TRUE(qz::readHostLines(converted, &lines));
        EXPECT_EQ(lines, QStringList({"RAZON SOCIAL   : " + c.expected, "FIN"}));

        const QString report = dir.filePath("report.PRN");
        qz::ReportWriter writer;
        ASSERT_TRUE(writer.create(report));
        writer.pLineaPos(300, 1750, c.value, false, 10, 0);
        writer.pLineaCuadro(1, 2, 3, 4, 0);
        ASSERT_TRUE(writer.close());
        const qz::ReportFile read = qz::readReportFile(report);
        ASSERT_EQ(read.commands.size(), 2u);
        EXPECT_EQ(read.commands[0].text, c.report);
        EXPECT_EQ(read.commands[0].size, 10);
        EXPECT_EQ(read.commands[1].kind, qz::ReportCommand::Kind::Box);
    }
}

class HostFiles : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString path(const char *name) const { return dir_.filePath(QString::fromLatin1(name)); }
    QStringList entries() const
    {
        return QDir(dir_.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }
    static void writeLines(qz::HostLineFile &file, int count)
    {
        for (int i = 0; i < count; ++i) {
            file.writeLine(QStringLiteral("pPos|300|%1|KORVA|True|16|0|").arg(i));
        }
    }

    QTemporaryDir dir_;
};

// A disk that fills up in the middle (a real write error through the file-size limit): the
// file of that name stays as it was, or absent, and no part of the new one is left anywhere.
TEST_F(HostFiles, AFullDiskLeavesTheOldFileOrNone)
{
    writeBytes(path("old.ERR"), "older listing\r\n");
    QByteArray big;
    for (int i = 0; i < 2000; ++i) {
        big += "DOCUMENTO      : RUC  20100000001\r\n";
    }
    writeBytes(path("big.PRN"), big);
    writeBytes(path("copy.TXT"), "older copy\r\n");
    const QStringList before = entries();

    qz::HostLineFile replacing;
    qz::HostLineFile fresh;
    qz::PrintResult converted;
    bool copied = true;
    QString copyError;
    {
        qz::test::FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.ok());
        ASSERT_TRUE(replacing.create(path("old.ERR")));
        writeLines(replacing, 2000);
        ASSERT_TRUE(fresh.create(path("new.ERR")));
        writeLines(fresh, 200); // past the limit only when the last buffered lines are written
        EXPECT_FALSE(replacing.close());
        EXPECT_FALSE(fresh.close());
        converted = qz::printTaggedFile(path("big.PRN"), path("big.txt"));
        copied = qz::copyWhole(path("big.PRN"), path("copy.TXT"), &copyError);
    }
    EXPECT_TRUE(replacing.failed());
    EXPECT_FALSE(replacing.error().isEmpty());
    EXPECT_EQ(fileBytes(path("old.ERR")), "older listing\r\n");
    EXPECT_EQ(converted.errorNumber, qz::printerr::kPathFileAccess);
    EXPECT_FALSE(copied);
    EXPECT_FALSE(copyError.isEmpty());
    EXPECT_EQ(fileBytes(path("copy.TXT")), "older copy\r\n");
    EXPECT_EQ(entries(), before); // no new.ERR, no big.txt, no temporary file
}

// Until it is closed the new file is nowhere to be seen; one never closed is dropped; a
// complete one replaces the old in one step, with the permissions of any file made there.
TEST_F(HostFiles, AFileAppearsOnlyWhenComplete)
{
    writeBytes(path("listing.ERR"), "older\r\n");
    {
        qz::HostLineFile abandoned;
        ASSERT_TRUE(abandoned.create(path("listing.ERR")));
        writeLines(abandoned, 3);
    }
    EXPECT_EQ(fileBytes(path("listing.ERR")), "older\r\n");

    qz::HostLineFile file;
    ASSERT_TRUE(file.create(path("listing.ERR")));
    file.writeLine(QString::fromUtf8("001) escisión"));
    EXPECT_EQ(fileBytes(path("listing.ERR")), "older\r\n");
    ASSERT_TRUE(file.close());
    EXPECT_EQ(fileBytes(path("listing.ERR")), "001) escisi\xF3n\r\n");
    EXPECT_EQ(entries(), QStringList({"listing.ERR"}));

    ASSERT_TRUE(qz::copyWhole(path("listing.ERR"), path("copy.TXT")));
    EXPECT_EQ(fileBytes(path("copy.TXT")), "001) escisi\xF3n\r\n");
    writeBytes(path("plain"), "x");
    EXPECT_EQ(QFile::permissions(path("copy.TXT")), QFile::permissions(path("plain")));
    EXPECT_EQ(QFile::permissions(path("listing.ERR")), QFile::permissions(path("plain")));
    EXPECT_FALSE(qz::copyWhole(path("missing.TXT"), path("copy2.TXT")));
    EXPECT_FALSE(QFile::exists(path("copy2.TXT")));
}

// A device is written as it is, never replaced by a file (a test once turned /dev/full into
// one); its write errors are still seen.
TEST_F(HostFiles, ADeviceIsWrittenDirectly)
{
    qz::HostLineFile null;
    ASSERT_TRUE(null.create("/dev/null"));
    null.writeLine("nada");
    EXPECT_TRUE(null.close());
    EXPECT_FALSE(QFileInfo("/dev/null").isFile());
    if (QFileInfo::exists("/dev/full")) {
        qz::HostLineFile full;
        ASSERT_TRUE(full.create("/dev/full"));
        full.writeLine("nada");
        EXPECT_FALSE(full.close());
        EXPECT_FALSE(QFileInfo("/dev/full").isFile());
    }
}

// A folder where nothing can be made: the failure is said at once and the old file is kept.
TEST_F(HostFiles, AReadOnlyFolderRefusesTheFileAndKeepsTheOld)
{
    writeBytes(path("marker.TXT"), "0731 ERROR\r\n");
    qz::HostLineFile file;
    bool created = true;
    bool copied = true;
    {
        qz::test::ReadOnlyFolder readOnly(dir_.path());
        ASSERT_TRUE(readOnly.holds());
        created = file.create(path("marker.TXT"));
        file.writeLine("otra cosa");
        copied = qz::copyWhole(path("marker.TXT"), path("copy.TXT"));
    }
    EXPECT_FALSE(created);
    EXPECT_FALSE(file.close());
    EXPECT_FALSE(file.error().isEmpty());
    EXPECT_FALSE(copied);
    EXPECT_EQ(fileBytes(path("marker.TXT")), "0731 ERROR\r\n");
    EXPECT_EQ(entries(), QStringList({"marker.TXT"}));
}

} // namespace
