// The declaration window on the offscreen platform: typing into boxes with QTest, formats,
// filters, Enter, the clipboard, help lines, page rules, loading a stored declaration.
#include "core/data/clock.h"
#include "gui/declaration/frm731.h"
#include "gui/widgets/boxedit.h"
#include "gui/widgets/statusbar.h"
#include "support/declarationwindow.h"
#include "support/storeddeclaration.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace qz {
namespace {

using test::ScriptedMessenger;

class Frm731Test : public test::DeclarationWindowTest {};

TEST_F(Frm731Test, PagesAndRows)
{
    auto f = open(0);
    f->load();
    EXPECT_EQ(f->windowTitle(), "731 Vexilar");
    QStringList tabs;
    for (int i = 0; i < f->tabs()->count(); ++i) {
        tabs << f->tabs()->tabText(i);
    }
    EXPECT_EQ(tabs, QStringList({QString::fromUtf8("&Identificación"),
                                 QString::fromUtf8("Reorganización de Sociedades"),
                                 QString::fromUtf8("Determinación Base Imponible"),
                                 QString::fromUtf8("Determinación de la De&uda"),
                                 QString::fromUtf8("Información C&omplementaria")}));
    EXPECT_FALSE(f->tabs()->isTabEnabled(1));
    EXPECT_FALSE(f->boxEdit(110)->isVisibleTo(f.get()));
    EXPECT_TRUE(f->boxEdit(108)->isReadOnly());
    EXPECT_EQ(f->helpTopic(), 1022);
    EXPECT_GT(f->taxpayerList()->count(), 0);
    f->show();
    QApplication::setActiveWindow(f.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.get()));
    EXPECT_EQ(QApplication::focusWidget(), f->taxpayerList()); // a new declaration starts there
}

TEST_F(Frm731Test, TypingRunsTheChainAndFormats)
{
    auto f = newDeclaration("2009");
    EXPECT_EQ(f->model().sPeriodo(), "2009");
    EXPECT_EQ(bar_.period(), "2009");
    type(*f, 101, "25a-,00000");
    EXPECT_EQ(f->boxEdit(101)->text(), "2500000"); // letters, minus and comma refused
    QTest::keyClick(f->boxEdit(101), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), f->boxEdit(104)); // Enter moves on
    EXPECT_EQ(f->boxEdit(101)->text(), "2,500,000");
    // (2,500,000 - 1,000,000) x 0.004 = 6,000 for the scale of 2009.
    EXPECT_EQ(f->boxEdit(114)->text(), "6,000");
    EXPECT_EQ(f->boxEdit(139)->text(), "6,000");
    EXPECT_TRUE(f->model().algunCambio());

    type(*f, 160, "3a2");
    EXPECT_EQ(f->boxEdit(160)->text(), "2");
    EXPECT_EQ(f->boxEdit(161)->text(), "667");

    type(*f, 142, "1500");
    QTest::keyClick(f->boxEdit(142), Qt::Key_Tab);
    EXPECT_EQ(f->boxEdit(142)->text(), "(1,500)");
    f->boxEdit(142)->setFocus();
    EXPECT_EQ(f->boxEdit(142)->text(), "1500");
    f->boxEdit(142)->selectAll();
    QTest::keyClicks(f->boxEdit(142), "2500");
    QTest::keyClick(f->boxEdit(142), Qt::Key_Tab);
    EXPECT_EQ(f->boxEdit(142)->text(), "(2,500)");
}

TEST_F(Frm731Test, PastingIsBlocked)
{
    auto f = newDeclaration("2009");
    type(*f, 104, "12");
    QApplication::clipboard()->setText("999");
    QTest::keyClick(f->boxEdit(104), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(f->boxEdit(104)->text(), "12");
    EXPECT_EQ(QApplication::clipboard()->text(), "");
    QApplication::clipboard()->setText("888");
    QTest::keyClick(f->boxEdit(104), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f->boxEdit(104)->text(), "12");
    QApplication::clipboard()->setText("777");
    QTest::mouseClick(f->boxEdit(104), Qt::RightButton);
    EXPECT_EQ(QApplication::clipboard()->text(), "");
}

TEST_F(Frm731Test, PageRulesOfANewDeclaration)
{
    auto f = open(0);
    f->load();
    f->show();
    f->tabs()->setCurrentIndex(2);
    EXPECT_EQ(f->tabs()->currentIndex(), 0);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "Ingrese el RUC.");

    f = newDeclaration("20");
    messages_.shown.clear();
    f->tabs()->setCurrentIndex(3);
    EXPECT_EQ(f->tabs()->currentIndex(), 0);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, QString::fromUtf8("El ejercicio no es válido."));

    f = newDeclaration("2009");
    f->tabs()->setCurrentIndex(3);
    EXPECT_EQ(f->tabs()->currentIndex(), 3);
    EXPECT_EQ(f->helpTopic(), 1020);
    EXPECT_TRUE(f->taxpayerList()->isEnabled()); // page 3 first: still changeable
    f->tabs()->setCurrentIndex(2);
    EXPECT_FALSE(f->taxpayerList()->isEnabled());
    EXPECT_FALSE(f->fieldEdit(Field::Periodo)->isEnabled());
}

TEST_F(Frm731Test, HelpLinesFollowThePointer)
{
    auto f = newDeclaration("2009");
    const auto pointAt = [](QWidget *w) {
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(w->mapToGlobal(QPoint(2, 2))),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    };
    pointAt(f->boxEdit(139));
    EXPECT_EQ(f->helpLine(0)->text(), "c139 = c114 + c115");
    pointAt(f->boxEdit(109));
    EXPECT_EQ(f->helpLine(0)->text(), "c109 = c108");
    pointAt(f->boxEdit(208));
    EXPECT_EQ(f->helpLine(0)->text(), "El registro de esta información es de caracter obligatorio");
    EXPECT_EQ(f->helpLine(1)->text(), "en los conceptos que le correspondan.");
}

TEST_F(Frm731Test, StoredDeclarationLoadsIntoEveryField)
{
    const QString ruc = test::demoRuc(db_, "COMERCIAL ANDINA S.A.");
    test::StoredDeclaration d(db_, ruc, "2008");
    d.header({{"bcolibrad", "02"}, {"cNumero", "123456"}});
    for (const auto &[box, value] :
         std::vector<std::pair<const char *, const char *>>{{"007", "2008"},
                                                            {"028", "998877"},
                                                            {"825", "0"},
                                                            {"826", "0"},
                                                            {"827", "0"},
                                                            {"829", "0"},
                                                            {"871", "1"},
                                                            {"101", "3000000"},
                                                            {"160", "1"},
                                                            {"599", "E"},
                                                            {"225", "01"},
                                                            {"226", "12345678"},
                                                            {"817", "DIAZ"}}) {
        d.box(box, value);
    }
    auto f = open(1);
    f->openRegistered(ruc, "COMERCIAL ANDINA S.A.", "2008");
    f->load();
    EXPECT_EQ(f->fieldEdit(Field::Telefono)->text(), "998877");
    EXPECT_EQ(f->fieldEdit(Field::Periodo)->text(), "2008");
    EXPECT_FALSE(f->fieldEdit(Field::Periodo)->isEnabled());
    EXPECT_EQ(f->boxEdit(101)->text(), "3,000,000");
    // (3,000,000 - 1,000,000) x 0.005 = 10,000 for the scale of 2008.
    EXPECT_EQ(f->boxEdit(114)->text(), "10,000");
    EXPECT_EQ(f->boxEdit(161)->text(), "10,000");
    EXPECT_TRUE(f->answerGroup(Answer::Rectifica)->button(1)->isChecked());
    EXPECT_TRUE(f->answerGroup(Answer::Coop)->button(0)->isChecked());
    EXPECT_EQ(f->fieldEdit(Field::ApellidoRepresentante)->text(), "DIAZ");
    EXPECT_FALSE(f->model().algunCambio());
    EXPECT_EQ(bar_.taxpayerNumber(), ruc);
    EXPECT_EQ(messages_.shown.size(), 0u); // rectification notice not while loading
}

TEST_F(Frm731Test, SentDeclarationIsReadOnly)
{
    const QString ruc = test::demoRuc(db_, "COMERCIAL ANDINA S.A.");
    auto f = open(1);
    f->openSent(ruc, "COMERCIAL ANDINA S.A.", "2008", "001", "1234", "0");
    f->load();
    for (int box : {101, 104, 142, 160, 180, 208}) {
        EXPECT_TRUE(f->boxEdit(box)->isReadOnly()) << box;
    }
    EXPECT_FALSE(f->boxEdit(101)->isEnabled());
    EXPECT_FALSE(f->fieldEdit(Field::Telefono)->isEnabled());
    EXPECT_EQ(f->model().payment().enabledText(), "False");
}

TEST_F(Frm731Test, SalirRemovesTheProvisionalHeader)
{
    auto f = newDeclaration("2009");
    const QString ruc = f->model().taxpayerRuc();
    test::StoredDeclaration d(db_, ruc, "2009");
    d.header({{"cNumero", "0"}});
    d.box("546", "100");
    f->salirButton()->click();
    EXPECT_EQ(db_.scalar("SELECT count(*) FROM CAB WHERE doc_id_d='" + ruc + "'").toInt(), 0);
    EXPECT_EQ(db_.scalar("SELECT count(*) FROM DET WHERE doc_id_d='" + ruc + "'").toInt(), 0);
    EXPECT_EQ(bar_.taxpayerNumber(), "");
    EXPECT_EQ(bar_.period(), "2009");
}

} // namespace
} // namespace qz
