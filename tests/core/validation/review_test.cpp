// The identification gate, the review and its listing, the silent consistency test.
#include "core/data/clock.h"
#include "core/data/textfile.h"
#include "core/declaration/declarationmodel.h"
#include "core/validation/declarationreview.h"
#include "support/modelfixture.h"
#include "support/modelsupport.h"
#include "support/moduleinstall.h"
#include "support/scriptedmessenger.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qz {
namespace {

using test::ScriptedMessenger;

TEST(TelephoneRules, LengthsAndCellphones)
{
    const std::pair<const char *, int> cases[] = {
        {"", 0},         {"12345", 1},  {"1234567", 0}, {"91234567", 0},
        {"81234567", 2}, {"912345", 3}, {"9123456", 0}, {"  12  ", 1},
    };
    for (const auto &[phone, rule] : cases) {
        EXPECT_EQ(DeclarationReview::telephoneRule(phone), rule) << phone;
    }
}

class ReviewTest : public test::ModelTest {
protected:
    void SetUp() override
    {
        test::ModelTest::SetUp();
        model_ = newModel();
    }
    QStringList review()
    {
        const ReviewResult r = DeclarationReview(*model_).ValidaDeclaracion(mens());
        EXPECT_FALSE(r.stop) << r.stop->message.toStdString();
        EXPECT_TRUE(r.fileWritten);
        return r.lines;
    }
    QString mens() const { return dir_.filePath("Mens.txt"); }

    std::unique_ptr<DeclarationModel> model_;
    QTemporaryDir dir_;
};

TEST_F(ReviewTest, EveryReviewStartsAFreshListing)
{
    QFile old(mens());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("1. Identificación-Datos Generales : de una revisión anterior\r\n");
    old.close();
    // No taxpayer chosen: the review stops at its first check, with an empty listing.
    const ReviewResult r = DeclarationReview(*model_).ValidaDeclaracion(mens());
    ASSERT_TRUE(r.stop);
    EXPECT_EQ(r.stop->message, "Debe seleccionar un Contribuyente.");
    EXPECT_TRUE(r.fileWritten);
    QStringList lines;
    ASSERT_TRUE(readHostLines(mens(), &lines));
    EXPECT_TRUE(lines.isEmpty()) << lines.join('|').toStdString();
}

TEST_F(ReviewTest, GateInOrder)
{
    DeclarationReview r(*model_);
    EXPECT_EQ(r.ValidaContForm1()->message, "Debe seleccionar un Contribuyente.");
    model_->chooseTaxpayer(0);
    model_->setField(Field::Telefono, "123");
    EXPECT_EQ(r.ValidaContForm1()->message,
              QString::fromUtf8("Ingrese su número de teléfono o un número de referencia."));
    model_->setField(Field::Telefono, "");
    EXPECT_EQ(
        r.ValidaContForm1()->message,
        QString::fromUtf8("Indique si la presente declaración rectifica o sustituye a otra."));
    model_->chooseAnswer(Answer::Rectifica, 0);
    const auto stop = r.ValidaContForm1();
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->message, QString::fromUtf8("El ejercicio no es válido"));
    EXPECT_EQ(stop->focus, ReviewStop::Focus::Salir);
    model_->setField(Field::Periodo, "2009");
    EXPECT_FALSE(r.ValidaContForm1());
    model_->chooseAnswer(Answer::Reorg, 1);
    EXPECT_EQ(r.ValidaContForm1()->message,
              QString::fromUtf8("Debe seleccionar el tipo de reorganización de sociedades."));
}

TEST_F(ReviewTest, ListedFindingsAndTheFile)
{
    model_->chooseTaxpayer(0);
    model_->setField(Field::Periodo, "2009");
    model_->chooseAnswer(Answer::Coop, 0);
    model_->setText(114, "4000");
    model_->setText(160, "1");
    model_->setText(142, "(5,000)");
    model_->chooseAnswer(Answer::Reorg, 1);
    model_->chooseReorgType(2); // type 3: spin-off wording
    const QStringList lines = review();
    const QStringList expected = {
        QString::fromUtf8("Reorganización de sociedades : Debe ingresar la cantidad de empresas "
                          "extinguidas por escisión"),
        QString::fromUtf8("Reorganización de sociedades : La cantidad de empresas extinguidas "
                          "por escisión debe ser mayor a 0 y menor o igual a 100"),
        QString::fromUtf8("Reorganización de sociedades : La fecha de escisión debe corresponder "
                          "al ejercicio ingresado y debe ser menor o igual a la fecha del "
                          "sistema."),
        QString::fromUtf8("Determinación Base Imponible : El valor de la casilla 142 no puede "
                          "exceder el valor de la casilla 161"),
        QString::fromUtf8("Determinación de la Deuda : Indique la forma de pago."),
        QString::fromUtf8("Determinación de la Deuda : Ingrese el importe a pagar (casilla 180)"),
        QString::fromUtf8("Información Complementaria : Ingrese los datos del Representante "
                          "Legal"),
    };
    EXPECT_EQ(lines, expected);
    QFile f(mens());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("Reorganizaci\xF3n de sociedades"));
    EXPECT_TRUE(bytes.endsWith("Legal\r\n"));
    EXPECT_FALSE(DeclarationReview(*model_).EsConsistente());
}

TEST_F(ReviewTest, AccountantChecksStartOnlyWithAccountantData)
{
    model_->chooseTaxpayer(0);
    model_->setField(Field::Periodo, "2009");
    model_->setText(209, "26");
    model_->setText(211, "123");
    const auto accountant = [](const QStringList &l) {
        return l.filter(QString::fromUtf8("del contador")).size();
    };
    EXPECT_EQ(accountant(review()), 0);
    model_->setText(209, "");
    model_->setText(208, "20100079705");
    EXPECT_EQ(accountant(review()), 1); // the zone is missing
}

TEST_F(ReviewTest, BlockingRucChecks)
{
    model_->chooseTaxpayer(0);
    model_->setField(Field::Periodo, "2009");
    model_->setText(208, "20100000001");
    ReviewResult r = DeclarationReview(*model_).ValidaDeclaracion(mens());
    ASSERT_TRUE(r.stop);
    EXPECT_EQ(r.stop->message, QString::fromUtf8("El RUC del Contador no es Válido."));
    EXPECT_EQ(r.stop->page, 4);
    model_->setText(208, "");
    EXPECT_TRUE(test::chooseRepresentativeTypeCode(*model_, "06"));
    model_->setText(226, model_->taxpayerRuc());
    r = DeclarationReview(*model_).ValidaDeclaracion(mens());
    ASSERT_TRUE(r.stop);
    EXPECT_EQ(r.stop->message,
              QString::fromUtf8("El RUC no puede ser igual al RUC del Contribuyente."));
}

TEST_F(ReviewTest, DocumentNumberRules)
{
    DeclarationReview r(*model_);
    EXPECT_TRUE(r.ValidaNumDoc("06", "20100079705"));
    EXPECT_TRUE(r.ValidaNumDoc("01", "12345678"));
    EXPECT_FALSE(r.ValidaNumDoc("01", "1234567"));  // exactly 8
    EXPECT_FALSE(r.ValidaNumDoc("01", "1234567A")); // digits only
    EXPECT_TRUE(r.ValidaNumDoc("07", "AB1234"));    // passport: letters, at most 12
    EXPECT_FALSE(r.ValidaNumDoc("07", "AB12345678901"));
    EXPECT_FALSE(r.ValidaNumDoc("99", "1"));
    EXPECT_FALSE(r.ValidaNumDoc("", "1"));
}

} // namespace
} // namespace qz
