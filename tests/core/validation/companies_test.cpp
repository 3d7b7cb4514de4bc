// The companies of a reorganization without a screen: the tax of one company by the scale of
// its exercise, the dialog's formats, key rules and checks, the store into TMPF731EMPRESAS,
// and the list's totals and deletion.
#include "core/components/textutility.h"
#include "core/validation/companyform.h"
#include "core/validation/companylist.h"
#include "support/companytable.h"
#include "support/moduleinstall.h"
#include "support/scriptedmessenger.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

using F = CompanyField;
using test::kCompanyA;
using test::kCompanyB;
using test::kDeclarant;
using test::ScriptedMessenger;

class CompaniesTest : public test::CompanyTableTest {
protected:
    CompanyForm form(const QString &type, const QString &exercise = QStringLiteral("2009"),
                     const QString &mode = QStringLiteral("0"), const QString &selected = {})
    {
        return CompanyForm(db_, {mode, kDeclarant, exercise, type, selected, false});
    }
    // A complete, valid company entered the way the dialog feeds it.
    static void fill(CompanyForm &f, const QString &ruc, const QString &activos,
                     const QString &percent = {})
    {
        f.setText(F::Ruc, ruc);
        f.setText(F::Razon, QStringLiteral("EMPRESA ABSORBIDA"));
        f.setText(F::Activos, activos);
        f.setText(F::Porcentaje, percent);
    }
    QString stored(const QString &ruc, const char *column)
    {
        return db_
            .scalar(QStringLiteral("SELECT %1 FROM TMPF731EMPRESAS WHERE num_doc_emp='%2'")
                        .arg(QString::fromLatin1(column), ruc))
            .toText();
    }
};

struct TaxCase {
    const char *name;
    const char *type;
    const char *exercise;
    const char *activos, *adiciones, *deducciones, *percent;
    const char *base, *tax;
};

class CompanyTax : public CompaniesTest, public ::testing::WithParamInterface<TaxCase> {};

// The scale of PARAM '859': 2006 threshold 5,000,000 rate 0.006, 2009 1,000,000 and 0.004.
TEST_P(CompanyTax, BaseAndTax)
{
    const TaxCase &c = GetParam();
    CompanyForm f = form(QString::fromLatin1(c.type), QString::fromLatin1(c.exercise));
    f.setText(F::Activos, QString::fromLatin1(c.activos));
    f.setText(F::Adiciones, QString::fromLatin1(c.adiciones));
    f.setText(F::Deducciones, QString::fromLatin1(c.deducciones));
    f.setText(F::Porcentaje, QString::fromLatin1(c.percent));
    EXPECT_EQ(f.text(F::Base), QString::fromLatin1(c.base));
    EXPECT_EQ(f.text(F::Impuesto), QString::fromLatin1(c.tax));
}

INSTANTIATE_TEST_SUITE_P(
    Scale, CompanyTax,
    ::testing::Values(
        TaxCase{"DeductionsAboveAssets", "1", "2009", "1000", "0", "1500", "", "0", "0"},
        TaxCase{"AllEmpty", "1", "2009", "", "", "", "", "", ""},
        TaxCase{"AboveThreshold", "1", "2009", "2500000", "", "", "", "2,500,000", "6,000"},
        TaxCase{"AdditionsAndDeductions", "1", "2009", "2,000,000", "500,000", "300,000", "",
                "2,200,000", "4,800"},
        TaxCase{"AtThresholdNoTax", "1", "2009", "1000000", "", "", "", "1,000,000", "0"},
        TaxCase{"Exercise2006", "1", "2006", "6000000", "", "", "", "6,000,000", "6,000"},
        TaxCase{"Type3PaysItsShare", "3", "2009", "2500000", "", "", "50.00", "2,500,000", "3,000"},
        TaxCase{"Type3ShareRounded", "3", "2009", "2500000", "", "", "33.33", "2,500,000",
                "2,000"}, // 6,000 x 33.33 / 100 = 1,999.8
        TaxCase{"Type3WithoutPercentage", "3", "2009", "2500000", "", "", "", "2,500,000", "0"},
        TaxCase{"Type4PaysWholeTax", "4", "2009", "2500000", "", "", "50.00", "2,500,000",
                "6,000"}),
    [](const auto &row) { return std::string(row.param.name); });

TEST_F(CompaniesTest, EmptyingTheAmountsEmptiesBaseAndTax)
{
    CompanyForm f = form("1");
    f.setText(F::Activos, "2500000");
    f.setText(F::Deducciones, "100");
    EXPECT_EQ(f.text(F::Base), "2,499,900");
    EXPECT_EQ(f.text(F::Impuesto), "6,000"); // 1,499,900 x 0.004 = 5,999.6
    f.setText(F::Activos, "");
    EXPECT_EQ(f.text(F::Base), "0");
    f.setText(F::Deducciones, "");
    EXPECT_EQ(f.text(F::Base), "");
    EXPECT_EQ(f.text(F::Impuesto), "");
}

TEST_F(CompaniesTest, FocusFormatsAndLimits)
{
    CompanyForm f = form("3");
    f.setText(F::Activos, "2,500,000");
    f.enter(F::Activos);
    EXPECT_EQ(f.text(F::Activos), "2500000");
    EXPECT_EQ(f.maxLength(F::Activos), 12);
    f.leave(F::Activos);
    EXPECT_EQ(f.text(F::Activos), "2,500,000");
    EXPECT_EQ(f.maxLength(F::Activos), 15);
    EXPECT_EQ(f.text(F::Base), "2,500,000"); // the reformatting ran the calculation again

    f.setText(F::Porcentaje, "50");
    f.enter(F::Porcentaje);
    EXPECT_EQ(f.text(F::Porcentaje), "50.00");
    EXPECT_EQ(f.maxLength(F::Porcentaje), 6);
    f.setText(F::Porcentaje, "50");
    EXPECT_EQ(f.maxLength(F::Porcentaje), 3);
    f.leave(F::Porcentaje);
    EXPECT_EQ(f.text(F::Porcentaje), "50.00");
    EXPECT_EQ(f.maxLength(F::Razon), 40);
    EXPECT_EQ(form("3", "2009", "1", kCompanyA).maxLength(F::Razon), 50);
}

TEST_F(CompaniesTest, KeyRules)
{
    CompanyForm f = form("3");
    EXPECT_FALSE(f.modified());
    EXPECT_EQ(f.filterKey(F::Ruc, 'a', "", 0), 0);
    EXPECT_TRUE(f.modified()); // a refused key counts as typed
    EXPECT_EQ(f.filterKey(F::Ruc, '7', "2010007970", 0), '7');
    EXPECT_EQ(f.filterKey(F::Ruc, '7', "20100079705", 0), 0);   // 11 is the limit
    EXPECT_EQ(f.filterKey(F::Ruc, '7', "20100079705", 1), '7'); // replacing the selection

    EXPECT_EQ(f.filterKey(F::Razon, 'a', "", 0), 'A');
    EXPECT_EQ(f.filterKey(F::Razon, '\'', "", 0), 0);
    EXPECT_EQ(f.filterKey(F::Razon, 'X', QString(40, u'A'), 0), 0);

    f.enter(F::Activos);
    EXPECT_EQ(f.filterKey(F::Activos, '-', "", 0), 0);
    EXPECT_EQ(f.filterKey(F::Activos, '9', "12345678901", 0), '9');
    EXPECT_EQ(f.filterKey(F::Activos, '9', "123456789012", 0), 0);

    EXPECT_EQ(f.filterKey(F::Porcentaje, '.', "10", 0), '.');
    EXPECT_EQ(f.filterKey(F::Porcentaje, '.', "10.5", 0), 0); // one decimal point only
    EXPECT_EQ(f.filterKey(F::Porcentaje, '5', "100", 0), 0);  // three digits without a point
    EXPECT_EQ(f.filterKey(F::Porcentaje, '5', "10.55", 0), '5');
    EXPECT_EQ(f.filterKey(F::Porcentaje, '5', "100.55", 0), 0);

    EXPECT_EQ(f.filterKey(F::Base, '5', "", 0), 0);
}

TEST_F(CompaniesTest, RucChecksWhileTyping)
{
    CompanyForm existing = form("1");
    fill(existing, kCompanyA, "2500000");
    ASSERT_FALSE(existing.accept());

    CompanyForm f = form("1");
    EXPECT_TRUE(f.setText(F::Ruc, "2010007970").empty()); // ten digits: no check yet
    auto refusals = f.setText(F::Ruc, "20100079706");
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_EQ(refusals[0].message, QString::fromUtf8("El RUC no es Válido."));
    EXPECT_EQ(refusals[0].focus, F::Ruc);
    refusals = f.setText(F::Ruc, kDeclarant);
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_EQ(refusals[0].message, "El RUC no puede ser igual al del declarante.");
    refusals = f.setText(F::Ruc, kCompanyA);
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_EQ(refusals[0].message, QString::fromUtf8("El RUC de la Empresa ya se registró."));
    EXPECT_TRUE(f.setText(F::Ruc, kCompanyB).empty());
    EXPECT_TRUE(f.setText(F::Ruc, kCompanyB).empty()); // the same text runs nothing
}

TEST_F(CompaniesTest, AcceptChecksInOrder)
{
    CompanyForm f = form("3");
    const auto refused = [&f]() { return f.accept().value_or(CompanyRefusal{"stored"}); };
    f.setText(F::Ruc, "2010007970");
    EXPECT_EQ(refused().message, QString::fromUtf8("El RUC no es Válido."));
    f.setText(F::Ruc, "2010007970 ");
    EXPECT_EQ(refused().message, QString::fromUtf8("El RUC no es Válido."));
    f.setText(F::Ruc, kDeclarant);
    EXPECT_EQ(refused().message, "El RUC no puede ser igual al del declarante.");
    EXPECT_EQ(refused().focus, F::Ruc);

    f.setText(F::Ruc, kCompanyA);
    EXPECT_EQ(refused().message, QString::fromUtf8("Debe ingresar el porcentaje de participación"));
    EXPECT_EQ(refused().focus, F::Porcentaje);
    EXPECT_TRUE(refused().onlyWhenEnabled);
    const QString outOfRange = QString::fromUtf8(
        "El porcentaje de participación debe ser mayor a 0% y menor o igual a 100%");
    for (const char *bad : {"0", "0.00", "100.5", ".001"}) {
        f.setText(F::Porcentaje, bad);
        EXPECT_EQ(refused().message, outOfRange) << bad;
    }
    f.setText(F::Porcentaje, "100");
    EXPECT_EQ(refused().message, "Debe ingresar los activos netos");
    EXPECT_EQ(refused().focus, F::Activos);
    f.setText(F::Activos, "2,500,000");
    EXPECT_EQ(refused().message, QString::fromUtf8("Ingrese la Razón Social."));
    f.setText(F::Razon, "   ");
    EXPECT_EQ(refused().focus, F::Razon);
    EXPECT_EQ(rows(), 0);

    f.setText(F::Razon, " Empresa Uno ");
    f.setText(F::Porcentaje, "50.5");
    f.setText(F::Adiciones, "1,000");
    EXPECT_FALSE(f.accept());
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(stored(kCompanyA, "des_razon"), " Empresa Uno "); // the name as typed
    EXPECT_EQ(stored(kCompanyA, "mto_activos"), "2500000");
    EXPECT_EQ(stored(kCompanyA, "mto_adic"), "1000");
    EXPECT_EQ(stored(kCompanyA, "mto_deduc"), "");
    EXPECT_EQ(stored(kCompanyA, "porc_part"), "50.50");
    EXPECT_EQ(stored(kCompanyA, "mto_base_imp"), "2501000");
    // (2,501,000 - 1,000,000) x 0.004 = 6,004; x 50.5 / 100 = 3,032.02
    EXPECT_EQ(stored(kCompanyA, "mto_imp_pag"), "3032");

    // The same RUC again is refused on "&Aceptar" too, and nothing is added.
    CompanyForm again = form("3");
    fill(again, kCompanyA, "900000", "10");
    EXPECT_EQ(again.accept().value_or(CompanyRefusal{}).message,
              QString::fromUtf8("El RUC de la Empresa ya se registró."));
    EXPECT_EQ(rows(), 1);
}

TEST_F(CompaniesTest, PercentageNotAskedForOtherTypes)
{
    CompanyForm f = form("1");
    fill(f, kCompanyB, "700000");
    EXPECT_FALSE(f.accept());
    EXPECT_EQ(stored(kCompanyB, "porc_part"), "");
    EXPECT_EQ(stored(kCompanyB, "mto_imp_pag"), "0");
}

TEST_F(CompaniesTest, ModifyModeShowsTheStoredRow)
{
    db_.execute(QStringLiteral(
                    "INSERT INTO TMPF731EMPRESAS (num_doc_emp, des_razon, mto_activos, porc_part, "
                    "mto_adic, mto_deduc, mto_base_imp, mto_imp_pag) VALUES ('%1', 'UNO SA', "
                    "'2500000', '50.00', '0', '', '2400000', '1234')")
                    .arg(kCompanyA));
    CompanyForm f = form("3", "2009", "1", kCompanyA);
    EXPECT_FALSE(f.enabled(F::Ruc));
    EXPECT_TRUE(f.enabled(F::Razon));
    EXPECT_TRUE(f.load().empty());
    EXPECT_FALSE(f.modified());
    EXPECT_EQ(f.text(F::Ruc), kCompanyA);
    EXPECT_EQ(f.text(F::Razon), "UNO SA");
    EXPECT_EQ(f.text(F::Activos), "2,500,000");
    EXPECT_EQ(f.text(F::Porcentaje), "50.00");
    EXPECT_EQ(f.text(F::Adiciones), "0");
    // The stored base and tax, not the 2,500,000 and 3,000 computed on the way.
    EXPECT_EQ(f.text(F::Base), "2,400,000");
    EXPECT_EQ(f.text(F::Impuesto), "1,234");
    // Changing a field recomputes, and the same row is updated.
    f.setText(F::Razon, "UNO SAC");
    f.setText(F::Adiciones, "500000");
    EXPECT_EQ(f.text(F::Impuesto), "4,000"); // (3,000,000 - 1,000,000) x 0.004 x 50%
    EXPECT_FALSE(f.accept());
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(stored(kCompanyA, "des_razon"), "UNO SAC");
    EXPECT_EQ(stored(kCompanyA, "mto_imp_pag"), "4000");
}

TEST_F(CompaniesTest, LabelsVisibilityAndReadOnly)
{
    EXPECT_EQ(form("1", "2005").netAssetsLabel(), "Activos Netos ajustados al 31/12/2004 :");
    EXPECT_EQ(form("3", "2009").netAssetsLabel(),
              QString::fromUtf8("Activos Netos al 31/12/2008 transferidos por la escisión :"));
    EXPECT_EQ(
        form("4", "2005").netAssetsLabel(),
        QString::fromUtf8("Activos Netos ajustados al 31/12/2004 transferidos por la escisión :"));
    EXPECT_THROW(form("1", "20x9").netAssetsLabel(), DbError);
    EXPECT_FALSE(form("1").percentageVisible());
    EXPECT_TRUE(form("3").percentageVisible());
    EXPECT_TRUE(form("4").percentageVisible());

    CompanyForm sent(db_, {"1", kDeclarant, "2009", "3", kCompanyA, true});
    EXPECT_TRUE(sent.readOnly());
    for (F field : {F::Ruc, F::Razon, F::Activos, F::Porcentaje, F::Adiciones, F::Deducciones}) {
        EXPECT_FALSE(sent.enabled(field));
    }
    sent.filterKey(F::Razon, 'A', "", 0);
    EXPECT_FALSE(sent.asksBeforeLeaving());
    CompanyForm open = form("3");
    EXPECT_FALSE(open.asksBeforeLeaving());
    open.filterKey(F::Razon, 'A', "", 0);
    EXPECT_TRUE(open.asksBeforeLeaving());
}

TEST_F(CompaniesTest, TotalsCountAndBox115)
{
    CompanyTotals t = companyTotals(db_);
    EXPECT_EQ(t.count, 0);
    EXPECT_EQ(t.countCaption, "0   Registros      ");
    EXPECT_EQ(t.totalBase, "");

    CompanyForm a = form("1");
    fill(a, kCompanyA, "2500000"); // tax 6,000
    ASSERT_FALSE(a.accept());
    CompanyForm b = form("1");
    fill(b, kCompanyB, "1,250,000"); // tax 1,000
    ASSERT_FALSE(b.accept());
    t = companyTotals(db_);
    EXPECT_EQ(t.totalBase, "3,750,000");
    EXPECT_EQ(t.totalImpuesto, "7,000");
    EXPECT_EQ(t.box115, "7,000");
    EXPECT_EQ(t.count, 2);
    EXPECT_EQ(t.countCaption, "2   Registros      ");
    const QueryResult list = companyListRows(db_);
    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.columns().size(), companyColumnCaptions().size());
    EXPECT_EQ(list.at(0, 7).toText(), "6000");

    // Fractions are added exactly before the total is rounded; text that is no number adds 0.
    db_.execute("INSERT INTO TMPF731EMPRESAS (num_doc_emp, mto_base_imp, mto_imp_pag) "
                "VALUES ('1', '0.25', '0.25'), ('2', '0.25', '0.25'), ('3', 'x', 'x')");
    t = companyTotals(db_);
    EXPECT_EQ(t.totalImpuesto, "7,001"); // 7,000.5 rounds up
    EXPECT_EQ(t.count, 5);

    ScriptedMessenger m;
    EXPECT_FALSE(confirmDeleteCompany(db_, m, "731 Vexilar", kCompanyA)); // answered No
    ASSERT_EQ(m.shown.size(), 1u);
    EXPECT_EQ(m.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(m.shown[0].title, "731 Vexilar");
    EXPECT_EQ(m.shown[0].text, QString::fromUtf8("¿Confirma que va a eliminar la información?"));
    EXPECT_EQ(companyTotals(db_).count, 5);
    EXPECT_FALSE(confirmDeleteCompany(db_, m, "731 Vexilar", "")); // empty list: nothing asked
    EXPECT_EQ(m.shown.size(), 1u);

    m.answer = MessageAnswer::Yes;
    for (const QString &ruc :
         {kCompanyA, QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}) {
        EXPECT_TRUE(confirmDeleteCompany(db_, m, "731 Vexilar", ruc));
    }
    t = companyTotals(db_);
    EXPECT_EQ(t.totalImpuesto, "1,000");
    EXPECT_EQ(t.box115, "1,000");
    // Deleting the last company empties both totals and box 115.
    EXPECT_EQ(deleteCompany(db_, kCompanyB), 1);
    t = companyTotals(db_);
    EXPECT_EQ(t.totalBase, "");
    EXPECT_EQ(t.totalImpuesto, "");
    EXPECT_EQ(t.box115, "");
    EXPECT_EQ(t.countCaption, "0   Registros      ");
    EXPECT_EQ(deleteCompany(db_, "O'Brien"), 0); // a quote cannot break the statement
}

TEST_F(CompaniesTest, ZeroTaxTotalShowsEmpty)
{
    CompanyForm f = form("1");
    fill(f, kCompanyA, "900000");
    ASSERT_FALSE(f.accept());
    const CompanyTotals t = companyTotals(db_);
    EXPECT_EQ(t.totalBase, "900,000");
    EXPECT_EQ(t.totalImpuesto, "");
    EXPECT_EQ(t.box115, "");
    EXPECT_EQ(t.count, 1);
}

TEST(CompanyList, CellsAsShown)
{
    EXPECT_EQ(companyCellText(0, Value(QStringLiteral("20100079705"))), "20100079705");
    EXPECT_EQ(companyCellText(1, Value(QStringLiteral("UNO SA"))), "UNO SA");
    EXPECT_EQ(companyCellText(2, Value(QStringLiteral("2500000"))), "2,500,000");
    EXPECT_EQ(companyCellText(3, Value(QStringLiteral("40"))), "40.00");
    EXPECT_EQ(companyCellText(7, Value(QStringLiteral("0"))), "0");
    EXPECT_EQ(companyCellText(6, Value(QString())), "");
    EXPECT_FALSE(companyColumnIsNumber(1));
    EXPECT_TRUE(companyColumnIsNumber(2));
}

} // namespace
} // namespace qz
