// The declaration window's commands on the offscreen platform: the gate on leaving the
// identification, "&Validar" with its list, "&Grabar", "&Salir" with its question.
#include "core/data/clock.h"
#include "gui/declaration/frm731.h"
#include "gui/declaration/frmanexo105.h"
#include "gui/validation/frmageper.h"
#include "gui/validation/frmconsist.h"
#include "gui/widgets/boxedit.h"
#include "support/declarationwindow.h"

#include <QTableWidget>
#include <QTextBlock>
#include <QTextDocument>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace qz {
namespace {

using test::ScriptedMessenger;

class CommandsTest : public test::DeclarationWindowTest {
protected:
    CommandsTest() { answerRectifica_ = false; } // the gate's first stop is this answer
};

TEST_F(CommandsTest, GateKeepsTheUserOnTheIdentification)
{
    auto f = newDeclaration();
    messages_.shown.clear();
    f->tabs()->setCurrentIndex(2);
    EXPECT_EQ(f->tabs()->currentIndex(), 0);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(
        messages_.shown[0].text,
        QString::fromUtf8("Indique si la presente declaración rectifica o sustituye a otra."));
    f->answerGroup(Answer::Rectifica)->button(0)->click();
    f->tabs()->setCurrentIndex(2);
    EXPECT_EQ(f->tabs()->currentIndex(), 2);
}

TEST_F(CommandsTest, ValidarListsWhatIsMissing)
{
    auto f = newDeclaration();
    f->answerGroup(Answer::Rectifica)->button(0)->click();
    QString listed;
    QTimer::singleShot(0, [&] {
        auto *list = qobject_cast<FrmConsist *>(QApplication::activeModalWidget());
        ASSERT_TRUE(list);
        listed = list->text()->toPlainText();
        // Double-clicking the line about box 180 goes to that box.
        QTextDocument *doc = list->text()->document();
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            if (b.text().contains("casilla 180")) {
                const QRect r = list->text()->cursorRect(QTextCursor(b));
                QTest::mouseDClick(list->text()->viewport(), Qt::LeftButton, {}, r.center());
                return;
            }
        }
        list->findChild<QPushButton *>("cmdAceptar")->click();
    });
    f->validarButton()->click();
    EXPECT_TRUE(listed.contains(QString::fromUtf8("Ingrese el importe a pagar (casilla 180)")))
        << listed.toStdString();
    EXPECT_EQ(f->saveState(), 2);
    EXPECT_EQ(f->tabs()->currentIndex(), 3);
}

TEST_F(CommandsTest, GrabarStoresAndSalirAsksFirst)
{
    auto f = newDeclaration();
    complete(*f);
    messages_.shown.clear();
    ASSERT_TRUE(f->CmdGrabar_Click());
    EXPECT_EQ(db_.scalar("SELECT estado FROM CAB").toInt(), 0);
    EXPECT_EQ(db_.scalar("SELECT i_valor FROM DET WHERE Casilla='101'").toText(), "2500000");
    EXPECT_FALSE(f->model().algunCambio());
    EXPECT_EQ(f->saveState(), 1);

    // A change, then "&Salir" answered Yes: saved again before the window closes.
    f->tabs()->setCurrentIndex(2);
    f->boxEdit(104)->setFocus();
    QTest::keyClicks(f->boxEdit(104), "500");
    messages_.answer = MessageAnswer::Yes;
    messages_.shown.clear();
    f->salirButton()->click();
    ASSERT_FALSE(messages_.shown.empty());
    EXPECT_EQ(messages_.shown[0].text,
              QString::fromUtf8("¿La declaración ha sido modificada, desea guardar los cambios?"));
    EXPECT_EQ(db_.scalar("SELECT i_valor FROM DET WHERE Casilla='104'").toText(), "500");
    EXPECT_FALSE(f->isVisible());
}

TEST_F(CommandsTest, AFailedSaveKeepsTheWindowOpen)
{
    auto f = newDeclaration();
    complete(*f);
    failSavesAtBox180();
    messages_.answer = MessageAnswer::Yes;
    f->salirButton()->click();
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(db_.scalar("SELECT count(*) FROM CAB").toInt(), 0);
    EXPECT_TRUE(messages_.shown.back().text.contains("sin espacio"))
        << messages_.shown.back().text.toStdString();
    EXPECT_EQ(f->boxEdit(101)->text(), "2,500,000");
}

TEST_F(CommandsTest, Box105OpensItsAssistant)
{
    auto f = newDeclaration();
    f->answerGroup(Answer::Rectifica)->button(0)->click();
    f->tabs()->setCurrentIndex(2);
    bool opened = false;
    QTimer::singleShot(50, [&] {
        auto *a = qobject_cast<FrmAnexo105 *>(QApplication::activeModalWidget());
        ASSERT_TRUE(a);
        opened = true;
        QTest::keyClicks(a->amountEdit(0), "1000");
        QTest::keyClicks(a->amountEdit(10), "500");
        a->aceptarButton()->click();
    });
    QTest::keyClick(f->boxEdit(105), Qt::Key_7);
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened; }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return f->boxEdit(105)->text() == "(1,500)"; }))
        << f->boxEdit(105)->text().toStdString();
    EXPECT_EQ(db_.scalar("SELECT i_valor FROM DET WHERE Casilla='546'").toText(), "1000");
    EXPECT_EQ(db_.scalar("SELECT cNumero FROM CAB").toText(), "0"); // the provisional header
}

TEST_F(CommandsTest, CompaniesComeFromTheirDialog)
{
    auto f = newDeclaration();
    f->answerGroup(Answer::Rectifica)->button(0)->click();
    f->answerGroup(Answer::Reorg)->button(1)->click();
    f->model().chooseReorgType(0);
    f->tabs()->setCurrentIndex(1);
    QTimer::singleShot(0, [&] {
        auto *d = qobject_cast<FrmAgePer *>(QApplication::activeModalWidget());
        ASSERT_TRUE(d);
        QTest::keyClicks(d->edit(CompanyField::Ruc), "20100079705");
        QTest::keyClicks(d->edit(CompanyField::Razon), "EMPRESA UNO");
        QTest::keyClicks(d->edit(CompanyField::Activos), "3000000");
        d->aceptarButton()->click();
    });
    f->findChild<QPushButton *>("CmdOpciones_0")->click();
    ASSERT_EQ(f->companyList()->rowCount(), 1);
    // (3,000,000 - 1,000,000) x 0.004 = 8,000 for the scale of 2009, into box 115.
    EXPECT_EQ(f->boxEdit(115)->text(), "8,000");
    f->companyList()->setCurrentCell(0, 0);
    messages_.answer = MessageAnswer::Yes;
    f->findChild<QPushButton *>("CmdOpciones_2")->click();
    EXPECT_EQ(f->companyList()->rowCount(), 0);
    EXPECT_EQ(f->boxEdit(115)->text(), "");
}

} // namespace
} // namespace qz
