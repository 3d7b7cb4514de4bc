// Saving declarations typed on the model and opening them again: the stored rows, their
// control codes, the state, the rows the save spares or deletes, a failure in the middle, the
// order-number registration, and declchk agreeing with what was stored.
#include "core/data/clock.h"
#include "core/data/controlcode.h"
#include "core/declaration/declarationmodel.h"
#include "core/declchk/sendchecker.h"
#include "core/validation/declarationsave.h"
#include "support/failingwrites.h"
#include "support/modelfixture.h"
#include "support/modelsupport.h"
#include "support/storeddeclaration.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qz {
namespace {

using test::ScriptedMessenger;

class SaveTest : public test::ModelTest {
protected:
    std::unique_ptr<DeclarationModel> typed() { return typedDeclaration(); }
    // The declaration opened again as "&Modificar" opens it.
    std::unique_ptr<DeclarationModel> reopened(const QString &ruc)
    {
        return storedModel(ruc, "X", "2009");
    }
    qint64 count(const QString &sql) { return db_.scalar(sql).toInt(); }
    // Every stored box of DET as "box=value", in box order.
    QStringList boxes()
    {
        QStringList out;
        const QueryResult rows = db_.query("SELECT Casilla, i_valor FROM DET ORDER BY Casilla");
        for (int i = 0; i < rows.rowCount(); ++i) {
            out << rows.at(i, 0).toText() + '=' + rows.at(i, 1).toText();
        }
        return out;
    }
    // Every stored row of a table satisfies its control code.
    void expectControlCodes(const QString &table, int keys)
    {
        for (Record &r : db_.selectForUpdate("SELECT * FROM " + table)) {
            EXPECT_EQ(r.value("cNumero").toText(), recordControlCode(r, keys))
                << table.toStdString() << " " << r.value(5).toText().toStdString();
        }
    }
};

TEST_F(SaveTest, RoundTripWithControlCodes)
{
    auto m = typed();
    const QString ruc = m->taxpayerRuc();
    const SaveOutcome out = DeclarationSave(*m).CmdGrabar();
    ASSERT_TRUE(out.saved) << out.error.toStdString();
    EXPECT_TRUE(out.consistent);
    EXPECT_FALSE(m->algunCambio());
    EXPECT_EQ(count("SELECT estado FROM CAB"), 0);
    EXPECT_EQ(db_.scalar("SELECT efectivo FROM CAB").toText(), "6000");
    EXPECT_EQ(db_.scalar("SELECT rectifica FROM CAB").toText(), "0");
    EXPECT_EQ(db_.scalar("SELECT i_valor FROM DET WHERE Casilla='101'").toText(), "2500000");
    EXPECT_EQ(db_.scalar("SELECT i_valor FROM DET WHERE Casilla='105'").toText(), "0");
    EXPECT_EQ(db_.scalar("SELECT idcasilla FROM DET WHERE Casilla='180'").toText(), "05");
    EXPECT_EQ(db_.scalar("SELECT i_valor FROM DET WHERE Casilla='005'").toText(), "0");
    EXPECT_EQ(db_.scalar("SELECT i_valor FROM DET WHERE Casilla='790'").toText(), "08/07/2022");
    EXPECT_EQ(count("SELECT count(*) FROM DET WHERE Casilla='828'"), 0); // no reorganization
    expectControlCodes("CAB", 5);
    expectControlCodes("DET", 6);

    const auto back = reopened(ruc);
    for (int box : {101, 105, 108, 113, 114, 139, 160, 161, 146, 180, 225, 226}) {
        EXPECT_EQ(back->text(box), m->text(box)) << box;
    }
    EXPECT_EQ(back->field(Field::Telefono), "4455667");
    EXPECT_EQ(back->field(Field::ApellidoRepresentante), "DIAZ");
    EXPECT_EQ(back->answer(Answer::Rectifica), "0");
    EXPECT_EQ(back->payment().paymentType(), "E");
}

TEST_F(SaveTest, SavingTwiceSparesTheAssistantRows)
{
    auto m = typed();
    const QString ruc = m->taxpayerRuc();
    test::StoredDeclaration d(db_, ruc, "2009");
    d.box("546", "1234");
    m->setText(101, "2500001"); // 105 follows the assistant's row
    EXPECT_EQ(m->text(105), "(1,234)");
    ASSERT_TRUE(DeclarationSave(*m).CmdGrabar().saved);
    const qint64 rows = count("SELECT count(*) FROM DET");
    ASSERT_TRUE(DeclarationSave(*m).CmdGrabar().saved);
    EXPECT_EQ(count("SELECT count(*) FROM CAB"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM DET"), rows);
    EXPECT_EQ(db_.scalar("SELECT i_valor FROM DET WHERE Casilla='546'").toText(), "1234");
    EXPECT_EQ(db_.scalar("SELECT i_valor FROM DET WHERE Casilla='105'").toText(), "-1234");
}

TEST_F(SaveTest, InconsistentDeclarationIsStoredInState9)
{
    auto m = typed();
    m->setText(180, "");
    const SaveOutcome out = DeclarationSave(*m).CmdGrabar();
    ASSERT_TRUE(out.saved);
    EXPECT_FALSE(out.consistent);
    EXPECT_EQ(count("SELECT estado FROM CAB"), 9);
    EXPECT_EQ(db_.scalar("SELECT efectivo FROM CAB").toText(), " ");
    EXPECT_EQ(out.finalIcon, MessageIcon::Exclamation);
}

TEST_F(SaveTest, ChecksStopBeforeAnythingIsWritten)
{
    auto m = typed();
    m->setText(226, "1234567"); // a DNI of 7 digits
    SaveOutcome out = DeclarationSave(*m).CmdGrabar();
    ASSERT_TRUE(out.stop);
    EXPECT_EQ(out.stop->message, "El DNI o LE debe ser de 8 digitos.");
    EXPECT_EQ(out.stop->page, 4);
    m->setText(226, "12345678");
    m->setText(208, m->taxpayerRuc());
    out = DeclarationSave(*m).CmdGrabar();
    ASSERT_TRUE(out.stop);
    EXPECT_EQ(out.stop->message, "El RUC no puede ser igual al RUC del Contribuyente.");
    EXPECT_EQ(count("SELECT count(*) FROM CAB") + count("SELECT count(*) FROM DET"), 0);
}

// The checks of "&Validar" after its review, in their order; the save shares the taxpayer and
// DNI checks.
TEST_F(SaveTest, ValidarChecksInOrder)
{
    auto m = typed();
    using F = ReviewStop::Focus;
    const auto stopOf = [&m]() { return DeclarationReview(*m).CmdValidarChecks(); };
    EXPECT_FALSE(stopOf());

    m->payment().setPaymentType("C");
    m->payment().setBankCode("XX");
    m->payment().setChequeNumber("778");
    auto stop = stopOf();
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->message, "Ingrese el banco.");
    EXPECT_EQ(stop->page, 3);
    m->payment().setBankCode("02");
    for (const char *cheque : {"", " 0 "}) {
        m->payment().setChequeNumber(cheque);
        stop = stopOf();
        ASSERT_TRUE(stop) << cheque;
        EXPECT_EQ(stop->message, QString::fromUtf8("Debe ingresar el número de cheque."));
    }
    m->payment().setChequeNumber("000");
    stop = stopOf();
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->message, QString::fromUtf8("Número de cheque no es válido."));
    m->payment().setChequeNumber("778");
    EXPECT_FALSE(stopOf());

    m->setText(226, "1234567");
    stop = stopOf();
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->message, "El DNI o LE debe ser de 8 digitos.");
    EXPECT_EQ(stop->page, 4);
    EXPECT_EQ(stop->focus, F::Box);
    EXPECT_EQ(stop->box, 226);
    m->setText(226, "00000000");
    stop = stopOf();
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->message, QString::fromUtf8("El número de documento del representante legal "
                                               "no puede ser cero"));
    EXPECT_EQ(stop->page, -1);

    // A new declaration without a taxpayer stops at the taxpayer first.
    DeclarationModel blank(db_, messages_);
    blank.setRun({0, "USUARIO0", false, QString(), QString()});
    blank.open();
    blank.payment().setPaymentType("C");
    stop = DeclarationReview(blank).CmdValidarChecks();
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->message, "Debe seleccionar un Contribuyente.");
    EXPECT_EQ(stop->focus, F::TaxpayerList);
    stop = DeclarationSave(blank).CmdGrabar().stop;
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->message, "Debe seleccionar un Contribuyente.");
}

TEST_F(SaveTest, AFailureInTheMiddleLeavesTheOldDeclaration)
{
    auto m = typed();
    ASSERT_TRUE(DeclarationSave(*m).CmdGrabar().saved);
    const QStringList before = boxes();
    ASSERT_FALSE(before.isEmpty());
    test::FailingWrites fail(db_, "fail826", "DET", "INSERT", "NEW.Casilla='826'", "disco lleno");
    m->setText(101, "9,000,000");
    m->setText(180, "");
    const SaveOutcome out = DeclarationSave(*m).CmdGrabar();
    EXPECT_FALSE(out.saved);
    EXPECT_TRUE(out.error.contains("disco lleno")) << out.error.toStdString();
    EXPECT_EQ(count("SELECT estado FROM CAB"), 0); // the header of the first save
    EXPECT_EQ(boxes(), before);
    EXPECT_EQ(m->text(101), "9,000,000"); // the window keeps what was typed
    fail.stop();
    EXPECT_TRUE(DeclarationSave(*m).CmdGrabar().saved);
    EXPECT_NE(boxes(), before);
}

TEST_F(SaveTest, CooperativeAmountsAndTheirRemoval)
{
    auto m = typed();
    m->chooseAnswer(Answer::Coop, 1);
    m->setText(110, "0.40");
    m->setRatioAmounts("400,000", "1,000,000");
    ASSERT_TRUE(DeclarationSave(*m).CmdGrabar().saved);
    EXPECT_EQ(db_.scalar("SELECT mto_det FROM F731PORCENTAJE").toDouble(), 400000);
    EXPECT_EQ(db_.scalar("SELECT i_valor FROM DET WHERE Casilla='110'").toText(), "0.40");
    m->chooseAnswer(Answer::Coop, 0);
    ASSERT_TRUE(DeclarationSave(*m).CmdGrabar().saved);
    EXPECT_EQ(count("SELECT count(*) FROM F731PORCENTAJE"), 0);
}

TEST_F(SaveTest, ParameterFingerprint)
{
    auto m = typed();
    const double expected =
        db_.scalar("SELECT coalesce((SELECT sum(val(Correl_param)) FROM PARAM WHERE "
                   "Numero='955'), 0) * 955 + coalesce((SELECT sum(val(Correl_param)) FROM PARAM "
                   "WHERE Numero='859'), 0) * 859")
            .toDouble();
    EXPECT_EQ(DeclarationSave(*m).fingerprint(), QString::number(expected, 'f', 0));
    db_.execute("DELETE FROM PARAM WHERE Numero='981'");
    EXPECT_EQ(DeclarationSave(*m).fingerprint(), "0");
}

// A reorganization with two companies: declchk finds what was stored consistent, and not
// after a company is removed and the declaration saved again.
TEST_F(SaveTest, CheckerAgreesWithTheStoredReorganization)
{
    auto m = typed();
    const QString ruc = m->taxpayerRuc();
    m->chooseAnswer(Answer::Reorg, 1);
    m->chooseReorgType(0); // type 1
    m->setField(Field::FechaReorg, "15/03/2009");
    m->setField(Field::CantEmpresas, "2");
    for (const char *company : {"20100079705", "20100000019"}) {
        db_.execute(QStringLiteral("INSERT INTO TMPF731EMPRESAS (num_doc_emp, des_razon, "
                                   "mto_activos, porc_part, mto_adic, mto_deduc, mto_base_imp, "
                                   "mto_imp_pag) VALUES ('%1', 'EMPRESA', '2000000', '', '0', "
                                   "'0', '2000000', '4000')")
                        .arg(company));
    }
    m->loadCompanies(); // no stored companies yet: the scratch table is emptied
    for (const char *company : {"20100079705", "20100000019"}) {
        db_.execute(QStringLiteral("INSERT INTO TMPF731EMPRESAS (num_doc_emp, mto_imp_pag) "
                                   "VALUES ('%1', '4000')")
                        .arg(company));
    }
    m->setText(115, "8,000");
    SaveOutcome out = DeclarationSave(*m).CmdGrabar();
    ASSERT_TRUE(out.saved) << out.error.toStdString();
    EXPECT_TRUE(out.consistent);
    EXPECT_EQ(count("SELECT count(*) FROM F731EMPRESAS"), 2);
    expectControlCodes("F731EMPRESAS", 6);

    QString why;
    const auto args = DeclarationArgs::parse({test::argumentString(ruc, "200900")}, &why);
    ASSERT_TRUE(args) << why.toStdString();
    QTemporaryDir tmp;
    EXPECT_TRUE(SendChecker(db_, *args).ValidaEnvio(tmp.filePath("x.ERR")));

    db_.execute("DELETE FROM TMPF731EMPRESAS WHERE num_doc_emp='20100000019'");
    ASSERT_TRUE(DeclarationSave(*m).CmdGrabar().saved);
    EXPECT_FALSE(SendChecker(db_, *args).ValidaEnvio(tmp.filePath("x.ERR")));
}

TEST_F(SaveTest, OrderNumberRegistration)
{
    const QString ruc = test::demoRuc(db_, "COMERCIAL ANDINA S.A.");
    db_.execute("INSERT INTO HCAB (tip_doc_d, doc_id_d, periodo, formulario, semana, CORREL, "
                "estado, CONTROL, cNumero) VALUES (6, '" +
                ruc + "', '2009', '0731', 0, '001', 0, '12345678', '')");
    DeclarationModel m(db_, messages_);
    m.setRun({1, QString(), true, "001", "12345678"});
    m.setRucField(ruc);
    m.setSPeriodo("2009");
    QString control = "12345678";
    const QString d1 = checkDigit(control).mid(8, 1);
    QString t = "12345678" + QStringLiteral("4455") + d1;
    const QString d2 = checkDigit(t).right(1);
    m.setField(Field::NumOrden, "4455");
    m.setField(Field::NumOrdenCheck, "99");
    EXPECT_TRUE(DeclarationSave(m).registerOrder().stop); // wrong check code
    m.setField(Field::NumOrdenCheck, d1 + d2);
    SaveOutcome out = DeclarationSave(m).registerOrder();
    ASSERT_TRUE(out.saved) << out.error.toStdString();
    EXPECT_EQ(count("SELECT NORDEN FROM HCAB"), 4455);
    EXPECT_EQ(db_.scalar("SELECT i_valor FROM HDET WHERE Casilla='806'").toText(), d1 + d2);
    expectControlCodes("HDET", 7);

    // Order number 0 is stored as Null; the existing row 806 takes the new code.
    QString t0 = "12345678" + QStringLiteral("0") + d1;
    const QString code0 = d1 + checkDigit(t0).right(1);
    m.setField(Field::NumOrden, "0");
    m.setField(Field::NumOrdenCheck, code0);
    ASSERT_TRUE(DeclarationSave(m).registerOrder().saved);
    EXPECT_TRUE(db_.scalar("SELECT NORDEN FROM HCAB").isNull());
    EXPECT_EQ(db_.scalar("SELECT i_valor FROM HDET WHERE Casilla='806'").toText(), code0);
    EXPECT_EQ(count("SELECT count(*) FROM HDET WHERE Casilla='806'"), 1);
}

} // namespace
} // namespace qz
