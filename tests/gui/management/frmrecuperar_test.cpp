// FrmRecuperar on the offscreen platform: the frames and read-only fields, the "Periodo
// Destino" entry and its check, and "&Recuperar" with its question and closing messages.
#include "managementuifixture.h"

#include "gui/management/frmrecuperar.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace qz {
namespace {

using test::demoRuc;

class FrmRecuperarTest : public test::ManagementUiTest {
protected:
    // The dialog for the sent list's row of this sending, shown and active.
    std::unique_ptr<FrmRecuperar> open(const QString &ruc, const QString &correl)
    {
        const QueryResult rows =
            DeclarationListQuery(DeclarationList::Sent, "0731", "USUARIO0", "0")
                .batch(db_, std::nullopt, 0);
        for (int r = 0; r < rows.rowCount(); ++r) {
            if (rows.at(r, sentcol::kRuc).toText() == ruc &&
                rows.at(r, sentcol::kCorrel).toText() == correl) {
                auto d = std::make_unique<FrmRecuperar>(db_, messages_, utility_, "0731",
                                                        rows.row(r), nullptr);
                d->show();
                QApplication::setActiveWindow(d.get());
                EXPECT_TRUE(QTest::qWaitForWindowActive(d.get()));
                return d;
            }
        }
        ADD_FAILURE() << "no such sending";
        return nullptr;
    }
    // Types a destination period from an empty entry.
    static void typePeriod(FrmRecuperar &d, const QString &digits)
    {
        QLineEdit *e = d.periodoDestino();
        e->clear();
        e->setFocus();
        e->setCursorPosition(0);
        QTest::keyClicks(e, digits);
    }
};

TEST_F(FrmRecuperarTest, FramesAndReadOnlyFields)
{
    sent(ruc_, "2009", "002");
    const auto d = open(ruc_, "002");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8("Recuperar Declaración"));
    QStringList frames;
    for (const QGroupBox *g : d->findChildren<QGroupBox *>()) {
        frames << g->title();
    }
    EXPECT_EQ(frames, QStringList({"Datos Origen", "Al Periodo"}));
    using F = FrmRecuperar::Field;
    const std::pair<F, QString> shown[] = {{F::Ruc, ruc_},
                                           {F::Razon, "INVERSIONES D'ALESSANDRO S.A.C."},
                                           {F::NroOrden, "77"},
                                           {F::FechaEnvio, "02/05/2026 10:00:00"},
                                           {F::PeriodoOrigen, ""}};
    for (const auto &[f, text] : shown) {
        EXPECT_EQ(d->field(f)->text(), text);
        EXPECT_TRUE(d->field(f)->isReadOnly());
    }
    EXPECT_EQ(d->periodoDestino()->displayText(), "__/____");
    EXPECT_EQ(d->recuperarButton()->text(), "&Recuperar");
    EXPECT_EQ(d->salirButton()->text(), "&Salir");
    QSignalSpy help(d.get(), &FrmRecuperar::helpRequested);
    QTest::keyClick(d.get(), Qt::Key_F1);
    EXPECT_EQ(help.size(), 1);
    d->salirButton()->click();
    EXPECT_FALSE(d->isVisible());
}

// Checked once complete: month 13, month 00 and a month after today (June 2026) are refused
// with the critical box, the focus back on the entry; January 1993 and this month pass.
TEST_F(FrmRecuperarTest, DestinationPeriodCheck)
{
    sent(ruc_, "2009", "002");
    const auto d = open(ruc_, "002");
    ASSERT_TRUE(d);
    const struct {
        const char *typed;
        bool refused;
    } cases[] = {{"132011", true}, {"002011", true},  {"072026", true}, {"011993", false},
                 {"122026", true}, {"062026", false}, {"121992", true}, {"0120", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        messages_.shown.clear();
        typePeriod(*d, c.typed);
        ASSERT_EQ(messages_.shown.size(), c.refused ? 1u : 0u);
        if (c.refused) {
            EXPECT_EQ(messages_.shown[0].text, "El periodo no es valido.");
            EXPECT_EQ(messages_.shown[0].title, QString::fromUtf8("Recuperar Declaración"));
            EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Critical);
            EXPECT_EQ(QApplication::focusWidget(), d->periodoDestino());
        }
    }
}

// "&Recuperar" brings the chosen sending back over the working declaration after the question,
// in state 9; declined, it says so and changes nothing. The copy goes to the sending's own
// period whatever "Periodo Destino" says.
TEST_F(FrmRecuperarTest, RecuperarAsksCopiesAndSays)
{
    registered(ruc_, "2009");
    sent(ruc_, "2009", "002", "5555");
    const auto d = open(ruc_, "002");
    ASSERT_TRUE(d);
    typePeriod(*d, "012010");

    messages_.answer = MessageAnswer::No;
    const QList<qint64> before = allCounts();
    EXPECT_FALSE(d->CmdRecuperar_Click());
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[0].title, "Recuperar");
    EXPECT_EQ(messages_.shown[0].text,
              QString::fromUtf8("Periodo destino ya tiene una declaración activa. ¿Desea "
                                "sobreescribirla?"));
    EXPECT_EQ(messages_.shown[1].text, QString::fromUtf8("No se recupero la información."));
    EXPECT_EQ(allCounts(), before);

    messages_.answer = MessageAnswer::Yes;
    messages_.shown.clear();
    d->recuperarButton()->click();
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[1].text,
              QString::fromUtf8("Se termino de recuperar la información satisfactoriamente."));
    EXPECT_EQ(messages_.shown[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(db_.scalar("SELECT estado FROM CAB WHERE doc_id_d=" + sqlQuoted(ruc_) +
                         " AND periodo='2009'")
                  .toInt(),
              9);
    EXPECT_EQ(db_.scalar("SELECT i_valor FROM DET WHERE doc_id_d=" + sqlQuoted(ruc_) +
                         " AND periodo='2009' AND Casilla='101'")
                  .toText(),
              "5555");
    EXPECT_EQ(rowsOf("CAB", ruc_), 1); // nothing in the typed period
    EXPECT_TRUE(d->isVisible());       // several recoveries may follow
}

// A sending of a taxpayer whose number and name hold a quote, recovered without a declaration
// in its period: no question, and its rows come back.
TEST_F(FrmRecuperarTest, QuotesInNumberAndName)
{
    db_.execute("INSERT INTO CONT VALUES (6, '20''22222222', 2, 'O''NEIL E HIJOS', 'O''NEIL')");
    sent("20'22222222", "2009", "001");
    const auto d = open("20'22222222", "001");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->field(FrmRecuperar::Field::Razon)->text(), "O'NEIL E HIJOS");
    EXPECT_TRUE(d->CmdRecuperar_Click());
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(rowsOf("CAB", "20'22222222"), 1);
    EXPECT_EQ(rowsOf("DET", "20'22222222"), 2);
}

} // namespace
} // namespace qz
