// Spool registration: numbering, the stored row, the indexes, and two processes at once.
#include "core/reports/spool.h"

#include "core/data/clock.h"
#include "core/data/transaction.h"
#include "support/tempinstall.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

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

    // Whether the engine reads the whole table for a statement (SQLite's "SCAN", the
    // server's "Seq Scan"; the server is told to avoid that where an index serves, as its
    // planner prefers reading a table of a few rows whole).
    bool scansTable(const QString &sql)
    {
        const bool server = db_.isServer();
        if (server) {
            db_.executeNative("SET enable_seqscan = off");
        }
        const qz::QueryResult r = db_.query((server ? "EXPLAIN " : "EXPLAIN QUERY PLAN ") + sql);
        QStringList lines;
        for (int i = 0; i < r.rowCount(); ++i) {
            lines << r.at(i, static_cast<int>(r.columns().size()) - 1).toText();
        }
        const QString plan = lines.join(u'\n');
        return server ? plan.contains("Seq Scan") : plan.contains("SCAN");
    }

    int spoolIndexCount() { return static_cast<int>(db_.indexesOf("SPOOL").size()); }

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
    EXPECT_FALSE(scansTable("SELECT max(left(Archivo,8)) as SecRep FROM SPOOL"));
    EXPECT_FALSE(scansTable("SELECT max(Secuencia) as SecTipo FROM SPOOL Where CodRep = 'OKR001'"));
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
    EXPECT_FALSE(scansTable("SELECT max(left(Archivo,8)) as SecRep FROM SPOOL"));
    EXPECT_FALSE(scansTable("SELECT max(Secuencia) as SecTipo FROM SPOOL Where CodRep = 'OKR001'"));
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

TEST_F(Spool, SeveralProcessesNeverGetTheSameName)
{
    // Workstations of an office on the server: four at once; two on one machine's file.
    const int processes = db_.isServer() ? 4 : 2;
    const int perProcess = db_.isServer() ? 250 : 200;
    const int total = processes * perProcess;
    const QString self = QCoreApplication::applicationFilePath();
    std::vector<std::unique_ptr<QProcess>> running;
    for (int p = 0; p < processes; ++p) {
        running.push_back(std::make_unique<QProcess>());
        running.back()->start(
            self, {"--spool-stress", inst_.location(), QString::number(perProcess), "OKR001"});
    }
    QStringList names;
    for (const auto &process : running) {
        ASSERT_TRUE(process->waitForFinished(240000));
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
        names +=
            QString::fromLatin1(process->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }
    EXPECT_EQ(names.size(), total);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), total);

    EXPECT_EQ(db_.scalar("SELECT count(*) FROM SPOOL").toInt(), total);
    EXPECT_EQ(db_.scalar("SELECT count(DISTINCT Archivo) FROM SPOOL").toInt(), total);
    EXPECT_EQ(db_.scalar("SELECT max(Secuencia) FROM SPOOL").toInt(), total);
    EXPECT_EQ(db_.scalar("SELECT max(Archivo) FROM SPOOL").toText(),
              QStringLiteral("%1.PRN").arg(total, 8, 10, QChar(u'0')));
}

} // namespace
