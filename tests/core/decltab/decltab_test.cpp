// The installer on fresh host installations: rows, tables, a second run, bad input.
#include "../hostdatabasefaults.h"
#include "core/data/config.h"
#include "core/data/inifile.h"
#include "core/data/textfile.h"
#include "core/decltab/tableinstaller.h"
#include "support/failingwrites.h"
#include "support/scriptedmessenger.h"
#include "support/tempinstall.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

using ScriptedMessenger = qz::test::ScriptedMessenger;

class DecltabTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(inst_.ok()) << inst_.message().toStdString(); }

    int run()
    {
        messages_.shown.clear();
        qz::TableInstaller installer(messages_);
        return installer.run();
    }
    qint64 count(const QString &table)
    {
        return inst_.open().scalar("SELECT count(*) FROM " + table).toInt();
    }
    QString funcion(const QString &n, const QString &a)
    {
        return inst_.open()
            .scalar("SELECT Funcion FROM PARAM WHERE Numero='" + n + "' AND Argumento='" + a + "'")
            .toText();
    }
    QString envPath() const { return inst_.dir() + "/tmp/env731.txt"; }
    // A table's columns with their types and its indexes, as the engine keeps them.
    static QStringList schemaOf(qz::Database &db, const QString &table)
    {
        QStringList out;
        for (const qz::ColumnInfo &c : db.columnsOf(table)) {
            out << c.name + ' ' + c.declaredType;
        }
        for (const qz::IndexInfo &i : db.indexesOf(table)) {
            out << i.name + (i.unique ? " unique " : " ") + i.columns.join(',') + ' ' +
                       i.definition;
        }
        return out;
    }

    qz::test::TempInstall inst_;
    ScriptedMessenger messages_;
};

TEST_F(DecltabTest, WritesEveryRowAndTable)
{
    ASSERT_EQ(run(), 0);
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_EQ(funcion("404", "20050101"), "00003300.00");
    EXPECT_EQ(funcion("955", "4"),
              "EMPRESA NUEVA ADQUIRIENTE DE BLOQUES PATRIMONIALES EN UN PROCESO DE ESCISION");
    EXPECT_EQ(funcion("981", "0731"), "955 859");
    EXPECT_EQ(funcion("996", "323"), "F731EMPRESAS   R 1000   6");
    EXPECT_EQ(funcion("996", "570"), "F731PORCENTAJE R 1000   4");
    EXPECT_EQ(funcion("859", "20090101"), "0001000000       00.00400");
    const QString version = funcion("856", "0731");
    ASSERT_EQ(version.size(), 22);
    EXPECT_EQ(version.left(14), "1.3 08/07/2022");
    EXPECT_EQ(version.mid(14, 5), QString(" ") + QChar(0xA0) + " " + QChar(0xA0) + " ");
    EXPECT_EQ(version.mid(19), "790");
    qz::Database db = inst_.open();
    EXPECT_EQ(db.scalar("SELECT DescRep FROM Reportes WHERE CodRep='OKR001'").toText(),
              QString::fromUtf8("OKRE – Declaración"));
    EXPECT_EQ(db.scalar("SELECT Correl_param FROM PARAM WHERE Numero='996' AND "
                        "Argumento='570'")
                  .toText(),
              "");
    for (const char *t : {"F731EMPRESAS", "HF731EMPRESAS", "TMPF731EMPRESAS", "F731PORCENTAJE"}) {
        EXPECT_TRUE(db.tableExists(t)) << t;
    }
    EXPECT_EQ(db.columnsOf("HF731EMPRESAS")[4].name, "correl");
    EXPECT_EQ(db.columnsOf("F731EMPRESAS").back().name, "cnumero");
    // The key holds: a second row with the same key is refused.
    db.execute("INSERT INTO TMPF731EMPRESAS (num_doc_emp) VALUES ('20100066603')");
    EXPECT_THROW(db.execute("INSERT INTO TMPF731EMPRESAS (num_doc_emp) VALUES ('20100066603')"),
                 qz::DbError);
    EXPECT_GE(count("envio_t"), 3);
}

TEST_F(DecltabTest, SecondRunRestoresValuesWithoutNewRows)
{
    ASSERT_EQ(run(), 0);
    qz::Database db = inst_.open();
    db.execute("INSERT INTO F731EMPRESAS (tip_doc_d, doc_id_d, periodo, formulario, "
               "tip_doc_emp, num_doc_emp) VALUES (6,'20100066603','2005','0731',6,'1')");
    db.execute("UPDATE PARAM SET Funcion='cambiado' WHERE Numero='955' AND Argumento='1'");
    const QStringList schema = schemaOf(db, "F731EMPRESAS");
    ASSERT_FALSE(schema.isEmpty());
    const qint64 params = count("PARAM"), reportes = count("Reportes"), envio = count("envio_t");
    ASSERT_EQ(run(), 0);
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_EQ(count("PARAM"), params);
    EXPECT_EQ(count("Reportes"), reportes);
    EXPECT_EQ(count("envio_t"), envio);
    EXPECT_EQ(funcion("955", "1"), "EMPRESA ABSORBENTE");
    EXPECT_EQ(count("F731EMPRESAS"), 1);
    EXPECT_EQ(schemaOf(db, "F731EMPRESAS"), schema);
}

TEST_F(DecltabTest, EnvFileRules)
{
    ASSERT_TRUE(qz::writeHostLines(envPath(), {"0731|CAB |HCAB|ext |1|1|1|1|4|3|0|0|5|",
                                               "0731| DET||  |2|1|1|1|4|3|0|0|6|",
                                               "0731|CORTA|1|2|", "", // reading stops
                                               "0731|NUNCA|HNUNCA||1|1|1|1|1|1|1|1|1|"}));
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(messages_.shown.size(), 1u); // the short line, once for both passes
    EXPECT_TRUE(messages_.shown[0].text.contains("env731.txt"));
    EXPECT_TRUE(messages_.shown[0].text.contains(QString::fromUtf8("línea 3")));
    qz::Database db = inst_.open();
    EXPECT_EQ(db.scalar("SELECT tabla_d FROM envio_t WHERE tabla_o='DET'").toText(), " ");
    EXPECT_EQ(db.scalar("SELECT tabla_ext FROM envio_t WHERE tabla_o='DET'").toText(), "");
    EXPECT_EQ(db.scalar("SELECT tabla_d FROM envio_t WHERE tabla_o='CAB'").toText(), "HCAB");
    EXPECT_EQ(db.scalar("SELECT c_semana FROM envio_t WHERE tabla_o='CAB'").toInt(), 5);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM envio_t WHERE tabla_o IN ('NUNCA','CORTA')").toInt(),
              0);
    EXPECT_EQ(funcion("981", "0731"), "955 859"); // the other rows are still written
}

TEST_F(DecltabTest, MissingEnvFileIsReportedAndParamsStillWritten)
{
    ASSERT_TRUE(QFile::remove(envPath()));
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(messages_.shown.size(), 1u) << "said once, not once per pass";
    EXPECT_TRUE(messages_.shown[0].text.contains("env731.txt"));
    EXPECT_EQ(funcion("992", "0731"), "1");
    EXPECT_TRUE(inst_.open().tableExists("F731PORCENTAJE"));
}

// A database that refuses every write gives one box: the first statement's error and how
// many statements failed with it, not one box per statement.
TEST_F(DecltabTest, StatementsFailingAlikeAreReportedOnce)
{
    {
        qz::Database db = inst_.open();
        for (const char *table : {"PARAM", "Reportes", "envio_t"}) {
            for (const char *event : {"INSERT", "UPDATE"}) {
                qz::test::failWrites(db, QString("no_%1_%2").arg(table, event), table, event, {},
                                     "escritura no permitida");
            }
        }
    }
    std::vector<qz::EnvioRow> rows;
    QStringList problems;
    ASSERT_TRUE(qz::readEnvioRows(envPath(), &rows, &problems));
    // Each pass: 17 PARAM rows, 3 Reportes rows and the envio_t rows, one write each.
    const int statements = 2 * (17 + 3 + static_cast<int>(rows.size()));

    EXPECT_EQ(run(), 1);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].title, "Error al Ejecutar Sentencia SQL");
    const QString text = messages_.shown[0].text;
    EXPECT_TRUE(text.startsWith("Error Número : ")) << text.toStdString();
    EXPECT_TRUE(text.contains("escritura no permitida")) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::number(statements) + " sentencias")) << text.toStdString();
    // The tables are still made: CREATE TABLE is not refused.
    EXPECT_TRUE(inst_.open().tableExists("F731EMPRESAS"));
}

// An empty file (or server database) or a database without the host's tables is refused with
// the open error and left as it was: the installer makes no tables in it.
TEST_F(DecltabTest, EmptyOrForeignDatabaseIsRefused)
{
    for (const auto kind : qz::test::kNotHostDatabases) {
        ASSERT_TRUE(qz::test::makeNotHostDatabase(inst_, kind));
        const QString before = qz::test::databaseState(inst_);
        const bool empty = kind == qz::test::NotHostDatabase::Empty;
        EXPECT_EQ(run(), 1) << empty;
        ASSERT_EQ(messages_.shown.size(), 1u);
        EXPECT_EQ(messages_.shown[0].title, QString::fromUtf8("Error de Conección"));
        EXPECT_TRUE(messages_.shown[0].text.endsWith("\n 3343"))
            << messages_.shown[0].text.toStdString();
        EXPECT_EQ(qz::test::databaseState(inst_), before);
    }
    EXPECT_EQ(inst_.open().tableNames().join(',').toUpper(), "T");
}

TEST_F(DecltabTest, EmptySysPath)
{
    qz::writeProfileString(inst_.iniPath(), "Options", "SysPath", "");
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].title, "Mensaje");
    EXPECT_EQ(messages_.shown[0].text, "Debe instalar primero el ZEB ");
    EXPECT_FALSE(inst_.open().tableExists("F731EMPRESAS"));
}

// A database file held exclusively by another connection (SQLite's own file lock).
TEST_F(DecltabTest, LockedDatabase)
{
    qz::Database holder = inst_.open();
    holder.execute("PRAGMA locking_mode=EXCLUSIVE");
    holder.execute("UPDATE CLAVES SET Tipo=Tipo");
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, " 3051- Base de datos esta bloqueda");
    EXPECT_EQ(messages_.shown[0].title, QString::fromUtf8("Error de Conección"));
}

} // namespace
