// The declaration window as a user meets it, on the offscreen platform: keys that leave every
// field, names in lower case, closing by the frame or Escape as "&Salir", the exercise checked
// once it is left, cents refused with a word, Enter on buttons and in the company count, the
// sent view's order number kept, and the texts of the identification page.
#include "gui/declaration/frmanexo110.h"
#include "support/declarationwindow.h"
#include "support/failingwrites.h"
#include "support/storeddeclaration.h"

#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTimer>

namespace qz {
namespace {

class UserTrialTest : public test::DeclarationWindowTest {
protected:
    // Puts the focus in a field and waits until the window says it is there.
    static void focus(QWidget *w)
    {
        w->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([w] { return w->hasFocus(); }));
    }
    int headers(const QString &ruc)
    {
        return db_.scalar("SELECT count(*) FROM CAB WHERE doc_id_d='" + ruc + "'").toInt();
    }
};

TEST_F(UserTrialTest, TabEnterAndShortcutsLeaveEveryField)
{
    auto f = newDeclaration();
    for (Field field : {Field::Telefono, Field::ApellidoRepresentante, Field::NombreRepresentante,
                        Field::ApellidoContador, Field::NombreContador}) {
        QLineEdit *e = f->fieldEdit(field);
        const std::string name = e->objectName().toStdString();
        f->tabs()->setCurrentIndex(field == Field::Telefono ? 0 : 4);
        focus(e);
        QTest::keyClicks(e, field == Field::Telefono ? "4421234" : "perez");
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(e->selectedText(), e->text()) << name << ": Ctrl+A";
        QTest::keyClick(e, Qt::Key_Tab);
        EXPECT_FALSE(e->hasFocus()) << name << ": Tab stays";
        focus(e);
        QTest::keyClick(e, Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_FALSE(e->hasFocus()) << name << ": Shift+Tab stays";
        focus(e);
        QTest::keyClick(e, Qt::Key_Return);
        EXPECT_FALSE(e->hasFocus()) << name << ": Enter stays";
        // Nothing of the navigation was typed into the field.
        EXPECT_TRUE(e->text() == "4421234" || e->text() == "PEREZ")
            << name << " " << e->text().toStdString();
    }
}

TEST_F(UserTrialTest, NamesTakeLowerCaseLettersAsCapitals)
{
    auto f = newDeclaration();
    f->tabs()->setCurrentIndex(4);
    QLineEdit *e = f->fieldEdit(Field::NombreRepresentante);
    focus(e);
    QTest::keyClicks(e, "Ana Mar");
    QTest::sendKeyEvent(QTest::Click, e, Qt::Key_Iacute, QString::fromUtf8("í"), Qt::NoModifier);
    QTest::keyClicks(e, "a");
    EXPECT_EQ(e->text(), QString::fromUtf8("ANA MARÍA"));
    EXPECT_EQ(f->model().field(Field::NombreRepresentante), QString::fromUtf8("ANA MARÍA"));
    QTest::keyClicks(e, "1-.");
    EXPECT_EQ(e->text(), QString::fromUtf8("ANA MARÍA")); // names hold letters only
}

TEST_F(UserTrialTest, TheFrameAndEscapeLeaveAsSalirDoes)
{
    for (const bool byEscape : {false, true}) {
        auto f = newDeclaration();
        const QString ruc = f->model().taxpayerRuc();
        // The box-105 assistant's provisional header, as its "&Aceptar" leaves it.
        test::StoredDeclaration d(db_, ruc, "2009");
        d.header({{"cNumero", "0"}});
        d.box("546", "1000");
        type(*f, 104, "500");
        messages_.shown.clear();
        messages_.answer = MessageAnswer::No;
        if (byEscape) {
            QTest::keyClick(f->boxEdit(104), Qt::Key_Escape);
        } else {
            f->close();
        }
        ASSERT_EQ(messages_.shown.size(), 1u) << byEscape;
        EXPECT_EQ(messages_.shown[0].text, QString::fromUtf8("¿La declaración ha sido "
                                                             "modificada, desea guardar los "
                                                             "cambios?"));
        EXPECT_FALSE(f->isVisible());
        EXPECT_EQ(headers(ruc), 0) << "the provisional header blocks the taxpayer";
        EXPECT_EQ(bar_.taxpayerNumber(), "");
        EXPECT_EQ(bar_.period(), "2009");
    }
}

TEST_F(UserTrialTest, ClosingWithASaveThatFailsKeepsTheWindow)
{
    auto f = newDeclaration();
    complete(*f);
    failSavesAtBox180();
    messages_.answer = MessageAnswer::Yes;
    f->close();
    EXPECT_TRUE(f->isVisible()); // nothing typed is lost
    EXPECT_EQ(f->saveState(), 3);

    // "&Validar" while leaving: no list, and the window closes after "no inconsistencies".
    test::stopFailingWrites(db_, "fail", "DET");
    messages_.shown.clear();
    f->validarButton()->click();
    ASSERT_FALSE(messages_.shown.empty());
    EXPECT_EQ(messages_.shown.back().text,
              QString::fromUtf8("La información de la declaración no presenta inconsistencias."));
    EXPECT_FALSE(f->isVisible());
}

TEST_F(UserTrialTest, TheExerciseIsCheckedWhenLeftAndNeverShownHalfTyped)
{
    auto f = open(0);
    loadActive(*f);
    QLineEdit *periodo = f->fieldEdit(Field::Periodo);
    focus(periodo);
    periodo->setCursorPosition(0);
    messages_.shown.clear();
    QTest::keyClicks(periodo, "1800");
    EXPECT_TRUE(messages_.shown.empty()); // not while typing
    QTest::keyClick(periodo, Qt::Key_Return);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, QString::fromUtf8("El Ejercicio no es Válido."));
    EXPECT_FALSE(f->model().reorgQuestion().contains("180"));
    EXPECT_NE(bar_.period(), "1800");
    EXPECT_FALSE(bar_.period().startsWith("180"));

    // Correcting it by typing over: "2800" on the way is not refused, no key is lost.
    focus(periodo);
    periodo->setCursorPosition(0);
    messages_.shown.clear();
    QTest::keyClicks(periodo, "2010");
    QTest::keyClick(periodo, Qt::Key_Tab);
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_EQ(periodo->text(), "2010");
    EXPECT_EQ(f->model().sPeriodo(), "2010");
    EXPECT_TRUE(f->model().reorgQuestion().contains("01/01/2010"));
    EXPECT_EQ(bar_.period(), "2010");

    // An incomplete year leaves the labels and the status bar as they were.
    focus(periodo);
    periodo->setCursorPosition(0);
    QTest::keyClick(periodo, Qt::Key_Delete);
    QTest::keyClick(periodo, Qt::Key_Tab);
    EXPECT_TRUE(periodo->displayText().contains(u'_'));
    EXPECT_EQ(bar_.period(), "2010");
    EXPECT_TRUE(f->model().reorgQuestion().contains("01/01/2010"));
}

// Real message boxes, as declmod shows them (the offscreen platform's service only prints).
class BoxMessenger final : public Messenger {
public:
    MessageAnswer show(MessageIcon, const QString &title, const QString &text, MessageButtons,
                       MessageAnswer answer) override
    {
        QMessageBox box(QMessageBox::Critical, title, text);
        box.exec();
        return answer;
    }
};

// Coming back from the refusal of the year, the focus is on the year, not where a return
// from another window would put it (the taxpayer list).
TEST_F(UserTrialTest, AfterAMessageTheFocusStaysWhereTheMessagePutIt)
{
    BoxMessenger boxes;
    const Frm731::Context c{db_, boxes, &bar_, &periodo_, 0, "USUARIO0", false, false};
    Frm731 f(c, nullptr);
    loadActive(f);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.isActiveWindow(); }));
    QLineEdit *periodo = f.fieldEdit(Field::Periodo);
    focus(periodo);
    periodo->setCursorPosition(0);
    QTest::keyClicks(periodo, "1800");
    bool shown = false;
    QTimer::singleShot(50, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown = true;
            box->accept();
        }
    });
    QTest::keyClick(periodo, Qt::Key_Return);
    ASSERT_TRUE(shown);
    QApplication::setActiveWindow(&f); // as the window manager gives it back
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.isActiveWindow(); }));
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), periodo);
}

TEST_F(UserTrialTest, CentsAreRefusedWithAWord)
{
    auto f = newDeclaration();
    type(*f, 104, "1000");
    f->helpLine(0)->clear();
    QTest::keyClicks(f->boxEdit(104), ".50");
    EXPECT_EQ(f->boxEdit(104)->text(), "1000"); // the cents are not taken for units
    EXPECT_TRUE(f->helpLine(0)->text().contains(QString::fromUtf8("sin considerar céntimos")))
        << f->helpLine(0)->text().toStdString();
    // The help line also greets a keyboard user entering an amount box.
    f->helpLine(0)->clear();
    focus(f->boxEdit(101));
    EXPECT_TRUE(f->helpLine(0)->text().contains(QString::fromUtf8("céntimos")) ||
                f->helpLine(0)->text().startsWith("c101"));
}

TEST_F(UserTrialTest, EnterPressesAFocusedButton)
{
    FrmAnexo110 d;
    d.load("0.36", "360", "1000");
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    QApplication::setActiveWindow(&d);
    focus(d.aceptarButton());
    QTest::keyClick(d.aceptarButton(), Qt::Key_Return);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_FALSE(d.isVisible());
}

TEST_F(UserTrialTest, EnterInTheCompanyCountMovesOn)
{
    auto f = newDeclaration();
    f->answerGroup(Answer::Reorg)->button(1)->click();
    f->model().chooseReorgType(0);
    f->tabs()->setCurrentIndex(1);
    ASSERT_EQ(f->tabs()->currentIndex(), 1);
    QLineEdit *count = f->fieldEdit(Field::CantEmpresas);
    focus(count);
    QTest::keyClicks(count, "2");
    QTest::keyClick(count, Qt::Key_Return);
    EXPECT_FALSE(count->hasFocus());
    EXPECT_EQ(count->text(), "2");
}

TEST_F(UserTrialTest, SentDeclarationAsksBeforeLosingATypedOrderNumber)
{
    const QString ruc = test::demoRuc(db_, "COMERCIAL ANDINA S.A.");
    auto f = open(1, true);
    f->openSent(ruc, "COMERCIAL ANDINA S.A.", "2008", "001", "12345678", "0");
    loadActive(*f);
    QLineEdit *orden = f->fieldEdit(Field::NumOrden);
    focus(orden);
    QTest::keyClicks(orden, "4455");
    messages_.answer = MessageAnswer::No;
    messages_.shown.clear();
    f->salirButton()->click();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text,
              QString::fromUtf8("¿La declaración ha sido modificada, desea guardar los cambios?"));
    EXPECT_FALSE(f->isVisible());

    // Only viewed: no question.
    auto v = open(1, false);
    v->openSent(ruc, "COMERCIAL ANDINA S.A.", "2008", "001", "12345678", "0");
    v->load();
    messages_.shown.clear();
    v->salirButton()->click();
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(UserTrialTest, DeletingACompanyWithoutASelectionMeansTheCurrentRow)
{
    auto f = newDeclaration();
    f->answerGroup(Answer::Reorg)->button(1)->click();
    f->model().chooseReorgType(0);
    db_.execute("INSERT INTO TMPF731EMPRESAS (num_doc_emp, des_razon, mto_activos, porc_part, "
                "mto_base_imp, mto_imp_pag) VALUES ('20100079705', 'UNO SA', '2500000', '', "
                "'2500000', '6000')");
    // The window reads the list again when it is activated, as after the company dialog.
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(f.get());
    ASSERT_TRUE(QTest::qWaitFor([&] { return f->companyList()->rowCount() == 1; }));
    f->tabs()->setCurrentIndex(1);
    ASSERT_EQ(f->companyList()->rowCount(), 1);
    f->companyList()->clearSelection();
    f->companyList()->setCurrentCell(-1, -1);
    messages_.answer = MessageAnswer::Yes;
    messages_.shown.clear();
    f->findChild<QPushButton *>("CmdOpciones_2")->click();
    EXPECT_FALSE(messages_.shown.empty());
    EXPECT_EQ(f->companyList()->rowCount(), 0);
}

TEST_F(UserTrialTest, IdentificationTexts)
{
    auto f = newDeclaration();
    // The lists show names, not the hidden fields of their entries.
    auto *types = f->findChild<QComboBox *>("cboTipDocRepLegal");
    ASSERT_TRUE(types);
    EXPECT_GE(types->findText("06  -  RUC"), 1);
    for (int i = 0; i < types->count(); ++i) {
        EXPECT_LE(types->itemText(i).size(), 67) << types->itemText(i).toStdString();
    }
    auto *zones = f->findChild<QComboBox *>("CmbZona");
    ASSERT_TRUE(zones);
    ASSERT_GT(zones->count(), 1);
    EXPECT_LE(zones->itemText(1).size(), 22) << zones->itemText(1).toStdString();

    auto *liquid = f->answerGroup(Answer::Liquid)->button(0)->parentWidget();
    auto *frame = qobject_cast<QGroupBox *>(liquid);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->title(), QString::fromUtf8("Acogimiento de la opción de acreditación"));

    // Entering page 3 by the tab strip with a half-typed exercise.
    f->tabs()->setCurrentIndex(3);
    ASSERT_EQ(f->tabs()->currentIndex(), 3);
    {
        const QSignalBlocker quiet(f->fieldEdit(Field::Periodo));
        f->fieldEdit(Field::Periodo)->setText("20");
    }
    messages_.shown.clear();
    f->tabs()->tabBar()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages_.shown.empty(); }));
    EXPECT_EQ(messages_.shown[0].text, QString::fromUtf8("El período no es válido."));
    EXPECT_EQ(f->tabs()->currentIndex(), 0);
}

} // namespace
} // namespace qz
