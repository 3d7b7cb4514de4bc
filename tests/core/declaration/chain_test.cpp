// The calculation chain on the model with a real database (a fresh installation with the
// module's parameters): each rule's edge cases, and whole chains computed by hand.
#include "core/data/clock.h"
#include "core/declaration/declarationmodel.h"
#include "support/modelfixture.h"
#include "support/storeddeclaration.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

using test::ScriptedMessenger;

class ChainTest : public test::ModelTest {
protected:
    void SetUp() override
    {
        test::ModelTest::SetUp();
        model_ = newModel();
        ASSERT_FALSE(model_->taxpayerEntries().isEmpty());
        model_->chooseTaxpayer(0);
        ruc_ = model_->taxpayerRuc();
        ASSERT_EQ(ruc_.size(), 11);
    }
    // A new declaration of the exercise, cooperative "No".
    void start(const QString &exercise)
    {
        model_ = newModel();
        model_->chooseTaxpayer(0);
        model_->setField(Field::Periodo, exercise);
        model_->chooseAnswer(Answer::Coop, 0);
    }
    QString t(int box) const { return model_->text(box); }

    std::unique_ptr<DeclarationModel> model_;
    QString ruc_;
};

TEST_F(ChainTest, WholeChainOfExercise2009)
{
    start("2009");
    model_->setText(101, "2500000");
    // 105 is the sum of the assistant rows: none, so (0); 108 = 2,500,000 + 0 - 0.
    EXPECT_EQ(t(105), "(0)");
    EXPECT_EQ(t(108), "2,500,000");
    EXPECT_EQ(t(109), "2,500,000"); // copied: no inflation adjustment after 2005
    EXPECT_EQ(t(113), "2,500,000");
    // Scale of 2009: threshold 1,000,000, rate 0.004: (2,500,000 - 1,000,000) x 0.004 = 6,000.
    EXPECT_EQ(t(114), "6,000");
    EXPECT_EQ(t(139), "6,000"); // 114 + 115 (empty, 0)
    EXPECT_FALSE(model_->box(160).locked);
    model_->setText(160, "2");
    EXPECT_EQ(t(161), "667"); // 6,000 / 9 = 666.67
    model_->setText(142, "(100)");
    model_->setText(145, "33");
    // 146 = 667 - 100 - 0 - 0 + 33 = 600.
    EXPECT_EQ(t(146), "600");
    EXPECT_TRUE(model_->algunCambio());
}

TEST_F(ChainTest, DeductionsComeFromTheAssistantRows)
{
    start("2007");
    test::StoredDeclaration d(db_, ruc_, "2007");
    d.box("546", "100");
    d.box("556", "50");
    d.box("557", "999"); // outside the eleven rows
    model_->setText(101, "100");
    model_->setText(104, "0");
    // 105 = (100 + 50); 108 = 100 + 0 - 150 < 0, so "0".
    EXPECT_EQ(t(105), "(150)");
    EXPECT_EQ(t(108), "0");
    // Typing into 105 does not stick: it shows the rows' sum again.
    model_->setText(105, "7");
    EXPECT_EQ(t(105), "(150)");
}

TEST_F(ChainTest, EmptyInputsGiveEmptyResults)
{
    start("2007");
    for (int box : {108, 109, 113, 139, 146, 161}) {
        EXPECT_EQ(t(box), "") << box;
    }
    EXPECT_TRUE(model_->box(109).locked);
}

TEST_F(ChainTest, TaxByScale)
{
    start("2007"); // threshold 1,000,000, rate 0.005
    model_->setText(101, "1000000");
    EXPECT_EQ(t(114), "0"); // equal to the threshold
    model_->setText(101, "1000201");
    EXPECT_EQ(t(114), "1");            // 201 x 0.005 = 1.005
    model_->setSPeriodoActual("2004"); // before the first scale row
    EXPECT_EQ(model_->EscalaOkre("1"), Currency());
    EXPECT_EQ(model_->EscalaOkre("2"), Currency());
    model_->setSPeriodoActual("2030"); // the last row stays in force
    EXPECT_EQ(model_->EscalaOkre("2"), Currency::fromText("0.004"));
}

TEST_F(ChainTest, ScaleWithMoreRowsThanTheOldList)
{
    for (int year = 2010; year < 2040; ++year) {
        const QString argumento = QString::number(year) + "0101";
        const QString funcion = QStringLiteral("%1").arg(year, 10, 10, QChar(u'0')) +
                                QString(7, u' ') + "00.00" +
                                QStringLiteral("%1").arg(year - 2000, 3, 10, QChar(u'0'));
        db_.execute(
            "INSERT INTO PARAM (Numero, Argumento, Funcion, Correl_param) VALUES ('859', '" +
            argumento + "', '" + funcion + "', '')");
    }
    model_->setSPeriodoActual("2035");
    EXPECT_EQ(model_->EscalaOkre("1"), Currency::fromInt(2035));
    EXPECT_EQ(model_->EscalaOkre("2"), Currency::fromText("0.00035"));
}

TEST_F(ChainTest, PaymentModality)
{
    start("2007");
    struct Row {
        const char *name;
        const char *c114;
        int liquid;
        const char *c160;
        bool locked160;
        bool enabled145;
    } rows[] = {
        {"9 with the credit option", "9", 1, "2", true, true},
        {"9 without it", "9", 0, nullptr, false, true}, // open, the text as it was
        {"8", "8", 0, "1", true, true},
        {"0", "0", 0, "1", true, false},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        start("2007");
        model_->setText(145, "5");
        model_->chooseAnswer(Answer::Liquid, r.liquid);
        model_->setText(114, "");
        model_->setText(114, r.c114);
        if (r.c160) {
            EXPECT_EQ(t(160), r.c160);
        }
        EXPECT_EQ(model_->box(160).locked, r.locked160);
        EXPECT_EQ(model_->box(145).enabled, r.enabled145);
        if (!r.enabled145) {
            EXPECT_EQ(t(145), "");
        }
    }
}

// The cooperative answer "Si" takes the base from box 111, empty until the box-110 assistant
// fills it: the tax falls to 0 and the payment-modality rule puts box 160 back to 1 and empties
// box 145, as it is defined to. A company's tax in box 115 later opens both boxes again
// without bringing the earlier entries back.
TEST_F(ChainTest, CooperativeAnswerResetsTheModalityThroughTheRule)
{
    // Box 139, box 160 with its lock, box 145 with its state.
    const auto payment = [this] {
        return t(139) + " | " + t(160) + (model_->box(160).locked ? " locked" : " open") + " | " +
               t(145) + (model_->box(145).enabled ? " enabled" : " disabled");
    };
    start("2009");
    model_->setText(101, "2500000");
    model_->setText(160, "2");
    model_->setText(145, "5");
    ASSERT_EQ(payment(), "6,000 | 2 open | 5 enabled");
    model_->chooseAnswer(Answer::Coop, 1);
    EXPECT_EQ(payment(), "0 | 1 locked |  disabled");
    model_->setText(115, "8,000");
    EXPECT_EQ(payment(), "8,000 | 1 open |  enabled");
}

TEST_F(ChainTest, InstalmentsAndFinalBalance)
{
    start("2007");
    model_->setText(114, "100");
    model_->setText(160, "2");
    EXPECT_EQ(t(161), "11"); // 100 / 9 = 11.11
    model_->setText(144, "5000");
    EXPECT_EQ(t(146), "0"); // never negative
    model_->setText(160, "1");
    EXPECT_EQ(t(161), "100");
}

TEST_F(ChainTest, SentDeclarationKeepsItsTax)
{
    start("2007");
    model_->setText(114, "777");
    model_->setRun({0, QStringLiteral("USUARIO0"), true, QString(), QString()});
    model_->setText(113, "5,000,000");
    EXPECT_EQ(t(114), "777");
}

TEST_F(ChainTest, ReorganizationTypes)
{
    start("2007");
    model_->chooseAnswer(Answer::Reorg, 1);
    EXPECT_TRUE(model_->pageEnabled(1)); // "Si" with no type yet
    model_->setText(101, "500");
    model_->chooseReorgType(1); // type 2: a company created by the merger
    EXPECT_EQ(model_->tipoReorg(), "2");
    for (int box : {101, 104, 105, 108, 109}) {
        EXPECT_EQ(t(box), box == 105 ? "(0)" : "0") << box;
    }
    EXPECT_TRUE(model_->box(101).locked);
    EXPECT_FALSE(model_->box(105).enabled);
    EXPECT_EQ(model_->fechaCaption(), QString::fromUtf8("Fecha de fusión :"));
    model_->chooseReorgType(2); // type 3: spin-off wording, boxes open again
    EXPECT_EQ(model_->fechaCaption(), QString::fromUtf8("Fecha de escisión :"));
    EXPECT_FALSE(model_->box(101).locked);
    EXPECT_TRUE(model_->box(109).locked); // 2006 or later
    model_->chooseReorgType(4);           // type 5
    EXPECT_FALSE(model_->pageEnabled(1));
    model_->chooseReorgType(0);
    EXPECT_TRUE(model_->pageEnabled(1));
    model_->chooseAnswer(Answer::Reorg, 0);
    EXPECT_FALSE(model_->pageEnabled(1));
    EXPECT_EQ(model_->reorgSelection(), -1);
    EXPECT_FALSE(model_->reorgListEnabled());
}

TEST_F(ChainTest, CooperativeRatio)
{
    start("2007");
    model_->chooseAnswer(Answer::Coop, 1);
    EXPECT_TRUE(model_->box(110).visible);
    model_->setText(101, "1000000");
    model_->setText(110, "0.36");
    EXPECT_EQ(t(111), "360,000"); // 1,000,000 x 0.36
    EXPECT_EQ(t(113), "360,000");
    model_->chooseAnswer(Answer::Coop, 0);
    EXPECT_EQ(t(110), "");
    EXPECT_EQ(t(111), "");
    EXPECT_FALSE(model_->box(110).visible);
    EXPECT_EQ(t(113), "1,000,000");
}

TEST_F(ChainTest, PaymentRuleOnBox180)
{
    start("2007");
    model_->setText(180, "0");
    EXPECT_EQ(model_->payment().paymentType(), "E");
    EXPECT_EQ(model_->payment().amount(), "0");
    model_->setPaymentType("C");
    model_->setText(180, "1,500");
    EXPECT_EQ(model_->payment().paymentType(), "C");
    EXPECT_EQ(model_->payment().amount(), "1,500");
}

} // namespace
} // namespace qz
