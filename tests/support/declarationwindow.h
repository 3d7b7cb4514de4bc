// The fixture of the declaration window's widget tests: a fresh installation with the form
// module, the clock pinned to 1 June 2026, scripted messages, a status bar, and Frm731 opened
// the way the main window opens it.
#pragma once

#include "core/data/clock.h"
#include "gui/declaration/frm731.h"
#include "gui/widgets/boxedit.h"
#include "gui/widgets/statusbar.h"
#include "support/failingwrites.h"
#include "support/modelfixture.h"
#include "support/modelsupport.h"
#include "support/moduleinstall.h"
#include "support/scriptedmessenger.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace qz::test {

class DeclarationWindowTest : public ModelTest {
protected:
    // The window of a command mode, not loaded yet.
    std::unique_ptr<Frm731> open(int iModo, bool registraOrden = false)
    {
        const Frm731::Context c{db_,   messages_,  &bar_,         &periodo_,
                                iModo, "USUARIO0", registraOrden, false};
        return std::make_unique<Frm731>(c, nullptr);
    }
    // A new declaration on screen, active, with the first taxpayer, an exercise typed, the
    // cooperative answered "No" and (see answerRectifica_) the rectification "No".
    std::unique_ptr<Frm731> newDeclaration(const char *exercise = "2009")
    {
        auto f = open(0);
        loadActive(*f);
        f->taxpayerList()->setFocus();
        QTest::keyClick(f->taxpayerList(), Qt::Key_Down);
        QLineEdit *periodo = f->fieldEdit(Field::Periodo);
        periodo->setFocus();
        periodo->setCursorPosition(0);
        QTest::keyClicks(periodo, exercise);
        f->model().leaveExercise();
        f->answerGroup(Answer::Coop)->button(0)->click();
        if (answerRectifica_) {
            f->answerGroup(Answer::Rectifica)->button(0)->click();
        }
        return f;
    }
    // Loads the window and shows it as the active window.
    static void loadActive(Frm731 &f)
    {
        f.load();
        f.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
        QApplication::setActiveWindow(&f);
    }
    // Types keys into a box on its page, replacing its text.
    static void type(Frm731 &f, int box, const QString &keys)
    {
        BoxEdit *e = f.boxEdit(box);
        f.tabs()->setCurrentIndex(box < 113 ? 2 : box < 200 ? 3 : 4);
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, keys);
    }
    // Types a whole consistent declaration.
    static void complete(Frm731 &f)
    {
        f.answerGroup(Answer::Rectifica)->button(0)->click();
        f.answerGroup(Answer::Liquid)->button(0)->click();
        f.answerGroup(Answer::Reorg)->button(0)->click();
        f.tabs()->setCurrentIndex(2);
        QTest::keyClicks(f.boxEdit(101), "2500000");
        f.tabs()->setCurrentIndex(3);
        QTest::keyClicks(f.boxEdit(160), "1");
        QTest::keyClicks(f.boxEdit(180), "6000");
        f.model().setPaymentType("E");
        EXPECT_TRUE(chooseRepresentativeTypeCode(f.model(), "01"));
        f.model().setText(226, "12345678");
    }

    // From now on a save fails in the middle, as on a full disk.
    void failSavesAtBox180()
    {
        failWrites(db_, "fail", "DET", "INSERT", "NEW.Casilla='180'", "sin espacio");
    }

    bool answerRectifica_ = true; // newDeclaration answers "No" to the rectification
    BarradeEstadoZEB bar_;
    QString periodo_;
};

} // namespace qz::test
