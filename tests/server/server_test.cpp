// The server engine itself: reaching the server and the host's numbers when it cannot, locks
// that wait a bounded time, the writer's transaction, statements that fail alone, the host's
// types kept through the server's, and rows changed under a record.
#include "core/data/connection.h"
#include "core/data/database.h"
#include "core/data/serversetup.h"
#include "core/data/transaction.h"
#include "support/pgcluster.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using qz::Database;
using qz::DbError;

// The number of the error a connection attempt throws, or 0.
int connectError(const QString &conninfo, QString *description = nullptr)
{
    try {
        Database::connect(conninfo);
    } catch (const DbError &e) {
        if (description) {
            *description = e.description();
        }
        return e.number();
    }
    return 0;
}

class Server : public testing::Test {
protected:
    void SetUp() override
    {
        if (!server_.ok()) {
            GTEST_SKIP() << "no PostgreSQL server: " << server_.message().toStdString();
        }
        db_ = Database::connect(server_.conninfo());
        qz::prepareServerDatabase(db_);
    }

    qz::test::PgTempDatabase server_;
    Database db_;
};

TEST_F(Server, ConnectionFailuresGetTheHostsNumbersWithoutWaiting)
{
    const QString admin = qz::test::pgCluster().adminConninfo;
    QElapsedTimer timer;
    timer.start();
    QString why;
    // Nothing listens there.
    EXPECT_EQ(connectError(admin + " port=1", &why), 3151);
    EXPECT_TRUE(why.contains("No se puede conectar con el servidor")) << why.toStdString();
    EXPECT_EQ(connectError(admin + " host=/nonexistent-socket-folder"), 3151);
    // A database that is not there.
    EXPECT_EQ(connectError(admin + " dbname=qz_no_such_database", &why), 3024);
    EXPECT_TRUE(why.contains("qz_no_such_database")) << why.toStdString();
    // A wrong password, and none at all.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString wrong = dir.filePath("wrong");
    {
        QFile f(wrong);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("*:*:*:*:not-the-password\n");
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    EXPECT_EQ(connectError(admin + " passfile=" + wrong, &why), 3029);
    EXPECT_TRUE(why.contains("contraseña")) << why.toStdString();
    EXPECT_EQ(connectError(admin + " passfile=" + dir.filePath("none"), &why), 3029);
    // A password in the connection string is refused before anything is sent.
    EXPECT_EQ(connectError(admin + " password=secret", &why), 3029);
    EXPECT_TRUE(why.contains("~/.pgpass")) << why.toStdString();
    EXPECT_EQ(connectError("host='unterminated"), 3151);
    // A host that never answers waits for the connection timeout only.
    EXPECT_EQ(connectError("host=10.255.255.1 port=5432 dbname=x user=x connect_timeout=2"), 3151);
    EXPECT_LT(timer.elapsed(), 30000);
}

TEST_F(Server, TheProgramsOpenTheServerNamedByTheConfiguration)
{
    // openNamedDatabase is what every program does with QZ000.INI's DBServer and DBName.
    Database db = qz::openNamedDatabase(server_.conninfo(), QStringLiteral("/no/such/file.mdb"));
    EXPECT_TRUE(db.isServer());
    try {
        qz::openNamedDatabase(QStringLiteral("  "), QStringLiteral("/no/such/file.mdb"));
        ADD_FAILURE() << "a blank DBServer must mean the file";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), 3024);
    }
    // The host's tables are required on the server as in a file.
    try {
        qz::requireHostTables(db);
        ADD_FAILURE() << "an empty server database is not the host's";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), 3343);
    }
    // The open-error box of the programs for a server that cannot be reached.
    try {
        Database::connect(qz::test::pgCluster().adminConninfo + " port=1");
        ADD_FAILURE() << "connected where nothing listens";
    } catch (const DbError &e) {
        const QString text = qz::openErrorText(e, qz::Program::Declchk);
        EXPECT_TRUE(text.endsWith("\n 3151")) << text.toStdString();
    }
}

TEST_F(Server, WritersWaitForEachOtherABoundedTime)
{
    Database other = Database::connect(server_.conninfo());
    db_.execute("CREATE TABLE T (k text(5), n integer)");
    db_.begin();
    QElapsedTimer timer;
    timer.start();
    try {
        other.begin();
        ADD_FAILURE() << "a second writer got in while the first held the database";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), 3218) << e.description().toStdString();
    }
    EXPECT_GE(timer.elapsed(), 4000);
    EXPECT_FALSE(other.inTransaction());
    // Readers never wait.
    EXPECT_EQ(other.scalar("SELECT count(*) FROM T").toInt(), 0);
    db_.commit();
    other.begin();
    other.execute("INSERT INTO T VALUES ('a', 1)");
    other.commit();

    // A table locked by another program: the statement gives up after the lock timeout.
    other.begin();
    other.executeNative("LOCK TABLE t IN ACCESS EXCLUSIVE MODE");
    try {
        db_.query("SELECT * FROM T");
        ADD_FAILURE() << "read a table held exclusively";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), 3218);
    }
    other.rollback();
    EXPECT_EQ(db_.scalar("SELECT n FROM T").toInt(), 1);
}

TEST_F(Server, AFailedStatementInATransactionUndoesOnlyItself)
{
    db_.execute("CREATE TABLE T (k text(5) NOT NULL, n integer)");
    db_.execute("ALTER TABLE T ADD CONSTRAINT PK_T PRIMARY KEY (k)");
    {
        qz::Transaction tx(db_);
        db_.execute("INSERT INTO T VALUES ('a', 1)");
        try {
            db_.execute("INSERT INTO T VALUES ('A', 2)"); // the same key, ignoring case
            ADD_FAILURE() << "duplicate key accepted";
        } catch (const DbError &e) {
            EXPECT_EQ(e.number(), 3022);
        }
        try {
            db_.execute("CREATE TABLE T (x integer)");
            ADD_FAILURE() << "second table of a name";
        } catch (const DbError &e) {
            EXPECT_EQ(e.number(), 3010);
        }
        try {
            db_.execute("ALTER TABLE T ADD CONSTRAINT PK_T2 PRIMARY KEY (n)");
            ADD_FAILURE() << "second primary key";
        } catch (const DbError &e) {
            EXPECT_EQ(e.number(), 3283);
        }
        db_.execute("INSERT INTO T VALUES ('b', 2)");
        tx.commit();
    }
    EXPECT_EQ(db_.scalar("SELECT count(*) FROM T").toInt(), 2);
    {
        qz::Transaction tx(db_);
        db_.execute("DELETE * FROM T");
        // no commit
    }
    EXPECT_EQ(db_.scalar("SELECT sum(n) FROM T").toInt(), 3);
    EXPECT_FALSE(db_.inTransaction());
}

TEST_F(Server, HostTypesAndNamesSurviveTheServer)
{
    db_.executeScript("CREATE TABLE [Mixed Case] ([tip_doc_d] Byte, [Doc_Id] text(15), "
                      "[Monto] double, [Fecha] DATETIME, semana INTEGER NOT NULL ON CONFLICT "
                      "REPLACE DEFAULT 0, [Nota] memo)");
    const std::vector<qz::ColumnInfo> columns = db_.columnsOf("MIXED CASE");
    ASSERT_EQ(columns.size(), 6u);
    EXPECT_EQ(columns[0].declaredType, "Byte");
    EXPECT_EQ(columns[1].declaredType, "text(15)");
    EXPECT_EQ(columns[2].declaredType, "double");
    EXPECT_EQ(columns[3].declaredType, "DATETIME");
    EXPECT_EQ(columns[4].declaredType, "INTEGER");
    EXPECT_EQ(columns[5].declaredType, "memo");

    qz::Record r = db_.newRecord("MIXED case");
    r.set("TIP_DOC_D", 6);
    r.set("doc_id", "20100000001");
    r.set("monto", 1234.5);
    r.set("fecha", QDateTime(QDate(2026, 12, 9), QTime(8, 30)));
    r.set("nota", "D'Acosta; \"x\" <!b!> ¦ Ñandú");
    db_.store(r); // semana Null becomes its default, as on the host
    const qz::QueryResult back =
        db_.query("SELECT * FROM [Mixed Case] WHERE doc_id = '20100000001'");
    ASSERT_EQ(back.rowCount(), 1);
    EXPECT_EQ(back.at(0, "Tip_Doc_D"), qz::Value(6));
    EXPECT_EQ(back.at(0, "Monto"), qz::Value(1234.5));
    EXPECT_EQ(back.at(0, "Fecha").toDate(), QDateTime(QDate(2026, 12, 9), QTime(8, 30)));
    EXPECT_EQ(back.at(0, "semana"), qz::Value(0));
    EXPECT_EQ(back.at(0, "nota").toText(), "D'Acosta; \"x\" <!b!> ¦ Ñandú");
    // Text compares ignoring case, as on the host.
    EXPECT_EQ(db_.scalar("SELECT count(*) FROM [Mixed Case] WHERE Nota LIKE 'd''acosta%'").toInt(),
              1);
    // Letters beyond ASCII keep their case, as in SQLite's comparison of the file engine.
    EXPECT_EQ(db_.scalar("SELECT count(*) FROM [Mixed Case] WHERE Nota = "
                         "'D''ACOSTA; \"X\" <!B!> ¦ Ñandú'")
                  .toInt(),
              1);
}

TEST_F(Server, ARecordChangedByAnotherConnectionIsNotWrittenOver)
{
    Database other = Database::connect(server_.conninfo());
    db_.execute("CREATE TABLE T (k text(5), n integer)");
    db_.execute("INSERT INTO T VALUES ('a', 1)");
    std::vector<qz::Record> mine = db_.selectForUpdate("SELECT * FROM T WHERE k='a'");
    ASSERT_EQ(mine.size(), 1u);
    other.execute("UPDATE T SET n = 2 WHERE k = 'a'");
    mine[0].set("n", 3);
    try {
        db_.store(mine[0]);
        ADD_FAILURE() << "a stale record overwrote another connection's change";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), 3197);
    }
    EXPECT_EQ(db_.scalar("SELECT n FROM T").toInt(), 2);
    // Read again, it stores; and a record stored twice follows its own row.
    mine = db_.selectForUpdate("SELECT * FROM T WHERE k='a'");
    mine[0].set("n", 4);
    db_.store(mine[0]);
    mine[0].set("n", 5);
    db_.store(mine[0]);
    EXPECT_EQ(db_.scalar("SELECT n FROM T").toInt(), 5);
    db_.remove(mine[0]);
    EXPECT_EQ(db_.scalar("SELECT count(*) FROM T").toInt(), 0);
}

TEST_F(Server, SerializationFailuresAreRetriedABoundedNumberOfTimes)
{
    // A function that fails as a serialization failure on its first calls: the sequence
    // counts the attempts (a sequence is not rolled back with the statement).
    db_.executeNative("CREATE SEQUENCE attempts");
    db_.executeNative(
        "CREATE FUNCTION conflicted(failures bigint) RETURNS bigint LANGUAGE plpgsql AS $$ "
        "DECLARE n bigint := nextval('attempts'); BEGIN IF n <= failures THEN RAISE EXCEPTION "
        "'could not serialize access' USING ERRCODE = '40001'; END IF; RETURN n; END $$");
    // Two failures, then the third attempt goes through: outside and inside a transaction.
    EXPECT_EQ(db_.scalar("SELECT conflicted(2)").toInt(), 3);
    db_.executeNative("ALTER SEQUENCE attempts RESTART");
    {
        qz::Transaction tx(db_);
        EXPECT_EQ(db_.scalar("SELECT conflicted(2)").toInt(), 3);
        tx.commit();
    }
    // Always failing: given up after three retries, reported as locked, the transaction
    // still usable.
    db_.executeNative("ALTER SEQUENCE attempts RESTART");
    qz::Transaction tx(db_);
    try {
        db_.scalar("SELECT conflicted(100)");
        ADD_FAILURE() << "a failure that never ends was not reported";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), 3218);
    }
    EXPECT_EQ(db_.scalar("SELECT last_value FROM attempts").toInt(), 4);
    EXPECT_EQ(db_.scalar("SELECT 1").toInt(), 1);
    tx.commit();
}

} // namespace
