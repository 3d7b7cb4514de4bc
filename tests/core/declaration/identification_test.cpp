// Identification and options on the model: the taxpayer list of each kind of user, the
// existence test, the exercise's labels and inflation question, answers, exclusive boxes.
#include "core/data/clock.h"
#include "core/declaration/declarationmodel.h"
#include "core/declaration/periodrules.h"
#include "support/modelfixture.h"
#include "support/storeddeclaration.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

using test::ScriptedMessenger;

class IdentificationTest : public test::ModelTest {};

TEST_F(IdentificationTest, TaxpayerListFollowsTheUser)
{
    const auto own = newModel("USUARIO1");
    EXPECT_TRUE(own->SqlContribuyentes().contains("AND Usuario ='USUARIO1' Order by"));
    const qint64 owned =
        db_.scalar("SELECT count(*) FROM CONT WHERE Usuario='USUARIO1' AND Tip_doc_d=6").toInt();
    ASSERT_EQ(own->taxpayerEntries().size(), owned);
    QStringList sorted = own->taxpayerEntries();
    sorted.sort();
    EXPECT_EQ(own->taxpayerEntries(), sorted);
    const QString first = own->taxpayerEntries().first();
    EXPECT_EQ(first.mid(11, 7), QString(7, u' ')); // the name starts at character 19
    EXPECT_GT(newModel("USUARIO0")->taxpayerEntries().size(), owned);
    EXPECT_EQ(newModel("NADIE")->taxpayerEntries().size(), 0); // no CLAVES row: type "1"
}

TEST_F(IdentificationTest, ExistingDeclarationIsRefused)
{
    const auto m = newModel("USUARIO0");
    m->chooseTaxpayer(0);
    EXPECT_EQ(m->existeDeclaracion(), "S"); // no exercise yet: no header with an empty period
    EXPECT_EQ(m->sRuc(), m->taxpayerRuc());
    test::StoredDeclaration(db_, m->taxpayerRuc(), "2008").header();
    messages_.shown.clear();
    for (const char *partial : {"2", "20", "200"}) {
        m->setField(Field::Periodo, partial);
    }
    EXPECT_TRUE(messages_.shown.empty());
    m->setField(Field::Periodo, "2008");
    EXPECT_EQ(m->existeDeclaracion(), "N");
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_TRUE(messages_.shown[0].text.startsWith(QString::fromUtf8("La declaración que desea "
                                                                     "registrar ya existe")));
    EXPECT_EQ(messages_.shown[0].title, "731 Vexilar");
}

TEST_F(IdentificationTest, ExerciseSetsLabelsAndTheInflationQuestion)
{
    const auto m = newModel("USUARIO0");
    m->setField(Field::Periodo, "2007");
    EXPECT_EQ(m->answer(Answer::Ajuste), "0");
    EXPECT_FALSE(m->ajusteEnabled());
    EXPECT_EQ(m->label(101), "Base imponible al 31/12/2006");
    EXPECT_EQ(m->label(113), "Base imponible al 31/12/2006");
    EXPECT_EQ(m->sPeriodo(), "2007");
    m->setField(Field::Periodo, "2005");
    EXPECT_TRUE(m->ajusteEnabled());
    EXPECT_EQ(m->label(109), "Base Imponible actualizada al 31/03/2005");
    EXPECT_EQ(m->label(113), "Base imponible al 31/03/2005");
    EXPECT_TRUE(m->reorgQuestion().contains("entre el 01/01/2005 y"));

    messages_.shown.clear();
    m->setField(Field::Periodo, "2027"); // after this year
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, QString::fromUtf8("El Ejercicio no es Válido."));
    EXPECT_EQ(m->sPeriodo(), "2005");
}

TEST_F(IdentificationTest, PeriodAndDateChecks)
{
    const QDate today(2026, 6, 1);
    EXPECT_TRUE(ValidaPeriodo("2005", today));
    EXPECT_TRUE(ValidaPeriodo("2026", today));
    EXPECT_FALSE(ValidaPeriodo("2004", today));
    EXPECT_FALSE(ValidaPeriodo("2027", today));
    EXPECT_FALSE(ValidaPeriodo("20_5", today));
    EXPECT_TRUE(ValidaFecha("15/03/2007", "2007", today));
    EXPECT_TRUE(ValidaFecha("30/04/2007", "2007", today));
    EXPECT_FALSE(ValidaFecha("01/05/2007", "2007", today));
    EXPECT_FALSE(ValidaFecha("31/12/2006", "2007", today));
    EXPECT_FALSE(ValidaFecha("15/13/2007", "2007", today));
    EXPECT_FALSE(ValidaFecha("15/03/2026", "2026", QDate(2026, 3, 1))); // in the future
    EXPECT_FALSE(ValidaFecha("__/03/2007", "2007", today));
}

TEST_F(IdentificationTest, MergerDateIsCheckedOnceComplete)
{
    const auto m = newModel("USUARIO0");
    m->setField(Field::Periodo, "2007");
    m->setField(Field::FechaReorg, "15/06/2007"); // page 1 disabled: not checked
    EXPECT_TRUE(messages_.shown.empty());
    m->chooseAnswer(Answer::Reorg, 1);
    m->setField(Field::FechaReorg, "15/06/200_");
    EXPECT_TRUE(messages_.shown.empty());
    m->setField(Field::FechaReorg, "15/06/2007"); // after 30 April
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, QString::fromUtf8("La fecha no es válida."));
    m->setField(Field::FechaReorg, "15/03/2007");
    EXPECT_EQ(messages_.shown.size(), 1u);
}

TEST_F(IdentificationTest, CreditOptionAndRectification)
{
    const auto m = newModel("USUARIO0");
    // Before the credit option is answered, box 143 is empty and locked.
    EXPECT_TRUE(m->box(143).locked);
    EXPECT_EQ(m->box(143).color, BoxColor::Grey);
    m->setField(Field::Periodo, "2007");
    m->chooseAnswer(Answer::Coop, 0);
    m->setText(114, "1000");
    m->chooseAnswer(Answer::Liquid, 1);
    EXPECT_EQ(m->text(160), "2");
    EXPECT_TRUE(m->box(160).locked);
    EXPECT_FALSE(m->box(143).locked);
    m->setText(143, "10");
    m->chooseAnswer(Answer::Liquid, 0);
    EXPECT_FALSE(m->box(160).locked);
    EXPECT_EQ(m->text(143), "");
    EXPECT_TRUE(m->box(143).locked);

    messages_.shown.clear();
    m->chooseAnswer(Answer::Rectifica, 1);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Exclamation);
    m->setLoading(true);
    m->chooseAnswer(Answer::Rectifica, 1);
    EXPECT_EQ(messages_.shown.size(), 1u); // not while loading
}

TEST_F(IdentificationTest, ExclusiveProfessionalNumbers)
{
    const auto m = newModel("USUARIO0");
    m->setText(212, "555");
    messages_.answer = MessageAnswer::Yes;
    m->setText(211, "123");
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text,
              QString::fromUtf8("Las casillas 211 y 212 son excluyentes.\n¿Desea registrar "
                                "información en la casilla 211?."));
    EXPECT_EQ(m->text(212), "");
    EXPECT_EQ(m->text(211), "123");
    messages_.answer = MessageAnswer::No;
    m->setText(212, "9");
    EXPECT_EQ(m->text(212), "");
    EXPECT_EQ(m->text(211), "123");
}

TEST_F(IdentificationTest, AccountantRucChecks)
{
    const auto m = newModel("USUARIO0");
    m->chooseTaxpayer(0);
    m->setText(208, "2010000000"); // ten characters: not checked yet
    EXPECT_TRUE(messages_.shown.empty());
    m->setText(208, "20100000001");
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, QString::fromUtf8("El RUC no es Válido."));
    messages_.shown.clear();
    m->setText(208, m->sRuc());
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text,
              QString::fromUtf8("El RUC no puede ser igual al RUC del Contribuyente."));
}

} // namespace
} // namespace qz
