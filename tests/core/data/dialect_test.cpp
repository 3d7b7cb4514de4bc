// The host dialect: statement translation and the host's functions, on the statements the
// programs actually run.
#include "core/data/database.h"
#include "core/data/dialect.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using qz::Database;
using qz::translateStatement;

namespace {

TEST(DialectTranslate, RewritesOutsideQuotesOnly)
{
    struct Row {
        const char *name, *host, *sqlite;
    };
    const Row rows[] = {
        {"delete star", "DELETE * FROM DET WHERE x='1'", "DELETE FROM DET WHERE x='1'"},
        {"delete star in text", "SELECT 'DELETE * FROM' FROM T", "SELECT 'DELETE * FROM' FROM T"},
        {"left", "SELECT max(left(Archivo,8)) as SecRep FROM SPOOL",
         "SELECT max(substr(Archivo,1,8)) as SecRep FROM SPOOL"},
        {"left join kept", "SELECT * FROM A LEFT JOIN B ON A.x=B.x",
         "SELECT * FROM A LEFT JOIN B ON A.x=B.x"},
        {"nested", "SELECT ucase(left(mid(a,2,3),1)) FROM T",
         "SELECT ucase(substr(substr(a,2,3),1,1)) FROM T"},
        {"isnull", "SELECT 1 WHERE NOT ISNULL(col)", "SELECT 1 WHERE NOT ((col) IS NULL)"},
        {"brackets", "SELECT [tip_doc_d] FROM [F731EMPRESAS]",
         "SELECT \"tip_doc_d\" FROM \"F731EMPRESAS\""},
        {"quoted left", "SELECT 'left(' FROM T", "SELECT 'left(' FROM T"},
        {"doubled quote", "SELECT * FROM T WHERE n='D''A left(x,1)'",
         "SELECT * FROM T WHERE n='D''A left(x,1)'"},
        {"len lcase right", "SELECT len(a), lcase(b), right(c,2) FROM T",
         "SELECT length(a), lcase(b), qz_right(c,2) FROM T"},
        {"primary key",
         "ALTER TABLE F731EMPRESAS ADD CONSTRAINT PK_F731EMPRESAS PRIMARY KEY ([tip_doc_d],"
         "[doc_id_d]);",
         "CREATE UNIQUE INDEX PK_F731EMPRESAS ON F731EMPRESAS (\"tip_doc_d\",\"doc_id_d\")"},
        {"text columns",
         "CREATE TABLE X( [a] Byte, [b] text(15),[c] Text (4), [d] double, [e] text)",
         "CREATE TABLE X( \"a\" Byte, \"b\" text(15) COLLATE NOCASE,\"c\" Text (4) COLLATE "
         "NOCASE, \"d\" double, \"e\" text COLLATE NOCASE)"},
    };
    for (const Row &r : rows) {
        EXPECT_EQ(translateStatement(QString::fromUtf8(r.host)), QString::fromUtf8(r.sqlite))
            << r.name;
    }
}

class DialectRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        db_ = Database::open(dir_.filePath("d.mdb"), Database::Mode::Create);
        db_.executeScript(
            "CREATE TABLE PARAM (Numero text(3), Argumento text(20), Funcion text(255), "
            "Correl_param text(3));"
            "CREATE TABLE SPOOL (CodRep text(6), Secuencia INTEGER, Archivo text(12));"
            "CREATE TABLE envio_t (formulario text(4), tabla_o text(30));"
            "CREATE TABLE F731EMPRESAS (tip_doc_d Byte, doc_id_d text(15), periodo text(6), "
            "formulario text(4), mto_imp_pag text(15));");
        const QString ruc = "REG. UNICO DE CONTRIBUYENTES   RUC           11 000110 01 "
                            "000001000001100111011111" +
                            QString(43, ' ') + "0 5 0";
        const QString dni = "DOC. NACIONAL DE IDENTIDAD     DNI           08 000110 02 "
                            "000001000001100111011111" +
                            QString(43, ' ') + "1 5 1";
        const QString ext = "CARNET DE EXTRANJERIA          CARNET EXT.   12 000110 03 "
                            "000001000001100111011110" +
                            QString(43, ' ') + "0 5 0";
        db_.execute("INSERT INTO PARAM VALUES ('044',' 6','" + ruc + "','001')");
        db_.execute("INSERT INTO PARAM VALUES ('044','1','" + dni + "','002')");
        db_.execute("INSERT INTO PARAM VALUES ('044','4','" + ext + "','003')");
        db_.execute("INSERT INTO PARAM VALUES ('004','00','NINGUNO','000')");
        db_.execute("INSERT INTO PARAM VALUES ('004','02','BANCO DE LA NACION                  "
                    " B.NACION','001')");
        db_.execute("INSERT INTO PARAM VALUES ('404','20050101','00003300.00','012')");
        db_.execute("INSERT INTO PARAM VALUES ('404','20060101','00003400.00','013')");
    }

    QTemporaryDir dir_;
    Database db_;
};

TEST_F(DialectRun, DocumentTypeList)
{
    const QString c = "82";
    qz::QueryResult r = db_.query(
        " SELECT format(trim(Par1.Argumento),'00') as Codigo,mid(Par1.Funcion,32,11) as "
        "TipoDoc, mid(Par1.Funcion,46,2) as LenDoc , mid(Par1.Funcion,128,1) as TipoDato, "
        "mid(Par1.Funcion,130,1) as TipoLongitud" +
        QString(" FROM Param as Par1 ") + " WHERE Par1.Numero = '044' and mid(Funcion," + c +
        ",1)='1' " + " Order By mid(Funcion,56,2)");
    ASSERT_EQ(r.rowCount(), 2); // the carnet is not allowed for the representative
    EXPECT_EQ(r.at(0, "Codigo").toText(), "06");
    EXPECT_EQ(r.at(0, "TipoDoc").toText(), "RUC        ");
    EXPECT_EQ(r.at(0, "LenDoc").toText(), "11");
    EXPECT_EQ(r.at(0, "TipoDato").toText(), "5");
    EXPECT_EQ(r.at(0, "TipoLongitud").toText(), "0");
    EXPECT_EQ(r.at(1, "Codigo").toText(), "01");
    EXPECT_EQ(r.at(1, "TipoLongitud").toText(), "1");
}

TEST_F(DialectRun, BankAndTaxUnitLists)
{
    qz::QueryResult banks =
        db_.query("SELECT MID(ARGUMENTO,1,2) as codigo,mid(FUNCION,1,36) as descrip FROM PARAM "
                  "WHERE NUMERO='004' AND TRIM(ARGUMENTO)<> '00'");
    ASSERT_EQ(banks.rowCount(), 1);
    EXPECT_EQ(banks.at(0, "codigo").toText(), "02");
    EXPECT_EQ(banks.at(0, "descrip").toText().trimmed(), "BANCO DE LA NACION");

    qz::QueryResult uit = db_.query(
        "SELECT MID(ARGUMENTO,1,8) as codigo,val(mid(FUNCION,1,12)) as descrip FROM PARAM "
        "WHERE NUMERO='404' ORDER BY 1 DESC");
    ASSERT_EQ(uit.rowCount(), 2);
    EXPECT_EQ(uit.at(0, "codigo").toText(), "20060101");
    EXPECT_DOUBLE_EQ(uit.at(0, "descrip").toDouble(), 3400.0);
    EXPECT_TRUE(uit.at(0, "descrip").isNumber());
}

TEST_F(DialectRun, SumOfValSkipsEmptyAndNull)
{
    db_.execute("INSERT INTO F731EMPRESAS VALUES (6,'20100066603','2005','0731','1200')");
    db_.execute("INSERT INTO F731EMPRESAS VALUES (6,'20100066603','2005','0731','-200')");
    db_.execute("INSERT INTO F731EMPRESAS VALUES (6,'20100066603','2005','0731','')");
    db_.execute("INSERT INTO F731EMPRESAS VALUES (6,'20100066603','2005','0731',NULL)");
    db_.execute("INSERT INTO F731EMPRESAS VALUES (6,'20100066603','2005','0731','12abc')");
    const QString column = "mto_imp_pag";
    qz::Value total =
        db_.scalar("SELECT sum(val(" + column + "))  as sTot FROM F731EMPRESAS WHERE Tip_doc_d= 6" +
                   " AND Doc_id_d='20100066603' " + " AND PERIODO='2005' AND Formulario='0731'" +
                   " AND " + column + "<>''" + " AND NOT ISNULL(" + column + ")");
    EXPECT_DOUBLE_EQ(total.toDouble(), 1012.0);
    EXPECT_EQ(db_.scalar("SELECT COUNT(*) as sTot FROM F731EMPRESAS WHERE  Tip_doc_d= 6 AND "
                         "Doc_id_d='20100066603' ")
                  .toInt(),
              5);
}

TEST_F(DialectRun, SumOverANumberBeyondAnyRangeFailsAsAnOverflow)
{
    db_.execute("INSERT INTO F731EMPRESAS VALUES (6,'20100066603','2005','0731','1200')");
    const QString sum = "SELECT sum(val(mto_imp_pag)) FROM F731EMPRESAS";
    for (const QString &huge : {QString("1e400"), QString(400, u'9'), QString("-1e400")}) {
        db_.execute("DELETE FROM F731EMPRESAS WHERE mto_imp_pag<>'1200'");
        db_.execute("INSERT INTO F731EMPRESAS VALUES (6,'20100066603','2005','0731','" + huge +
                    "')");
        try {
            const qz::Value total = db_.scalar(sum);
            ADD_FAILURE() << huge.left(10).toStdString() << " summed to " << total.toDouble();
        } catch (const qz::DbError &e) {
            EXPECT_EQ(e.number(), qz::dberr::kOverflow) << e.description().toStdString();
        }
    }
    // A big number within a double's range is summed as it is.
    db_.execute("DELETE FROM F731EMPRESAS WHERE mto_imp_pag<>'1200'");
    db_.execute("INSERT INTO F731EMPRESAS VALUES (6,'20100066603','2005','0731','1e300')");
    EXPECT_DOUBLE_EQ(db_.scalar(sum).toDouble(), 1e300);
}

TEST_F(DialectRun, SpoolMaximaAndDelete)
{
    EXPECT_TRUE(db_.scalar("SELECT max(left(Archivo,8)) as SecRep FROM SPOOL").isNull());
    db_.execute("INSERT INTO SPOOL VALUES ('OKR001', 1, '00000009.PRN')");
    db_.execute("INSERT INTO SPOOL VALUES ('OKR002', 4, '00000010.PRN')");
    EXPECT_EQ(db_.scalar("SELECT max(left(Archivo,8)) as SecRep FROM SPOOL").toText(), "00000010");
    EXPECT_EQ(
        db_.scalar("SELECT max(Secuencia) as SecTipo FROM SPOOL Where CodRep = 'okr002'").toInt(),
        4);
    EXPECT_EQ(db_.execute("DELETE * FROM SPOOL WHERE CodRep='OKR001'"), 1);
}

TEST_F(DialectRun, TablesOtherThanControl)
{
    db_.execute("INSERT INTO envio_t VALUES ('0731','CAB')");
    db_.execute("INSERT INTO envio_t VALUES ('0731','control')");
    db_.execute("INSERT INTO envio_t VALUES ('0731','F731EMPRESAS')");
    qz::QueryResult r = db_.query("SELECT tabla_o FROM envio_t WHERE formulario='0731' AND "
                                  "ucase(tabla_o)<>'CONTROL' ORDER BY tabla_o");
    ASSERT_EQ(r.rowCount(), 2);
    EXPECT_EQ(r.at(0, 0).toText(), "CAB");
}

TEST_F(DialectRun, HostFunctions)
{
    struct Row {
        const char *expr;
        const char *expected; // text of the result, "NULL" for Null
    };
    const Row rows[] = {
        {"mid('abcdef',2,3)", "bcd"},
        {"mid('abcdef',5)", "ef"},
        {"mid('abc',9,2)", ""},
        {"left('abc',5)", "abc"},
        {"right('abcdef',2)", "ef"},
        {"right('abc',0)", ""},
        {"right(NULL,2)", "NULL"},
        {"val('  12 34abc')", "1234"},
        {"val('abc')", "0"},
        {"val(NULL)", "NULL"},
        {"trim('  a b  ')", "a b"},
        {"ltrim('  a ')", "a "},
        {"rtrim(' a  ')", " a"},
        {"ucase('añb')", "AÑB"},
        {"lcase('ÁB')", "áb"},
        {"len('año')", "3"},
        {"format(' 6','00')", "06"},
        {"format(1234.5,'###,###,###,##0')", "1,235"},
        {"format(-1234,'###,###,###,##0;(###,###,###,##0)')", "(1,234)"},
        {"format('abc','00')", "abc"},
        {"format(NULL,'00')", "NULL"},
        {"format(5)", "5"},
    };
    for (const Row &r : rows) {
        qz::Value v = db_.scalar(QStringLiteral("SELECT ") + QString::fromUtf8(r.expr));
        QString got = v.isNull() ? QStringLiteral("NULL") : v.toText();
        EXPECT_EQ(got, QString::fromUtf8(r.expected)) << r.expr;
    }
}

} // namespace
