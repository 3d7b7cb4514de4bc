// The connection: typed rows, updatable records, transactions, quoting and open errors.
#include "core/data/database.h"
#include "core/data/sqltext.h"
#include "core/data/transaction.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using qz::Database;
using qz::DbError;
using qz::Value;

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path_ = dir_.filePath("QZ000.MDB");
        db_ = Database::open(path_, Database::Mode::Create);
        db_.execute("CREATE TABLE CONT (Tip_doc_d INTEGER, Doc_id_d TEXT COLLATE NOCASE, "
                    "Nombre TEXT COLLATE NOCASE, Alta DATETIME, Monto DOUBLE)");
    }

    int errorOf(const std::function<void()> &f)
    {
        try {
            f();
        } catch (const DbError &e) {
            return e.number();
        }
        return 0;
    }

    QTemporaryDir dir_;
    QString path_;
    Database db_;
};

TEST_F(DatabaseTest, RowsCarryTheirTypes)
{
    db_.execute("INSERT INTO CONT VALUES (6, '20100066603', 'Alfa', '2005-03-31 10:20:30', 2.5)");
    db_.execute("INSERT INTO CONT VALUES (6, '20100066604', NULL, NULL, NULL)");
    qz::QueryResult r = db_.query("SELECT * FROM CONT ORDER BY Doc_id_d");
    ASSERT_EQ(r.rowCount(), 2);
    EXPECT_EQ(r.at(0, "tip_doc_d").kind(), Value::Kind::Integer);
    EXPECT_EQ(r.at(0, "NOMBRE").kind(), Value::Kind::Text);
    EXPECT_EQ(r.at(0, "Alta").kind(), Value::Kind::Date);
    EXPECT_EQ(r.at(0, "Alta").toDate(), QDateTime(QDate(2005, 3, 31), QTime(10, 20, 30)));
    EXPECT_EQ(r.at(0, "Monto").kind(), Value::Kind::Double);
    EXPECT_TRUE(r.at(1, "Nombre").isNull());
    EXPECT_THROW(r.at(0, "nosuch"), DbError);
    EXPECT_TRUE(db_.scalar("SELECT Nombre FROM CONT WHERE 1=0").isNull());
}

TEST_F(DatabaseTest, TextComparisonsIgnoreCase)
{
    db_.execute("INSERT INTO CONT (Tip_doc_d, Nombre) VALUES (6, 'Compañía Ñandú')");
    EXPECT_EQ(db_.query("SELECT * FROM CONT WHERE Nombre='compañía Ñandú'").rowCount(), 1);
}

TEST_F(DatabaseTest, ANameWithAnApostropheIsStoredAndFound)
{
    const QString name = "D'Acosta & Hijos 'SAC'";
    db_.execute("INSERT INTO CONT (Tip_doc_d, Nombre) VALUES (6, '" + qz::sqlText(name) + "')");
    qz::QueryResult r =
        db_.query("SELECT Nombre FROM CONT WHERE Nombre='" + qz::sqlText(name) + "'");
    ASSERT_EQ(r.rowCount(), 1);
    EXPECT_EQ(r.at(0, 0).toText(), name);
    EXPECT_EQ(qz::sqlQuoted("a'b"), "'a''b'");
    // A quote cannot end the literal early and run a second statement.
    const QString hostile = "x'; DELETE FROM CONT; --";
    EXPECT_EQ(
        db_.query("SELECT * FROM CONT WHERE Nombre='" + qz::sqlText(hostile) + "'").rowCount(), 0);
    EXPECT_EQ(db_.scalar("SELECT count(*) FROM CONT").toInt(), 1);
}

TEST_F(DatabaseTest, RecordsInsertThenUpdateTheirRow)
{
    qz::Record rec = db_.newRecord("cont");
    ASSERT_EQ(rec.columnCount(), 5);
    EXPECT_EQ(rec.columns()[3].declaredType, "DATETIME");
    rec.set("TIP_DOC_D", 6);
    rec.set("doc_id_d", "20100066603");
    rec.set("Alta", QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)));
    EXPECT_TRUE(rec.isNew());
    db_.store(rec);
    EXPECT_FALSE(rec.isNew());
    rec.set("Nombre", "Beta");
    db_.store(rec);
    EXPECT_EQ(db_.scalar("SELECT count(*) FROM CONT").toInt(), 1);

    std::vector<qz::Record> rows =
        db_.selectForUpdate("SELECT * FROM [CONT] WHERE Doc_id_d='20100066603'");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].value("Nombre").toText(), "Beta");
    EXPECT_EQ(rows[0].value("Alta").toDate().date(), QDate(2024, 1, 2));
    rows[0].set("Monto", 7.25);
    db_.store(rows[0]);
    EXPECT_DOUBLE_EQ(db_.scalar("SELECT Monto FROM CONT").toDouble(), 7.25);
    db_.remove(rows[0]);
    EXPECT_EQ(db_.scalar("SELECT count(*) FROM CONT").toInt(), 0);
    EXPECT_THROW(rec.set("NoColumn", 1), DbError);
}

TEST_F(DatabaseTest, TransactionRollsBackWhenLeftWithoutCommit)
{
    try {
        qz::Transaction t(db_);
        db_.execute("INSERT INTO CONT (Tip_doc_d) VALUES (1)");
        db_.execute("INSERT INTO NOSUCH VALUES (1)");
        t.commit();
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), qz::dberr::kNoSuchTable);
    }
    EXPECT_FALSE(db_.inTransaction());
    EXPECT_EQ(db_.scalar("SELECT count(*) FROM CONT").toInt(), 0);
    {
        qz::Transaction t(db_);
        db_.execute("INSERT INTO CONT (Tip_doc_d) VALUES (1)");
        t.commit();
    }
    EXPECT_EQ(db_.scalar("SELECT count(*) FROM CONT").toInt(), 1);
}

TEST_F(DatabaseTest, ErrorsCarryTheHostNumbers)
{
    EXPECT_EQ(errorOf([&] { db_.execute("CREATE TABLE CONT (x text)"); }), qz::dberr::kTableExists);
    EXPECT_EQ(errorOf([&] { db_.query("SELECT * FROM NOSUCH"); }), qz::dberr::kNoSuchTable);
    EXPECT_EQ(errorOf([&] { db_.query("SELECT nosuch FROM CONT"); }), qz::dberr::kTooFewParameters);
    EXPECT_EQ(errorOf([&] { db_.query("SELEC * FROM CONT"); }), qz::dberr::kSyntax);
    db_.execute("ALTER TABLE CONT ADD CONSTRAINT PK_CONT PRIMARY KEY (Tip_doc_d, Doc_id_d);");
    EXPECT_EQ(errorOf([&] {
                  db_.execute("ALTER TABLE CONT ADD CONSTRAINT PK_CONT PRIMARY KEY (Doc_id_d)");
              }),
              qz::dberr::kPrimaryKeyExists);
    db_.execute("INSERT INTO CONT (Tip_doc_d, Doc_id_d) VALUES (6, 'a')");
    EXPECT_EQ(
        errorOf([&] { db_.execute("INSERT INTO CONT (Tip_doc_d, Doc_id_d) VALUES (6, 'A')"); }),
        qz::dberr::kDuplicateKey);
    EXPECT_THROW(db_.columnsOf("NOSUCH"), DbError);
    EXPECT_TRUE(db_.tableExists("cont"));
    EXPECT_FALSE(db_.tableExists("nosuch"));
}

TEST_F(DatabaseTest, ColumnsFollowSchemaChangesOfOtherConnections)
{
    const size_t before = db_.columnsOf("CONT").size();
    ASSERT_GT(before, 0u);
    Database other = Database::open(db_.path());
    other.execute("ALTER TABLE CONT ADD COLUMN extra text");
    EXPECT_EQ(db_.columnsOf("cont").size(), before + 1);
    EXPECT_EQ(db_.newRecord("CONT").columnCount(), static_cast<int>(before + 1));
}

TEST_F(DatabaseTest, OpenFailuresAreClearErrors)
{
    EXPECT_EQ(errorOf([&] { Database::open(dir_.filePath("missing.mdb")); }), 3024);
    // A folder or no name is not a locked database: its own number, not 3051.
    EXPECT_EQ(errorOf([&] { Database::open(""); }), qz::dberr::kInvalidPath);
    EXPECT_EQ(errorOf([&] { Database::open(dir_.path()); }), qz::dberr::kInvalidPath);
    const QString junk = dir_.filePath("junk.mdb");
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    EXPECT_EQ(errorOf([&] { Database::open(junk); }), qz::dberr::kNotADatabase);
    EXPECT_FALSE(QFile::exists(dir_.filePath("missing.mdb")));
}

TEST_F(DatabaseTest, AnEmptyFileIsNotADatabaseAndStaysEmpty)
{
    const QString empty = dir_.filePath("QZ000E.MDB");
    QFile f(empty);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    try {
        Database::open(empty);
        ADD_FAILURE() << "an empty file was opened as a database";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), qz::dberr::kNotADatabase);
        EXPECT_TRUE(e.description().contains(empty)) << e.description().toStdString();
    }
    EXPECT_EQ(QFileInfo(empty).size(), 0);
    EXPECT_FALSE(QFile::exists(empty + "-wal"));
    EXPECT_FALSE(QFile::exists(empty + "-journal"));
}

TEST_F(DatabaseTest, ADatabaseHeldExclusivelyGivesTheLockedError)
{
    db_.execute("INSERT INTO CONT (Tip_doc_d) VALUES (1)");
    db_.close();
    Database holder = Database::open(path_);
    holder.execute("PRAGMA locking_mode=EXCLUSIVE");
    holder.execute("INSERT INTO CONT (Tip_doc_d) VALUES (2)");
    EXPECT_EQ(errorOf([&] { Database::open(path_); }), qz::dberr::kCannotOpen);
    holder.close();
    EXPECT_NO_THROW(Database::open(path_));
}

TEST_F(DatabaseTest, TwoConnectionsShareTheFile)
{
    Database other = Database::open(path_);
    db_.execute("INSERT INTO CONT (Tip_doc_d) VALUES (1)");
    EXPECT_EQ(other.scalar("SELECT count(*) FROM CONT").toInt(), 1);
    EXPECT_EQ(other.scalar("PRAGMA journal_mode").toText().toLower(), "wal");
}

} // namespace
