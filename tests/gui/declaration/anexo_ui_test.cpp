// The two assistant windows on the offscreen platform: typing with QTest, the editing formats,
// the total and the ratio, the messages, the accept and its error, the read-only sent view
// and the two entry functions the declaration window calls.
#include "core/data/sqltext.h"
#include "gui/declaration/frmanexo105.h"
#include "gui/declaration/frmanexo110.h"
#include "gui/widgets/boxedit.h"
#include "support/failingwrites.h"
#include "support/moduleinstall.h"
#include "support/scriptedmessenger.h"
#include "support/storeddeclaration.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "support/whenmodal.h"

#include <functional>
#include <memory>

namespace qz {
namespace {

using test::whenModal;

void typeInto(QLineEdit *edit, const QString &keys)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, keys);
}

class AnexoUiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst_.ok()) << inst_.message().toStdString();
        ruc_ = test::demoRuc(db_, "COMERCIAL ANDINA S.A.");
    }
    std::unique_ptr<FrmAnexo105> open105(bool historico = false)
    {
        auto w = std::make_unique<FrmAnexo105>(db_, messages_);
        w->sRuc = ruc_;
        w->iAccion = 1;
        w->bHistorico = historico;
        w->sCorrel = "0001";
        w->periodo = "2007";
        EXPECT_TRUE(w->load());
        w->show();
        QApplication::setActiveWindow(w.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return w;
    }
    QString storedValue(const char *casilla)
    {
        return db_
            .scalar("SELECT i_valor FROM DET WHERE doc_id_d=" + sqlQuoted(ruc_) +
                    " AND periodo='2007' AND Casilla='" + casilla + "'")
            .toText();
    }

    test::ModuleInstall inst_;
    Database &db_ = inst_.db();
    test::ScriptedMessenger messages_;
    QString ruc_;
};

TEST_F(AnexoUiTest, Box105TypingFormatsTotalsAndAccepts)
{
    auto w = open105();
    EXPECT_EQ(w->objectName(), "FrmAnexo105");
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("Asistente de Cálculo de Casilla 105"));
    EXPECT_EQ(QApplication::focusWidget(), w->amountEdit(0)); // the first amount to start
    EXPECT_TRUE(w->totalEdit()->isReadOnly());

    QTest::keyClicks(w->amountEdit(0), "1a-0,0. 0");
    EXPECT_EQ(w->amountEdit(0)->text(), "1000"); // only digits pass
    EXPECT_EQ(w->totalEdit()->text(), "1,000");
    QTest::keyClick(w->amountEdit(0), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w->amountEdit(1)); // Enter moves on
    EXPECT_EQ(w->amountEdit(0)->text(), "1,000");
    w->amountEdit(0)->setFocus();
    EXPECT_EQ(w->amountEdit(0)->text(), "1000");
    EXPECT_EQ(w->amountEdit(0)->maxLength(), 11);

    typeInto(w->amountEdit(10), "123456789012");
    EXPECT_EQ(w->amountEdit(10)->text(), "12345678901"); // eleven digits while edited
    typeInto(w->amountEdit(10), "500");
    EXPECT_EQ(w->totalEdit()->text(), "1,500");

    QApplication::clipboard()->setText("999");
    QTest::keyClick(w->amountEdit(10), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(w->amountEdit(10)->text(), "500");
    EXPECT_EQ(QApplication::clipboard()->text(), "");
    QApplication::clipboard()->setText("888");
    QTest::mouseClick(w->totalEdit(), Qt::RightButton);
    EXPECT_EQ(QApplication::clipboard()->text(), "");

    QTest::mouseClick(w->aceptarButton(), Qt::LeftButton);
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(w->dTotal, 1500);
    EXPECT_EQ(storedValue("546"), "1000");
    EXPECT_EQ(storedValue("556"), "500");
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(AnexoUiTest, Box105AmountOverTheLimitIsRemoved)
{
    auto w = open105();
    for (int i = 0; i < 10; ++i) {
        w->amountEdit(i)->setText("99999999999");
    }
    EXPECT_EQ(w->totalEdit()->text(), "999,999,999,990");
    typeInto(w->amountEdit(10), "10");
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(messages_.shown[0].title, QString::fromUtf8(FrmAnexo105::kCaption));
    EXPECT_EQ(messages_.shown[0].text, "Verificar los Montos Ingresados.");
    EXPECT_EQ(w->amountEdit(10)->text(), "");
    EXPECT_EQ(QApplication::focusWidget(), w->amountEdit(10));
    EXPECT_EQ(w->totalEdit()->text(), "999,999,999,990");
}

TEST_F(AnexoUiTest, Box105SentDeclarationIsReadOnly)
{
    db_.execute("INSERT INTO HDET (tip_doc_d, doc_id_d, periodo, formulario, semana, CORREL, "
                "Casilla, i_valor) VALUES (6, " +
                sqlQuoted(ruc_) + ", '2007', '0731', 0, '0001', '550', '2500')");
    auto w = open105(true);
    EXPECT_FALSE(w->aceptarButton()->isVisibleTo(w.get()));
    EXPECT_TRUE(w->cancelarButton()->isVisibleTo(w.get()));
    EXPECT_EQ(w->totalEdit()->text(), "2,500");
    for (int i = 0; i < Anexo105::kFields; ++i) {
        EXPECT_TRUE(w->amountEdit(i)->isReadOnly());
    }
    typeInto(w->amountEdit(4), "7");
    EXPECT_EQ(w->amountEdit(4)->text(), "2500"); // shown plain while focused, not edited
    EXPECT_EQ(w->totalEdit()->text(), "2,500");
}

TEST_F(AnexoUiTest, Box105FailedAcceptIsShownAndTheWindowStays)
{
    test::StoredDeclaration(db_, ruc_, "2007").box("546", "300");
    test::failWrites(db_, "fail546", "DET", "INSERT", "NEW.Casilla='546'", "disco lleno");
    auto w = open105();
    EXPECT_EQ(w->amountEdit(0)->text(), "300");
    typeInto(w->amountEdit(0), "400");
    QTest::mouseClick(w->aceptarButton(), Qt::LeftButton);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(messages_.shown[0].text.contains(u'\n'));
    EXPECT_TRUE(messages_.shown[0].text.contains("disco lleno"));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->dTotal, 0);
    EXPECT_EQ(storedValue("546"), "300");
}

TEST_F(AnexoUiTest, Box105EntryFunctionReturnsTheTotal)
{
    test::StoredDeclaration(db_, ruc_, "2007").box("551", "40");
    whenModal<FrmAnexo105>([](FrmAnexo105 &w) {
        w.amountEdit(0)->setText("60");
        w.aceptarButton()->click();
    });
    EXPECT_EQ(openFrmAnexo105(nullptr, db_, messages_, ruc_, 0, false, {}, "2007", "0731"), 100);
    EXPECT_EQ(storedValue("546"), "60");
    EXPECT_EQ(db_.scalar("SELECT cNumero FROM CAB WHERE doc_id_d=" + sqlQuoted(ruc_)).toText(),
              "0");

    whenModal<FrmAnexo105>([](FrmAnexo105 &w) {
        w.amountEdit(0)->setText("5");
        w.cancelarButton()->click();
    });
    EXPECT_EQ(openFrmAnexo105(nullptr, db_, messages_, ruc_, 1, false, {}, "2007", "0731"), 0);
    EXPECT_EQ(storedValue("546"), "60"); // nothing written
}

TEST_F(AnexoUiTest, Box110RatioAcceptAndCancel)
{
    QString det = "360", net = "1000";
    whenModal<FrmAnexo110>([](FrmAnexo110 &w) {
        EXPECT_EQ(w.objectName(), "FrmAnexo110");
        EXPECT_EQ(w.windowTitle(), QString::fromUtf8("Asistente de Cálculo de Casilla 110"));
        EXPECT_EQ(w.fieldEdit(1)->text(), "1,000");
        EXPECT_EQ(w.fieldEdit(2)->text(), "0.3600");
        EXPECT_TRUE(w.fieldEdit(2)->isReadOnly());
        w.fieldEdit(1)->setFocus();
        EXPECT_EQ(w.fieldEdit(1)->text(), "1000"); // plain while edited
        typeInto(w.fieldEdit(0), "4a00000");
        typeInto(w.fieldEdit(1), "1000000");
        QTest::keyClick(w.fieldEdit(1), Qt::Key_Return);
        EXPECT_EQ(w.fieldEdit(2)->text(), "0.40");
        w.cancelarButton()->click();
    });
    EXPECT_DOUBLE_EQ(openFrmAnexo110(nullptr, messages_, "0.36", det, net), 0.36);
    EXPECT_EQ(det, "360"); // a cancel keeps the shared amounts
    EXPECT_EQ(net, "1000");

    whenModal<FrmAnexo110>([](FrmAnexo110 &w) {
        EXPECT_EQ(w.fieldEdit(2)->text(), "0");
        typeInto(w.fieldEdit(0), "400000");
        typeInto(w.fieldEdit(1), "1000000");
        EXPECT_EQ(w.fieldEdit(2)->text(), "0.40");
        w.aceptarButton()->click();
    });
    EXPECT_DOUBLE_EQ(openFrmAnexo110(nullptr, messages_, "", det, net), 0.4);
    EXPECT_EQ(det, "400000");
    EXPECT_EQ(net, "1000000");
}

} // namespace
} // namespace qz
