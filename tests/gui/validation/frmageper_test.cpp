// The company dialog on the offscreen platform: its fields and placement, typing with
// filters, Enter and focus formats, paste blocking, the refusals, "&Aceptar" and "&Salir",
// the read-only and modify modes, and the modal entry function.
#include "core/components/textutility.h"
#include "core/components/windowgeometry.h"
#include "gui/validation/frmageper.h"
#include "support/companytable.h"
#include "support/moduleinstall.h"
#include "support/scriptedmessenger.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace qz {
namespace {

using F = CompanyField;
using test::kCompanyA;
using test::kDeclarant;
using test::ScriptedMessenger;

class FrmAgePerTest : public test::CompanyTableTest {
protected:
    std::unique_ptr<FrmAgePer> open(const QString &type, const QString &mode = "0",
                                    bool readOnly = false)
    {
        const CompanyFormContext ctx{mode, kDeclarant, "2009", type, kCompanyA, readOnly};
        auto d = std::make_unique<FrmAgePer>(db_, messages_, ctx);
        d->load();
        d->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(d.get()));
        QApplication::setActiveWindow(d.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(d.get()));
        return d;
    }
    static void type(FrmAgePer &d, F field, const QString &keys)
    {
        d.edit(field)->setFocus();
        QTest::keyClicks(d.edit(field), keys);
    }
    static void enter(FrmAgePer &d, F field) { QTest::keyClick(d.edit(field), Qt::Key_Return); }
    void storeCompanyA()
    {
        db_.execute(QStringLiteral("INSERT INTO TMPF731EMPRESAS (num_doc_emp, des_razon, "
                                   "mto_activos, porc_part, mto_base_imp, mto_imp_pag) VALUES "
                                   "('%1', 'UNO SA', '2500000', '40.00', '2500000', '2400')")
                        .arg(kCompanyA));
    }

    ScriptedMessenger messages_;
};

TEST_F(FrmAgePerTest, FieldsLabelsAndPlacement)
{
    auto d = open("3");
    EXPECT_EQ(d->objectName(), "FrmAgePer");
    EXPECT_EQ(d->windowTitle(), "Detalle de Sociedades");
    const auto *frame = d->findChild<QGroupBox *>();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), "Datos de las Empresas");
    EXPECT_EQ(d->netAssetsLabel()->text(),
              QString::fromUtf8("Activos Netos al 31/12/2008 transferidos por la escisión :"));
    EXPECT_TRUE(d->percentageLabel()->isVisible());
    EXPECT_EQ(d->percentageLabel()->text(), QString::fromUtf8("Porc. Participación :"));
    EXPECT_EQ(d->edit(F::Ruc)->maxLength(), 11);
    EXPECT_EQ(d->edit(F::Razon)->maxLength(), 40);
    EXPECT_TRUE(d->edit(F::Base)->isReadOnly());
    EXPECT_TRUE(d->edit(F::Impuesto)->isReadOnly());
    EXPECT_TRUE(d->edit(F::Ruc)->isEnabled());
    EXPECT_EQ(d->aceptarButton()->text(), "&Aceptar");
    EXPECT_EQ(d->salirButton()->text(), "&Salir");
    const double dpiX = d->screen()->logicalDotsPerInchX();
    const double dpiY = d->screen()->logicalDotsPerInchY();
    EXPECT_EQ(d->pos(), QPoint(twipsToPixels(1000, dpiX), twipsToPixels(300, dpiY)));
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(FrmAgePerTest, TypingFiltersFormatsAndMovesOnWithEnter)
{
    auto d = open("3");
    type(*d, F::Ruc, "2a0-" + kCompanyA.mid(2) + "9"); // a twelfth digit is past the limit
    EXPECT_EQ(d->edit(F::Ruc)->text(), kCompanyA);
    enter(*d, F::Ruc);
    EXPECT_EQ(QApplication::focusWidget(), d->edit(F::Razon));
    QTest::keyClicks(d->edit(F::Razon), "acme s.a.");
    EXPECT_EQ(d->edit(F::Razon)->text(), "ACME SA");
    enter(*d, F::Razon);
    EXPECT_EQ(QApplication::focusWidget(), d->edit(F::Activos));
    QTest::keyClicks(d->edit(F::Activos), "25x00,000");
    EXPECT_EQ(d->edit(F::Activos)->text(), "2500000");
    EXPECT_EQ(d->edit(F::Base)->text(), "2,500,000");
    EXPECT_EQ(d->edit(F::Impuesto)->text(), "0"); // type 3 without a percentage yet
    enter(*d, F::Activos);
    EXPECT_EQ(QApplication::focusWidget(), d->edit(F::Porcentaje));
    EXPECT_EQ(d->edit(F::Activos)->text(), "2,500,000");
    QTest::keyClicks(d->edit(F::Porcentaje), "50.5.5");
    EXPECT_EQ(d->edit(F::Porcentaje)->text(), "50.55");
    // (2,500,000 - 1,000,000) x 0.004 = 6,000, of which 50.55% is 3,033.
    EXPECT_EQ(d->edit(F::Impuesto)->text(), "3,033");
    enter(*d, F::Porcentaje);
    EXPECT_EQ(QApplication::focusWidget(), d->edit(F::Adiciones));
    QTest::keyClicks(d->edit(F::Adiciones), "500000");
    enter(*d, F::Adiciones);
    EXPECT_EQ(d->edit(F::Adiciones)->text(), "500,000");
    EXPECT_EQ(d->edit(F::Impuesto)->text(), "4,044"); // 2,000,000 x 0.004 x 50.55%
    // Coming back shows the plain number for editing.
    d->edit(F::Activos)->setFocus();
    EXPECT_EQ(d->edit(F::Activos)->text(), "2500000");

    d->aceptarButton()->click();
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_TRUE(d->stored());
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(db_.scalar("SELECT mto_imp_pag FROM TMPF731EMPRESAS").toText(), "4044");
    EXPECT_EQ(db_.scalar("SELECT porc_part FROM TMPF731EMPRESAS").toText(), "50.55");
}

TEST_F(FrmAgePerTest, PastingIsBlocked)
{
    auto d = open("3");
    type(*d, F::Activos, "12");
    for (F field : {F::Activos, F::Porcentaje}) {
        QApplication::clipboard()->setText("999");
        d->edit(field)->setFocus();
        QTest::keyClick(d->edit(field), Qt::Key_Insert, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), "");
    }
    QApplication::clipboard()->setText("888");
    QTest::mouseClick(d->edit(F::Razon), Qt::RightButton);
    EXPECT_EQ(QApplication::clipboard()->text(), "");
    QApplication::clipboard()->setText("777");
    QTest::keyClick(d->edit(F::Activos), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(d->edit(F::Activos)->text(), "12");
    EXPECT_EQ(d->edit(F::Porcentaje)->text(), "");
    EXPECT_EQ(d->edit(F::Razon)->text(), "");
}

TEST_F(FrmAgePerTest, RefusalsKeepTheDialogOpen)
{
    storeCompanyA();
    auto d = open("1");
    // A RUC of fewer than 11 digits is checked only on "&Aceptar".
    type(*d, F::Ruc, "2060000");
    type(*d, F::Razon, "DOS SA");
    type(*d, F::Activos, "100");
    EXPECT_TRUE(messages_.shown.empty());
    d->aceptarButton()->click();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(messages_.shown[0].title, "Detalle de Sociedades");
    EXPECT_EQ(messages_.shown[0].text, QString::fromUtf8("El RUC no es Válido."));
    EXPECT_EQ(QApplication::focusWidget(), d->edit(F::Ruc));
    EXPECT_TRUE(d->isVisible());

    // A RUC already in the list is refused as soon as it is complete.
    d->edit(F::Ruc)->clear();
    QTest::keyClicks(d->edit(F::Ruc), kCompanyA);
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[1].text, QString::fromUtf8("El RUC de la Empresa ya se registró."));
    EXPECT_EQ(QApplication::focusWidget(), d->edit(F::Ruc));
    d->aceptarButton()->click();
    ASSERT_EQ(messages_.shown.size(), 3u);
    EXPECT_EQ(messages_.shown[2].text, QString::fromUtf8("El RUC de la Empresa ya se registró."));
    EXPECT_FALSE(d->stored());
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(rows(), 1);
}

TEST_F(FrmAgePerTest, SalirAsksOnlyAfterChanges)
{
    auto untouched = open("1");
    untouched->salirButton()->click();
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_FALSE(untouched->isVisible());

    // Yes on invalid data: the refusal is shown and the dialog still closes, storing nothing.
    auto invalid = open("1");
    type(*invalid, F::Ruc, "123");
    messages_.answer = MessageAnswer::Yes;
    invalid->salirButton()->click();
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(messages_.shown[0].text,
              QString::fromUtf8("La información ha sido modificada. ¿Desea guardar los cambios?"));
    EXPECT_EQ(messages_.shown[1].text, QString::fromUtf8("El RUC no es Válido."));
    EXPECT_FALSE(invalid->isVisible());
    EXPECT_FALSE(invalid->stored());
    EXPECT_EQ(rows(), 0);

    // Yes on valid data stores.
    auto valid = open("1");
    type(*valid, F::Ruc, kCompanyA);
    type(*valid, F::Razon, "UNO");
    type(*valid, F::Activos, "5");
    valid->salirButton()->click();
    EXPECT_TRUE(valid->stored());
    EXPECT_EQ(rows(), 1);
}

TEST_F(FrmAgePerTest, CloseBoxAndEscapeLeaveAsSalirDoes)
{
    for (const bool byEscape : {false, true}) {
        auto d = open("1");
        type(*d, F::Ruc, kCompanyA);
        type(*d, F::Razon, "UNO");
        type(*d, F::Activos, "5");
        messages_.shown.clear();
        messages_.answer = MessageAnswer::Yes;
        if (byEscape) {
            QTest::keyClick(d->edit(F::Activos), Qt::Key_Escape);
        } else {
            d->close();
        }
        ASSERT_EQ(messages_.shown.size(), 1u) << byEscape;
        EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Question);
        EXPECT_FALSE(d->isVisible());
        EXPECT_TRUE(d->stored()) << byEscape;
        db_.execute(QStringLiteral("DELETE * FROM TMPF731EMPRESAS"));
    }
}

TEST_F(FrmAgePerTest, ModifyAndReadOnlyModes)
{
    storeCompanyA();
    auto modify = open("4", "1");
    EXPECT_FALSE(modify->edit(F::Ruc)->isEnabled());
    EXPECT_EQ(modify->edit(F::Ruc)->text(), kCompanyA);
    EXPECT_EQ(modify->edit(F::Razon)->text(), "UNO SA");
    EXPECT_EQ(modify->edit(F::Razon)->maxLength(), 50);
    EXPECT_EQ(modify->edit(F::Activos)->text(), "2,500,000");
    EXPECT_EQ(modify->edit(F::Porcentaje)->text(), "40.00");
    EXPECT_EQ(modify->edit(F::Impuesto)->text(), "2,400"); // as stored
    EXPECT_TRUE(messages_.shown.empty());
    type(*modify, F::Activos, "0"); // 25,000,000 for type 4: the whole tax
    EXPECT_EQ(modify->edit(F::Impuesto)->text(), "96,000");
    modify->aceptarButton()->click();
    EXPECT_TRUE(modify->stored());
    EXPECT_EQ(db_.scalar("SELECT mto_imp_pag FROM TMPF731EMPRESAS").toText(), "96000");
    EXPECT_EQ(rows(), 1);

    auto sent = open("4", "1", true);
    for (F field : {F::Ruc, F::Razon, F::Activos, F::Porcentaje, F::Adiciones, F::Deducciones,
                    F::Base, F::Impuesto}) {
        EXPECT_FALSE(sent->edit(field)->isEnabled());
    }
    EXPECT_FALSE(sent->aceptarButton()->isVisible());
    sent->salirButton()->click();
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_FALSE(sent->isVisible());
}

TEST_F(FrmAgePerTest, PercentageOnlyForSpinOffs)
{
    auto d = open("1");
    EXPECT_FALSE(d->percentageLabel()->isVisible());
    EXPECT_FALSE(d->edit(F::Porcentaje)->isVisible());
    EXPECT_EQ(d->netAssetsLabel()->text(), "Activos Netos al 31/12/2008 :");
    type(*d, F::Activos, "1");
    enter(*d, F::Activos);
    EXPECT_EQ(QApplication::focusWidget(), d->edit(F::Adiciones));
}

TEST_F(FrmAgePerTest, OpenedModallyReportsTheStore)
{
    QTimer::singleShot(0, [] {
        auto *d = qobject_cast<FrmAgePer *>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->edit(F::Ruc)->setText(kCompanyA);
        d->edit(F::Razon)->setText("UNO");
        d->edit(F::Activos)->setText("1500000");
        d->aceptarButton()->click();
    });
    const CompanyFormContext ctx{"0", kDeclarant, "2009", "2", {}, false};
    EXPECT_TRUE(openFrmAgePer(nullptr, db_, messages_, ctx));
    EXPECT_EQ(db_.scalar("SELECT mto_imp_pag FROM TMPF731EMPRESAS").toText(), "2000");

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_FALSE(openFrmAgePer(nullptr, db_, messages_, ctx));
}

} // namespace
} // namespace qz
