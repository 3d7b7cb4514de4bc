// A report file and its SPOOL row are made together: after any failure there is neither a row
// without its complete file nor a report file without its row.
#include "core/reports/registeredreport.h"

#include "core/data/paths.h"
#include "core/reports/printresult.h"
#include "core/reports/reportwriter.h"
#include "support/filefaults.h"
#include "support/tempinstall.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class RegisteredReportTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst_.ok()) << inst_.message().toStdString();
        db_ = inst_.open();
        db_.execute("DELETE * FROM SPOOL");
        rpt_ = qz::joinPath(inst_.dir(), "RPT");
        ASSERT_TRUE(QDir().mkpath(rpt_));
    }

    qz::RegisteredReport write(int lines, const QString &dir = {})
    {
        return qz::writeRegisteredReport(db_, dir.isEmpty() ? rpt_ : dir, entry_,
                                         [lines](qz::ReportWriter &w) {
                                             for (int i = 0; i < lines; ++i) {
                                                 w.pLineaPos(300, 350 + i, "KORVA", true, 16, 0);
                                             }
                                         });
    }

    QStringList filesInRpt() const
    {
        return QDir(rpt_).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }
    qint64 spoolRows() { return db_.scalar("SELECT count(*) FROM SPOOL").toInt(); }

    qz::test::TempInstall inst_;
    qz::Database db_;
    QString rpt_;
    qz::SpoolEntry entry_{"OKR001", 6, "20100000001", "ADMIN"};
};

TEST_F(RegisteredReportTest, TheCompleteFileStandsUnderTheRegisteredNameAndNothingElseIsLeft)
{
    const qz::RegisteredReport first = write(3);
    ASSERT_TRUE(first.ok()) << first.description.toStdString();
    EXPECT_EQ(first.archivo, "00000001.PRN");
    const qz::RegisteredReport second = write(1);
    EXPECT_EQ(second.archivo, "00000002.PRN");
    EXPECT_EQ(filesInRpt(), QStringList({"00000001.PRN", "00000002.PRN"}));
    QFile file(qz::joinPath(rpt_, first.archivo));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("pPos|300|"), 3);
    EXPECT_EQ(db_.scalar("SELECT Archivo FROM SPOOL WHERE Secuencia = '000002'").toText(),
              "00000002.PRN");
    // The report has the permissions of any file made there: the host must be able to read it.
    QFile plain(qz::joinPath(rpt_, "plain.txt"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    EXPECT_EQ(file.permissions(), plain.permissions());
}

// Each failure names its cause, and leaves no row and no file.
TEST_F(RegisteredReportTest, AFailureLeavesNeitherRowNorFile)
{
    // The report folder cannot hold a file.
    const qz::RegisteredReport noFolder = write(1, qz::joinPath(rpt_, "missing"));
    EXPECT_EQ(noFolder.errorNumber, qz::printerr::kPathFileAccess);
    EXPECT_TRUE(noFolder.archivo.isEmpty());

    // The name the row would give is taken by a folder: the rename fails, the row goes back.
    ASSERT_TRUE(QDir(rpt_).mkdir("00000001.PRN"));
    const qz::RegisteredReport taken = write(1);
    EXPECT_EQ(taken.errorNumber, qz::printerr::kPathFileAccess);
    EXPECT_TRUE(taken.description.contains("00000001.PRN")) << taken.description.toStdString();
    EXPECT_EQ(filesInRpt(), QStringList({"00000001.PRN"}));
    EXPECT_EQ(spoolRows(), 0);
    ASSERT_TRUE(QDir(rpt_).rmdir("00000001.PRN"));

    // The table cannot be written: the engine's error, and the written file is gone again.
    db_.execute("DROP TABLE SPOOL");
    const qz::RegisteredReport noTable = write(1);
    EXPECT_NE(noTable.errorNumber, 0);
    EXPECT_FALSE(noTable.description.isEmpty());
    EXPECT_TRUE(filesInRpt().isEmpty()) << filesInRpt().join(' ').toStdString();
}

// A disk that fills up in the middle of the file (a real write error through the file-size
// limit): nothing is registered and no partial file stays.
TEST_F(RegisteredReportTest, AWriteErrorRegistersNothing)
{
    qz::RegisteredReport full;
    {
        const qz::test::FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.ok());
        full = write(2000);
    }

    EXPECT_EQ(full.errorNumber, qz::printerr::kPathFileAccess);
    EXPECT_EQ(spoolRows(), 0);
    EXPECT_TRUE(filesInRpt().isEmpty()) << filesInRpt().join(' ').toStdString();
}

} // namespace
