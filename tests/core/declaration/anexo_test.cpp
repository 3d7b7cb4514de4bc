// The assistants of boxes 105 and 110 without a screen: the box-105 amounts on a real
// database (opening, the total and its limits, the accept with its header and its single
// transaction, the row writer) and the box-110 ratio.
#include "core/data/controlcode.h"
#include "core/data/sqltext.h"
#include "core/declaration/anexo105.h"
#include "core/declaration/anexo110.h"
#include "core/declaration/declarationmodel.h"
#include "support/failingwrites.h"
#include "support/moduleinstall.h"
#include "support/scriptedmessenger.h"
#include "support/storeddeclaration.h"

#include <gtest/gtest.h>

#include <map>

namespace qz {
namespace {

class Anexo105Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst_.ok()) << inst_.message().toStdString();
        ruc_ = test::demoRuc(db_, "COMERCIAL ANDINA S.A.");
    }
    // Boxes 546 to 556 of the declaration, box -> i_valor.
    std::map<QString, QString> anexoRows(const QString &periodo = "2007")
    {
        const QueryResult r = db_.query(
            "SELECT Casilla, i_valor FROM DET WHERE doc_id_d=" + sqlQuoted(ruc_) +
            " AND periodo=" + sqlQuoted(periodo) + " AND Casilla BETWEEN '546' AND '556'");
        std::map<QString, QString> rows;
        for (int i = 0; i < r.rowCount(); ++i) {
            rows[r.at(i, 0).toText()] = r.at(i, 1).toText();
        }
        return rows;
    }
    std::vector<Record> headers()
    {
        return db_.selectForUpdate("SELECT * FROM CAB WHERE doc_id_d=" + sqlQuoted(ruc_) +
                                   " AND periodo='2007'");
    }
    double accept(const Anexo105 &a, int iAccion)
    {
        return a.accept(db_, ruc_, "2007", "0731", iAccion);
    }

    test::ModuleInstall inst_;
    Database &db_ = inst_.db();
    QString ruc_;
};

TEST_F(Anexo105Test, AcceptStoresTheTypedAmountsAndBox105ShowsTheirSum)
{
    test::StoredDeclaration d(db_, ruc_, "2007");
    d.header();
    d.box("101", "5000");
    d.box("549", "77"); // an old deduction, replaced
    test::StoredDeclaration(db_, ruc_, "2008").box("546", "9");

    Anexo105 a;
    a.load(db_, ruc_, "2007", "0731", false, {});
    EXPECT_EQ(a.amount(3), "77");
    a.change(3, "");
    EXPECT_EQ(a.change(0, "1,000"), Anexo105::Change::Counted); // read as 1000, not Val's 1
    EXPECT_EQ(a.change(10, "500"), Anexo105::Change::Counted);
    EXPECT_EQ(a.totalText(), "1,500");
    EXPECT_EQ(accept(a, 1), 1500);

    EXPECT_EQ(anexoRows(), (std::map<QString, QString>{{"546", "1000"}, {"556", "500"}}));
    EXPECT_EQ(anexoRows("2008"), (std::map<QString, QString>{{"546", "9"}}));
    EXPECT_EQ(db_.scalar("SELECT i_valor FROM DET WHERE Casilla='101'").toText(), "5000");

    // Each written row carries the control code of the row as stored.
    const std::vector<Record> rows =
        db_.selectForUpdate("SELECT * FROM DET WHERE doc_id_d=" + sqlQuoted(ruc_) +
                            " AND periodo='2007' AND Casilla IN ('546', '556')");
    ASSERT_EQ(rows.size(), 2u);
    for (const Record &row : rows) {
        EXPECT_EQ(row["idcasilla"].toText(), "01");
        EXPECT_EQ(row["tip_doc_d"].toInt(), 6);
        EXPECT_EQ(row["semana"].toInt(), 0);
        EXPECT_EQ(row["formulario"].toText(), "0731");
        const QString code = row["cNumero"].toText();
        EXPECT_EQ(code.size(), 6);
        EXPECT_EQ(code, recordControlCode(row, 6));
    }

    // The declaration window reads the sum back from the rows.
    test::ScriptedMessenger messages;
    DeclarationModel model(db_, messages);
    model.setRun({1, QString(), false, QString(), QString()});
    model.setRucField(ruc_);
    model.setSPeriodo("2007");
    model.Calcular105("105");
    EXPECT_EQ(model.text(105), "(1,500)");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Anexo105Test, OpeningFormatsTheStoredRowsAndAllEmptyDeletesThem)
{
    test::StoredDeclaration d(db_, ruc_, "2007");
    d.box("546", "1234567");
    d.box("552", "0");
    d.box("556", "500");
    Anexo105 a;
    a.load(db_, " " + ruc_ + " ", "2007", "0731", false, {}); // the RUC is trimmed
    EXPECT_EQ(a.amount(0), "1,234,567");
    EXPECT_EQ(a.amount(6), "0");
    EXPECT_EQ(a.amount(10), "500");
    EXPECT_EQ(a.amount(1), "");
    EXPECT_EQ(a.totalText(), "1,235,067");
    EXPECT_EQ(a.total(), 1235067);

    for (int i = 0; i < Anexo105::kFields; ++i) {
        a.change(i, i == 4 ? "  " : "");
    }
    EXPECT_EQ(a.totalText(), "0");
    EXPECT_EQ(accept(a, 1), 0);
    EXPECT_TRUE(anexoRows().empty());
}

TEST_F(Anexo105Test, NewDeclarationGetsAProvisionalHeaderOnlyWhenItHasNone)
{
    Anexo105 a;
    a.change(0, "10");
    accept(a, 1); // an existing declaration: no header is made
    EXPECT_TRUE(headers().empty());

    accept(a, 0);
    accept(a, 0); // a second accept finds the header
    std::vector<Record> h = headers();
    ASSERT_EQ(h.size(), 1u);
    EXPECT_EQ(h[0]["cNumero"].toText(), "0");
    EXPECT_EQ(h[0]["tip_doc_d"].toInt(), 6);
    EXPECT_EQ(h[0]["formulario"].toText(), "0731");
    EXPECT_EQ(h[0]["semana"].toInt(), 0);
    EXPECT_TRUE(h[0]["estado"].isNull());
    EXPECT_EQ(anexoRows(), (std::map<QString, QString>{{"546", "10"}}));

    // A saved header stays as it is.
    db_.execute("DELETE FROM CAB");
    test::StoredDeclaration(db_, ruc_, "2007").header({{"cNumero", "123456"}, {"estado", "9"}});
    accept(a, 0);
    h = headers();
    ASSERT_EQ(h.size(), 1u);
    EXPECT_EQ(h[0]["cNumero"].toText(), "123456");
    EXPECT_EQ(h[0]["estado"].toInt(), 9);
}

TEST_F(Anexo105Test, SentDeclarationReadsItsOwnSending)
{
    test::StoredDeclaration(db_, ruc_, "2007").box("546", "1"); // the working copy
    for (const auto &[correl, valor] : {std::pair{"0001", "2500"}, std::pair{"0002", "7"}}) {
        db_.execute("INSERT INTO HDET (tip_doc_d, doc_id_d, periodo, formulario, semana, CORREL, "
                    "Casilla, i_valor) VALUES (6, " +
                    sqlQuoted(ruc_) + ", '2007', '0731', 0, '" + correl + "', '550', '" + valor +
                    "')");
    }
    Anexo105 a;
    a.load(db_, ruc_, "2007", "0731", true, "0001");
    EXPECT_EQ(a.amount(0), "");
    EXPECT_EQ(a.amount(4), "2,500");
    EXPECT_EQ(a.totalText(), "2,500");
}

TEST_F(Anexo105Test, TotalKeepsWithinTheLimit)
{
    Anexo105 a;
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(a.change(i, "99999999999"), Anexo105::Change::Counted);
    }
    EXPECT_EQ(a.totalText(), "999,999,999,990");
    EXPECT_EQ(a.change(10, "9"), Anexo105::Change::Counted); // exactly the limit
    EXPECT_EQ(a.totalText(), "999,999,999,999");
    EXPECT_EQ(a.change(10, "10"), Anexo105::Change::OverLimit);
    EXPECT_EQ(a.totalText(), "999,999,999,990"); // the amount is left out
    EXPECT_EQ(a.change(10, ""), Anexo105::Change::Counted);

    // Twelve digits are refused whatever the total, grouped or not, but the text stays.
    Anexo105 b;
    b.change(0, "5");
    EXPECT_EQ(b.change(1, "123,456,789,012"), Anexo105::Change::TooManyDigits);
    EXPECT_EQ(b.amount(1), "123,456,789,012");
    EXPECT_EQ(b.totalText(), "5");
    // A later change counts the twelve digits among the others, as they stand.
    EXPECT_EQ(b.change(2, "1"), Anexo105::Change::Counted);
    EXPECT_EQ(b.totalText(), "123,456,789,018");
    EXPECT_EQ(b.total(), 123456789018.0);
}

TEST_F(Anexo105Test, FailedAcceptLeavesTheOldRowsAndNoHeader)
{
    test::StoredDeclaration d(db_, ruc_, "2007");
    Anexo105 a;
    for (int i = 0; i < Anexo105::kFields; ++i) {
        d.box(QString::number(546 + i), QString::number(i + 1));
        a.change(i, QString::number(100 + i));
    }
    test::FailingWrites fail(db_, "fail550", "DET", "INSERT", "NEW.Casilla='550'");
    EXPECT_THROW(accept(a, 0), DbError);
    EXPECT_FALSE(db_.inTransaction());
    std::map<QString, QString> old;
    for (int i = 0; i < Anexo105::kFields; ++i) {
        old[QString::number(546 + i)] = QString::number(i + 1);
    }
    EXPECT_EQ(anexoRows(), old);
    EXPECT_TRUE(headers().empty());

    fail.stop();
    EXPECT_EQ(accept(a, 0), 1155);
    EXPECT_EQ(anexoRows().at("550"), "104");
    EXPECT_EQ(headers().size(), 1u);
}

TEST_F(Anexo105Test, RowWriterAddsOrEditsOneRow)
{
    test::StoredDeclaration(db_, ruc_, "2007").box("180", "1");
    EXPECT_TRUE(Anexo105::writeRow(db_, "180", "(1,500)", ruc_, "2007", "0731"));
    const std::vector<Record> rows = db_.selectForUpdate("SELECT * FROM DET WHERE Casilla='180'");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0]["i_valor"].toText(), "-1500");
    EXPECT_EQ(rows[0]["idcasilla"].toText(), "05");
    EXPECT_EQ(rows[0]["cNumero"].toText(), recordControlCode(rows[0], 6));

    EXPECT_FALSE(Anexo105::writeRow(db_, "547", "   ", ruc_, "2007", "0731"));
    EXPECT_FALSE(Anexo105::writeRow(db_, "547", "________", ruc_, "2007", "0731"));
    EXPECT_TRUE(anexoRows().empty());

    // A quote in a key value is text, not the end of the statement.
    EXPECT_TRUE(Anexo105::writeRow(db_, "547", "3", "20'1", "2007", "0731"));
    EXPECT_TRUE(Anexo105::writeRow(db_, "547", "4", "20'1", "2007", "0731"));
    EXPECT_EQ(db_.scalar("SELECT count(*) FROM DET WHERE doc_id_d='20''1'").toInt(), 1);
    EXPECT_EQ(db_.scalar("SELECT i_valor FROM DET WHERE doc_id_d='20''1'").toText(), "4");
}

// The assistant's three fields, as it shows them.
QString fields(const Anexo110 &a)
{
    return a.field(0) + " | " + a.field(1) + " | " + a.field(2);
}

TEST(Anexo110Test, RatioOfTheTwoAmounts)
{
    Anexo110 a;
    a.load("", "", "");
    EXPECT_EQ(fields(a), "0 | 0 | 0");
    EXPECT_EQ(a.total(), 0); // an empty box 110 is returned as 0 when cancelled

    a.change(0, "400000");
    EXPECT_EQ(a.field(2), "0.00"); // divided by the opening 0 of field 1
    a.change(1, "1000000");
    EXPECT_EQ(a.field(2), "0.40");
    a.change(1, "");
    EXPECT_EQ(a.field(2), "0.40"); // one amount empty: the ratio stays
    a.change(1, "0");
    EXPECT_EQ(a.field(2), "0.00");
    a.change(1, "1,000,000");
    a.change(0, "400,000");
    EXPECT_EQ(a.field(2), "0.40");
    a.change(0, "666667");
    EXPECT_EQ(a.field(2), "0.67"); // rounded half away from zero

    QString det = "old", net = "old";
    a.change(0, "400000");
    EXPECT_DOUBLE_EQ(a.accept(det, net), 0.4);
    EXPECT_DOUBLE_EQ(a.total(), 0.4);
    EXPECT_EQ(det, "400000");
    EXPECT_EQ(net, "1,000,000");
}

TEST(Anexo110Test, OpeningKeepsTheBoxValueUntilAnAmountChanges)
{
    Anexo110 a;
    a.load("0.36", "360", "1000");
    EXPECT_EQ(fields(a), "360 | 1,000 | 0.3600");
    EXPECT_DOUBLE_EQ(a.total(), 0.36); // what a cancel returns

    Anexo110 b;
    b.load("0.367", "abc", "");
    EXPECT_EQ(b.field(0), "0");
    EXPECT_EQ(b.field(1), "0");
    EXPECT_EQ(b.field(2), "0.3670");
    EXPECT_DOUBLE_EQ(b.total(), 0.37);
}

} // namespace
} // namespace qz
