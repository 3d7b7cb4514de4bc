// Spool registration: numbering, the stored row, the indexes, and two processes at once.
#include "core/reports/spool.h"

#include "core/data/clock.h"
#include "core/data/transaction.h"
#include "support/tempinstall.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

namespace {

class Spool : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst_.ok()) << inst_.message().toStdString();
        db_ = inst_.open();
        db_.execute("DELETE * FROM SPOOL");
    }

    QString registerOne(const char *code)
    {
        return qz::pRegistraSpool(db_, code, 6, "20100000001", "ADMIN");
    }

    // The query plan of a statement, its detail lines joined.
    QString plan(const QString &sql)
    {
        const qz::QueryResult r = db_.query("EXPLAIN QUERY PLAN " + sql);
        QStringList lines;
        for (int i = 0; i < r.rowCount(); ++i) {
            lines << r.at(i, static_cast<int>(r.columns().size()) - 1).toText();
        }
        return lines.join(u'\n');
    }

    int spoolIndexCount()
    {
        return static_cast<int>(
            db_.scalar("SELECT count(*) FROM pragma_index_list('SPOOL')").toInt());
    }

    qz::test::TempInstall inst_;
    qz::Database db_;
};

TEST_F(Spool, EmptyTableStartsAtOneAndTheRowHoldsEveryColumn)
{
    const QDateTime at(QDate(2024, 3, 9), QTime(14, 5, 6));
    qz::PinnedClock clock(at);
    EXPECT_EQ(qz::pRegistraSpool(db_, "OKR002", 6, "  20100000001    ", "D'Acosta"),
              "00000001.PRN");
    const qz::QueryResult r = db_.query("SELECT * FROM SPOOL");
    ASSERT_EQ(r.rowCount(), 1);
    EXPECT_EQ(r.at(0, "CodRep").toText(), "OKR002");
    EXPECT_EQ(r.at(0, "Secuencia").toInt(), 1);
    EXPECT_EQ(r.at(0, "Archivo").toText(), "00000001.PRN");
    EXPECT_EQ(r.at(0, "Fecha").toDate(), at);
    EXPECT_EQ(r.at(0, "Usuario").toText(), "D'Acosta");
    EXPECT_EQ(r.at(0, "Tip_doc_d").toInt(), 6);
    EXPECT_EQ(r.at(0, "Doc_id_d").toText(), "20100000001");
}

TEST_F(Spool, FileNumberIsGlobalAndSequencePerCode)
{
    EXPECT_EQ(registerOne("OKR001"), "00000001.PRN");
    EXPECT_EQ(registerOne("OKR001"), "00000002.PRN");
    EXPECT_EQ(registerOne("OKR001"), "00000003.PRN");
    EXPECT_EQ(registerOne("OKR002"), "00000004.PRN");
    EXPECT_EQ(registerOne("OKR001"), "00000005.PRN");
    EXPECT_EQ(registerOne("okr002"), "00000006.PRN"); // codes compare ignoring case
    const qz::QueryResult r = db_.query("SELECT CodRep, Secuencia FROM SPOOL ORDER BY Archivo");
    std::vector<std::int64_t> sequences;
    for (int i = 0; i < r.rowCount(); ++i) {
        sequences.push_back(r.at(i, 1).toInt());
    }
    EXPECT_EQ(sequences, (std::vector<std::int64_t>{1, 2, 3, 1, 4, 2}));
}

TEST_F(Spool, NumbersFollowRowsOfOtherProgramsAndQuotesAreData)
{
    db_.execute("INSERT INTO SPOOL (CodRep, Secuencia, Archivo) VALUES ('OKR003', 17, "
                "'00000041.PRN')");
    db_.execute("INSERT INTO SPOOL (CodRep, Secuencia, Archivo) VALUES ('HOST01', 5, "
                "'00000007.PRN')");
    EXPECT_EQ(registerOne("OKR003"), "00000042.PRN");
    EXPECT_EQ(db_.scalar("SELECT Secuencia FROM SPOOL WHERE Archivo='00000042.PRN'").toInt(), 18);
    EXPECT_EQ(registerOne("X' OR '1'='1"), "00000043.PRN");
    EXPECT_EQ(db_.scalar("SELECT Secuencia FROM SPOOL WHERE Archivo='00000043.PRN'").toInt(), 1);
}

TEST_F(Spool, BothMaximaAreAnsweredFromIndexes)
{
    registerOne("OKR001");
    const int indexes = spoolIndexCount();
    registerOne("OKR001");
    EXPECT_EQ(spoolIndexCount(), indexes); // the host's indexes serve, none is added
    const QString files = plan("SELECT max(left(Archivo,8)) as SecRep FROM SPOOL");
    EXPECT_TRUE(files.contains("USING INDEX") || files.contains("USING COVERING INDEX"))
        << files.toStdString();
    EXPECT_FALSE(files.contains("SCAN")) << files.toStdString();
    const QString sequence =
        plan("SELECT max(Secuencia) as SecTipo FROM SPOOL Where CodRep = 'OKR001'");
    EXPECT_TRUE(sequence.contains("(CodRep=?)")) << sequence.toStdString();
    EXPECT_FALSE(sequence.contains("SCAN")) << sequence.toStdString();
}

TEST_F(Spool, ATableWithoutIndexesGetsThemOnce)
{
    db_.execute("DROP TABLE SPOOL");
    db_.execute("CREATE TABLE SPOOL (CodRep text(6), Secuencia text(6), Archivo text(12), "
                "Fecha DATETIME, Usuario text(20), Tip_doc_d Byte, Doc_id_d text(15))");
    ASSERT_EQ(spoolIndexCount(), 0);
    EXPECT_EQ(registerOne("OKR001"), "00000001.PRN");
    EXPECT_EQ(spoolIndexCount(), 2);
    EXPECT_EQ(registerOne("OKR001"), "00000002.PRN");
    EXPECT_EQ(spoolIndexCount(), 2);
    // A text column keeps the six digits.
    EXPECT_EQ(db_.scalar("SELECT Secuencia FROM SPOOL WHERE Archivo='00000002.PRN'").toText(),
              "000002");
    EXPECT_FALSE(plan("SELECT max(left(Archivo,8)) as SecRep FROM SPOOL").contains("SCAN"));
    EXPECT_FALSE(plan("SELECT max(Secuencia) as SecTipo FROM SPOOL Where CodRep = 'OKR001'")
                     .contains("SCAN"));
}

TEST_F(Spool, InsideTheCallersTransactionAndOnFailure)
{
    {
        qz::Transaction tx(db_);
        EXPECT_EQ(registerOne("OKR001"), "00000001.PRN");
        // no commit: the registration goes with the caller's transaction
    }
    EXPECT_EQ(db_.scalar("SELECT count(*) FROM SPOOL").toInt(), 0);

    db_.execute("DROP TABLE SPOOL");
    EXPECT_THROW(registerOne("OKR001"), qz::DbError);
    EXPECT_FALSE(db_.inTransaction());
}

TEST_F(Spool, TwoProcessesNeverGetTheSameName)
{
    constexpr int kPerProcess = 200;
    const QString self = QCoreApplication::applicationFilePath();
    QProcess a, b;
    const QStringList args = {"--spool-stress", inst_.dbPath(), QString::number(kPerProcess)};
    a.start(self, args + QStringList{"OKR001"});
    b.start(self, args + QStringList{"OKR001"});
    ASSERT_TRUE(a.waitForFinished(120000));
    ASSERT_TRUE(b.waitForFinished(120000));
    EXPECT_EQ(a.exitCode(), 0) << a.readAllStandardError().toStdString();
    EXPECT_EQ(b.exitCode(), 0) << b.readAllStandardError().toStdString();

    QStringList names =
        QString::fromLatin1(a.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    names += QString::fromLatin1(b.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(names.size(), 2 * kPerProcess);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), 2 * kPerProcess);

    EXPECT_EQ(db_.scalar("SELECT count(*) FROM SPOOL").toInt(), 2 * kPerProcess);
    EXPECT_EQ(db_.scalar("SELECT count(DISTINCT Archivo) FROM SPOOL").toInt(), 2 * kPerProcess);
    EXPECT_EQ(db_.scalar("SELECT max(Secuencia) FROM SPOOL").toInt(), 2 * kPerProcess);
    EXPECT_EQ(db_.scalar("SELECT max(Archivo) FROM SPOOL").toText(), "00000400.PRN");
}

} // namespace
