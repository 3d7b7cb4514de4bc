// The loader: stored rows back into the model, the ignored and unknown numbers, the header's
// payment data, and pCargaIdent applying the stored answers.
#include "core/data/clock.h"
#include "core/declaration/declarationmodel.h"
#include "support/modelfixture.h"
#include "support/storeddeclaration.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

using test::ScriptedMessenger;

class LoaderTest : public test::ModelTest {
protected:
    void SetUp() override
    {
        test::ModelTest::SetUp();
        ruc_ = test::demoRuc(db_, "COMERCIAL ANDINA S.A.");
        model_ = std::make_unique<DeclarationModel>(db_, messages_);
        model_->setRun({1, QString(), false, QString(), QString()});
    }
    // The fixture's model opened on the stored declaration, as "&Modificar" opens it.
    void open() { model_->open({ruc_, "COMERCIAL ANDINA S.A.", "2007", QString()}); }

    std::unique_ptr<DeclarationModel> model_;
    QString ruc_;
};

TEST_F(LoaderTest, StoredRowsComeBackBoxByBox)
{
    test::StoredDeclaration d(db_, ruc_, "2007");
    d.header({{"bcolibrad", "02"}, {"nrocheque", " 778 "}});
    const std::pair<const char *, const char *> rows[] = {
        {"007", "2007"},       {"028", "4455667"}, {"825", "0"},        {"826", "1"},
        {"827", "1"},          {"828", "3"},       {"829", "0"},        {"871", ""},
        {"520", "20070315"},   {"521", "2"},       {"101", "1500000"},  {"104", "0"},
        {"142", "-1234"},      {"160", "2"},       {"180", "6000"},     {"208", "-20100079705"},
        {"211", "0123"},       {"225", "01"},      {"226", "09876543"}, {"599", "C"},
        {"806", "AB"},         {"814", "ROSA"},    {"815", "PEREZ"},    {"817", "DIAZ"},
        {"818", "LUIS"},       {"546", "300"},     {"722", "x"},        {"999", "no window"},
        {"790", "08/07/2022"},
    };
    for (const auto &[box, value] : rows) {
        d.box(box, value);
    }
    db_.execute("UPDATE DET SET i_valor=NULL WHERE Casilla='871'");
    open();

    EXPECT_EQ(model_->field(Field::Periodo), "2007");
    EXPECT_EQ(model_->field(Field::Telefono), "4455667");
    EXPECT_EQ(model_->field(Field::FechaReorg), "15/03/2007");
    EXPECT_EQ(model_->field(Field::CantEmpresas), "2");
    EXPECT_EQ(model_->field(Field::NumOrdenCheck), "AB");
    EXPECT_EQ(model_->field(Field::NombreContador), "ROSA");
    EXPECT_EQ(model_->field(Field::ApellidoRepresentante), "DIAZ");
    EXPECT_EQ(model_->answer(Answer::Liquid), "1");
    EXPECT_EQ(model_->answer(Answer::Rectifica), ""); // Null reads as empty: neither
    EXPECT_EQ(model_->tipoReorg(), "3");
    EXPECT_EQ(model_->text(101), "1,500,000");
    EXPECT_EQ(model_->text(142), "(1,234)");
    EXPECT_EQ(model_->text(105), "(300)"); // from row 546 through the chain
    EXPECT_EQ(model_->text(108), "1,499,700");
    EXPECT_EQ(model_->text(160), "2");
    EXPECT_EQ(model_->raw160(), "2");
    EXPECT_EQ(model_->text(208), "20100079705");
    EXPECT_EQ(model_->text(211), "0123");
    EXPECT_EQ(model_->text(225), "01");
    EXPECT_EQ(model_->payment().paymentType(), "C");
    EXPECT_EQ(model_->payment().bankCode(), "02");
    EXPECT_EQ(model_->payment().chequeNumber(), "778");
    EXPECT_EQ(model_->payment().amount(), "6,000");
    EXPECT_FALSE(model_->algunCambio());
    // The stored document type is chosen in the representative's list: a DNI of 8.
    ASSERT_GE(model_->representativeTypeIndex(), 1);
    EXPECT_EQ(model_->representativeTypes().at(model_->representativeTypeIndex()).left(2), "01");
    EXPECT_EQ(model_->representativeType().left(2), "01");
    EXPECT_EQ(model_->documentLength(), 8);
    EXPECT_FALSE(model_->bCargando());
}

TEST_F(LoaderTest, OpenKeepsTheListsAndTheirChoices)
{
    open();
    // A blank entry first, then the types allowed for the representative.
    ASSERT_GT(model_->representativeTypes().size(), 1);
    EXPECT_EQ(model_->representativeTypes().first(), QString(75, u' '));
    ASSERT_GT(model_->zones().size(), 1);
    EXPECT_EQ(model_->zones().first(), QString(115, u' '));
    EXPECT_EQ(model_->zoneIndex(), -1); // box 209 empty: no entry
    EXPECT_EQ(DeclarationModel::shownZone(model_->zones().first()), "");
    const QString zone = model_->zones().at(1);
    EXPECT_EQ(DeclarationModel::shownZone(zone), zone.right(2) + "  -  " + zone.left(15).trimmed());

    // Choosing entries: the codes go into boxes 209 and 225, and the declaration changed.
    model_->chooseZone(1);
    EXPECT_EQ(model_->text(209), model_->zones().at(1).right(2));
    EXPECT_EQ(model_->zoneIndex(), 1);
    const int ruc = [&] {
        for (int i = 0; i < model_->representativeTypes().size(); ++i) {
            if (model_->representativeTypes().at(i).startsWith("06")) {
                return i;
            }
        }
        return -1;
    }();
    ASSERT_GT(ruc, 0);
    model_->chooseRepresentativeType(ruc);
    EXPECT_EQ(model_->text(225), "06");
    EXPECT_EQ(model_->documentLength(), 11);
    EXPECT_EQ(model_->box(226).maxLength, 11);
    EXPECT_TRUE(model_->algunCambio());
    // Out of range: nothing changes.
    model_->chooseRepresentativeType(model_->representativeTypes().size());
    model_->chooseZone(-1);
    EXPECT_EQ(model_->text(225), "06");
    EXPECT_EQ(model_->zoneIndex(), 1);
}

TEST_F(LoaderTest, SentDeclarationOpensReadOnlyWithItsOrderNumber)
{
    model_->setRun({1, QString(), true, "001", "12345678"});
    model_->open({ruc_, "COMERCIAL ANDINA S.A.", "2007", "0"});
    EXPECT_EQ(model_->sRuc(), ruc_);
    EXPECT_EQ(model_->field(Field::NumOrden), ""); // "0": no order number yet
    EXPECT_EQ(model_->payment().enabledText(), "False");
    for (int n : {101, 104, 142, 160, 180, 226}) {
        EXPECT_TRUE(model_->box(n).locked) << n;
        EXPECT_EQ(model_->box(n).color, BoxColor::Grey) << n;
    }
    EXPECT_FALSE(model_->box(101).enabled);
    EXPECT_EQ(model_->box(105).color, BoxColor::Cyan); // its assistant still shows the rows
    EXPECT_FALSE(model_->algunCambio());

    DeclarationModel withNumber(db_, messages_);
    withNumber.setRun({1, QString(), true, "001", "12345678"});
    withNumber.open({ruc_, "COMERCIAL ANDINA S.A.", "2007", "4455"});
    EXPECT_EQ(withNumber.field(Field::NumOrden), "4455");
}

TEST_F(LoaderTest, RatioSignedValuesAndUnmatchedType)
{
    test::StoredDeclaration d(db_, ruc_, "2007");
    d.box("829", "1");
    d.box("110", "0.36");
    d.box("105", "-1234");
    d.box("828", "9");
    open();
    EXPECT_EQ(model_->text(110), "0.36");
    EXPECT_EQ(model_->answer(Answer::Coop), "1");
    EXPECT_TRUE(model_->box(110).visible);
    EXPECT_EQ(model_->reorgSelection(), -1);
    // 105 is the sum of the assistant rows as soon as it changes: none stored.
    EXPECT_EQ(model_->text(105), "(0)");
}

TEST_F(LoaderTest, NoRowsClearsTheBoxes)
{
    model_->setText(101, "5");
    open();
    EXPECT_EQ(model_->text(101), "");
    EXPECT_EQ(model_->field(Field::Periodo), "2007");
}

TEST_F(LoaderTest, BoxRatioAmountsFromF731Porcentaje)
{
    db_.execute("INSERT INTO F731PORCENTAJE (tip_doc_d, doc_id_d, periodo, formulario, mto_det, "
                "mto_net, cnumero) VALUES (6, '" +
                ruc_ + "', '2007', '0731', 360, 1000, '000000')");
    open();
    model_->CoefIni();
    EXPECT_EQ(model_->mtoDet(), "360");
    EXPECT_EQ(model_->mtoNet(), "1000");
}

} // namespace
} // namespace qz
