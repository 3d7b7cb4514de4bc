// Drafts on the declaration window (offscreen): the draft written when the focus leaves a box,
// offered back with its time when the same declaration is opened again, every box as typed
// after "Sí", and removed by a save or by "No" to the save question on leaving.
#include "core/declaration/boxes.h"
#include "core/declaration/draft.h"
#include "core/declaration/draftstore.h"
#include "gui/declaration/frm731.h"
#include "gui/widgets/boxedit.h"
#include "support/declarationwindow.h"
#include "support/storeddeclaration.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qz {
namespace {

class DraftWindowTest : public test::DeclarationWindowTest {
protected:
    void SetUp() override
    {
        test::DeclarationWindowTest::SetUp();
        ASSERT_TRUE(folder_.isValid());
    }
    std::unique_ptr<Frm731> window(int iModo)
    {
        const Frm731::Context c{db_, messages_, &bar_, &periodo_, iModo, "USUARIO0", false, false};
        auto f = std::make_unique<Frm731>(c, nullptr);
        f->setDraftFolder(folder_.path());
        return f;
    }
    // A new declaration of 2009 for the first taxpayer, as DeclarationWindowTest types it.
    std::unique_ptr<Frm731> newWindow()
    {
        auto f = window(0);
        loadActive(*f);
        f->taxpayerList()->setFocus();
        QTest::keyClick(f->taxpayerList(), Qt::Key_Down);
        QLineEdit *periodo = f->fieldEdit(Field::Periodo);
        periodo->setFocus();
        periodo->setCursorPosition(0);
        QTest::keyClicks(periodo, "2009");
        f->model().leaveExercise();
        f->answerGroup(Answer::Coop)->button(0)->click();
        f->answerGroup(Answer::Rectifica)->button(0)->click();
        return f;
    }
    // The draft on disk as it is now; nothing when there is none.
    static std::optional<DeclarationDraft> onDisk(Frm731 &f)
    {
        const std::optional<QByteArray> text = readDraftFile(f.drafts().currentPath());
        return text ? draftFromJson(*text) : std::nullopt;
    }
    static std::map<int, QString> shownBoxes(Frm731 &f)
    {
        std::map<int, QString> shown;
        for (int n : kBoxList) {
            shown[n] = f.boxEdit(n)->text();
        }
        return shown;
    }
    bool questionAsked() const
    {
        for (const auto &m : messages_.shown) {
            if (m.text.startsWith(QString::fromUtf8("Se encontró un borrador"))) {
                return true;
            }
        }
        return false;
    }

    QTemporaryDir folder_;
};

TEST_F(DraftWindowTest, BoxesTypedBeforeACrashComeBackAfterSi)
{
    std::map<int, QString> typed;
    QString path;
    {
        auto f = newWindow();
        type(*f, 101, "2500000");
        type(*f, 104, "1000");
        type(*f, 142, "1500");
        type(*f, 180, "6000");
        type(*f, 144, "200");
        f->boxEdit(145)->setFocus(); // leaving 144 writes the draft, 144 formatted
        ASSERT_TRUE(QTest::qWaitFor([&] {
            const auto d = onDisk(*f);
            return d && d->boxes.at(144) == "(200)";
        }));
        typed = shownBoxes(*f);
        path = f->drafts().currentPath();
        ASSERT_EQ(typed[101], "2,500,000");
        ASSERT_EQ(typed[142], "(1,500)");
        ASSERT_FALSE(typed[146].isEmpty());
    } // the window is gone without "&Salir", as in a crash

    messages_.shown.clear();
    messages_.answer = MessageAnswer::Yes;
    auto g = newWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return questionAsked(); }));
    const auto &q = messages_.shown.back();
    EXPECT_EQ(q.icon, MessageIcon::Question);
    EXPECT_EQ(q.title, g->windowTitle());
    EXPECT_EQ(q.text, QString::fromUtf8("Se encontró un borrador del 01/06/2026 10:00. ¿Desea "
                                        "recuperarlo?"));
    EXPECT_EQ(shownBoxes(*g), typed);
    EXPECT_TRUE(g->model().algunCambio());
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(DraftWindowTest, StoredDeclarationIsOfferedOnceTheWindowIsShown)
{
    const QString ruc = test::demoRuc(db_, "COMERCIAL ANDINA S.A.");
    test::StoredDeclaration stored(db_, ruc, "2009");
    stored.header();
    stored.box("101", "1500000");
    const auto open = [&] {
        auto f = window(1);
        f->openRegistered(ruc, "COMERCIAL ANDINA S.A.", "2009");
        return f;
    };
    {
        auto f = open();
        loadActive(*f);
        type(*f, 101, "1800000");
        f->boxEdit(104)->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] {
            const auto d = onDisk(*f);
            return d && d->boxes.at(101) == "1,800,000";
        }));
    }
    messages_.shown.clear();
    messages_.answer = MessageAnswer::Yes;
    auto g = open();
    g->load();
    EXPECT_FALSE(questionAsked()); // not over an empty screen
    g->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return questionAsked(); }));
    EXPECT_EQ(g->boxEdit(101)->text(), "1,800,000");
}

TEST_F(DraftWindowTest, NoOnLeavingAndASaveRemoveTheDraft)
{
    {
        auto f = newWindow();
        type(*f, 101, "2500000");
        f->boxEdit(104)->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return onDisk(*f).has_value(); }));
        const QString path = f->drafts().currentPath();
        messages_.answer = MessageAnswer::No;
        f->salirButton()->click();
        EXPECT_FALSE(f->isVisible());
        EXPECT_FALSE(QFile::exists(path));
    }
    messages_.shown.clear();
    auto g = newWindow();
    EXPECT_FALSE(questionAsked());
    complete(*g);
    g->boxEdit(226)->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return onDisk(*g).has_value(); }));
    const QString path = g->drafts().currentPath();
    ASSERT_TRUE(g->CmdGrabar_Click());
    EXPECT_FALSE(QFile::exists(path));
    // Typing on after the save starts a new draft.
    type(*g, 104, "5");
    g->boxEdit(101)->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return onDisk(*g).has_value(); }));
}

} // namespace
} // namespace qz
