// Two workstations on one shared database: the same declaration saved from both. One save
// lands whole, the other is refused with its reason, and the stored declaration is exactly
// the one that landed, on SQLite and on the server.
#include "core/validation/declarationsave.h"
#include "support/modelfixture.h"

#include <QStringList>

#include <memory>
#include <thread>

namespace {

using qz::DeclarationModel;
using qz::DeclarationSave;
using qz::SaveOutcome;

class Workstations : public qz::test::ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        auto first = typedDeclaration();
        ruc_ = first->taxpayerRuc().trimmed();
        razon_ = first->field(qz::Field::Razon);
        ASSERT_TRUE(DeclarationSave(*first).CmdGrabar().saved);
        second_ = inst_.install().open();
    }

    // The declaration as "&Modificar" opens it on a workstation's own connection.
    std::unique_ptr<DeclarationModel> openedOn(qz::Database &db)
    {
        auto m = std::make_unique<DeclarationModel>(db, messages_);
        m->setRun({1, QString(), false, QString(), QString()});
        m->open({ruc_, razon_, QStringLiteral("2009"), QString()});
        return m;
    }

    QString stored(int box)
    {
        return db_
            .scalar(QStringLiteral("SELECT i_valor FROM DET WHERE doc_id_d='%1' AND Casilla='%2'")
                        .arg(ruc_)
                        .arg(box))
            .toText();
    }

    // Every stored box row outside the box-105 assistant's, as "box=value".
    QStringList storedBoxes()
    {
        const qz::QueryResult r = db_.query(
            QStringLiteral("SELECT Casilla, i_valor FROM DET WHERE doc_id_d='%1' ORDER BY Casilla")
                .arg(ruc_));
        QStringList out;
        for (int i = 0; i < r.rowCount(); ++i) {
            out << r.at(i, 0).toText() + u'=' + r.at(i, 1).toText();
        }
        return out;
    }

    QString ruc_;
    QString razon_;
    qz::Database second_;
};

TEST_F(Workstations, TheLaterSaveOfAnOlderReadingIsRefusedAndChangesNothing)
{
    auto a = openedOn(db_);
    auto b = openedOn(second_);
    a->setText(226, "11111111");
    b->setText(226, "22222222");

    ASSERT_TRUE(DeclarationSave(*a).CmdGrabar().saved);
    const QStringList afterA = storedBoxes();
    const SaveOutcome late = DeclarationSave(*b).CmdGrabar();
    EXPECT_FALSE(late.saved);
    EXPECT_TRUE(late.error.startsWith("3197\n")) << late.error.toStdString();
    EXPECT_TRUE(late.error.contains("otra estación de trabajo")) << late.error.toStdString();
    EXPECT_EQ(storedBoxes(), afterA);
    EXPECT_EQ(stored(226), "11111111");
    // The refused window keeps what was typed, and the one that saved may save again.
    EXPECT_EQ(b->text(226), "22222222");
    EXPECT_TRUE(b->algunCambio());
    a->setText(226, "33333333");
    EXPECT_TRUE(DeclarationSave(*a).CmdGrabar().saved);
    EXPECT_EQ(stored(226), "33333333");
    // Opened again, the second workstation saves over the stored declaration as usual.
    auto again = openedOn(second_);
    again->setText(226, "44444444");
    EXPECT_TRUE(DeclarationSave(*again).CmdGrabar().saved);
    EXPECT_EQ(stored(226), "44444444");
}

TEST_F(Workstations, SavesAtTheSameMomentLeaveOneWholeDeclaration)
{
    // Rounds of two saves started together on two threads, each workstation on its own
    // connection: exactly one lands, whole.
    for (int round = 0; round < 5; ++round) {
        auto a = openedOn(db_);
        auto b = openedOn(second_);
        const QString va = QStringLiteral("1%1").arg(round, 7, 10, QChar(u'0'));
        const QString vb = QStringLiteral("2%1").arg(round, 7, 10, QChar(u'0'));
        const QString amountBefore = stored(101);
        a->setText(226, va);
        a->setText(101, QStringLiteral("2,5%1").arg(round + 10, 2, 10, QChar(u'0')) + ",000");
        b->setText(226, vb);
        SaveOutcome outA, outB;
        std::thread ta([&] { outA = DeclarationSave(*a).CmdGrabar(); });
        std::thread tb([&] { outB = DeclarationSave(*b).CmdGrabar(); });
        ta.join();
        tb.join();
        ASSERT_NE(outA.saved, outB.saved) << "round " << round << ": " << outA.error.toStdString()
                                          << " / " << outB.error.toStdString();
        const SaveOutcome &refused = outA.saved ? outB : outA;
        EXPECT_TRUE(refused.error.startsWith("3197\n")) << refused.error.toStdString();
        EXPECT_EQ(stored(226), outA.saved ? va : vb);
        // Box 101, changed only on the first workstation with its whole chain, is stored
        // changed exactly when that save won.
        EXPECT_EQ(stored(101) != amountBefore, outA.saved) << "round " << round;
    }
}

} // namespace
