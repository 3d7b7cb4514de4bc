// A declaration from the window to the history and back: typed and saved, copied into the
// history tables as the host's sending copies it, removed from the working tables, recovered,
// and opened again as "&Modificar" opens it, where every box shows what was saved and the
// header is in state 9. Once for a taxpayer with a quote in its name and once for one with a
// quote in its RUC as well.
#include "core/data/sqltext.h"
#include "core/declaration/boxes.h"
#include "core/management/declarationdelete.h"
#include "core/management/declarationlists.h"
#include "core/management/recovery.h"
#include "core/validation/declarationsave.h"
#include "support/modelfixture.h"
#include "support/modelsupport.h"
#include "support/storeddeclaration.h"

namespace qz {
namespace {

constexpr Field kFields[] = {
    Field::Telefono,
    Field::Periodo,
    Field::FechaReorg,
    Field::CantEmpresas,
    Field::NombreContador,
    Field::ApellidoContador,
    Field::ApellidoRepresentante,
    Field::NombreRepresentante,
    Field::NumOrden,
    Field::NumOrdenCheck,
    Field::Razon,
};
constexpr Answer kAnswers[] = {Answer::Rectifica, Answer::Ajuste, Answer::Liquid, Answer::Reorg,
                               Answer::Coop};

class RoundTripTest : public test::ModelTest {
protected:
    // A whole consistent declaration of the named taxpayer typed on a new model.
    std::unique_ptr<DeclarationModel> typed(const QString &nombre)
    {
        const QStringList entries = newModel()->taxpayerEntries();
        int index = -1;
        for (int i = 0; i < entries.size(); ++i) {
            if (entries[i].endsWith(nombre)) {
                index = i;
            }
        }
        EXPECT_GE(index, 0) << nombre.toStdString();
        return typedDeclaration(index);
    }

    // The host's sending of the saved declaration: every working row copied into its history
    // table under the sending number, the header with its order number (none yet), sending
    // time and control text; the history of the box-110 amounts made on the first sending.
    void sendAsTheHost(const QString &ruc, const QString &correl)
    {
        const QString where =
            " WHERE doc_id_d=" + sqlQuoted(ruc) + " AND periodo='2009' AND formulario='0731'";
        const QString c = sqlQuoted(correl);
        db_.execute("INSERT INTO HCAB (tip_doc_d, doc_id_d, periodo, formulario, semana, CORREL, "
                    "fec_pro, bcolibrad, nrocheque, cheque, efectivo, estado, rectifica, NORDEN, "
                    "FEC_ENV, CONTROL, cNumero) SELECT tip_doc_d, doc_id_d, periodo, "
                    "formulario, semana, " +
                    c +
                    ", fec_pro, bcolibrad, nrocheque, cheque, efectivo, estado, rectifica, "
                    "NULL, '2026-06-01 10:30:00', 'K7Q2', cNumero FROM CAB" +
                    where);
        db_.execute("INSERT INTO HDET (tip_doc_d, doc_id_d, periodo, formulario, semana, CORREL, "
                    "Casilla, i_valor, idcasilla, estado, cNumero) SELECT tip_doc_d, doc_id_d, "
                    "periodo, formulario, semana, " +
                    c + ", Casilla, i_valor, idcasilla, 0, cNumero FROM DET" + where);
        db_.execute("INSERT INTO HF731EMPRESAS (tip_doc_d, doc_id_d, periodo, formulario, correl, "
                    "tip_doc_emp, num_doc_emp, tip_empresa, des_razon, mto_activos, porc_part, "
                    "mto_adic, mto_deduc, mto_base_imp, mto_imp_pag, cnumero) SELECT tip_doc_d, "
                    "doc_id_d, periodo, formulario, " +
                    c +
                    ", tip_doc_emp, num_doc_emp, tip_empresa, des_razon, mto_activos, "
                    "porc_part, mto_adic, mto_deduc, mto_base_imp, mto_imp_pag, cnumero FROM "
                    "F731EMPRESAS" +
                    where);
        db_.execute("CREATE TABLE IF NOT EXISTS HF731PORCENTAJE (tip_doc_d INTEGER, doc_id_d "
                    "TEXT, periodo TEXT, formulario TEXT, correl TEXT, mto_det DOUBLE, mto_net "
                    "DOUBLE, cnumero TEXT)");
        db_.execute("INSERT INTO HF731PORCENTAJE SELECT tip_doc_d, doc_id_d, periodo, "
                    "formulario, " +
                    c + ", mto_det, mto_net, cnumero FROM F731PORCENTAJE" + where);
    }

    qint64 count(const QString &sql) { return db_.scalar(sql).toInt(); }
    qint64 workingRows(const QString &ruc)
    {
        qint64 n = 0;
        for (const char *t : {"CAB", "DET", "F731EMPRESAS", "F731PORCENTAJE"}) {
            n += count(QString("SELECT count(*) FROM ") + t + " WHERE doc_id_d=" + sqlQuoted(ruc));
        }
        return n;
    }
    // The row of a list whose first column is the RUC; -1 when there is none.
    static int rowOf(const QueryResult &list, const QString &ruc)
    {
        for (int i = 0; i < list.rowCount(); ++i) {
            if (list.at(i, 0).toText() == ruc) {
                return i;
            }
        }
        return -1;
    }

    void roundTrip(const QString &nombre)
    {
        auto m = typed(nombre);
        const QString ruc = m->taxpayerRuc();
        const SaveOutcome out = DeclarationSave(*m).CmdGrabar();
        ASSERT_TRUE(out.saved) << out.error.toStdString();
        ASSERT_EQ(count("SELECT estado FROM CAB WHERE doc_id_d=" + sqlQuoted(ruc)), 0);
        const auto saved = storedModel(ruc, nombre, "2009");
        const qint64 rows = workingRows(ruc);

        sendAsTheHost(ruc, "001");
        deleteRegistered(db_, ruc, "2009", "0731");
        ASSERT_EQ(workingRows(ruc), 0);

        // The sending as FrmContAbrirEnv lists it for the recovery.
        const QueryResult sentList = sentDeclarations(db_, "0731", "USUARIO0");
        const int sentRow = rowOf(sentList, ruc);
        ASSERT_GE(sentRow, 0);
        const SentDeclaration chosen{"0731", sentList.at(sentRow, sentcol::kRuc).toText(),
                                     sentList.at(sentRow, sentcol::kPeriodo).toText().trimmed(),
                                     sentList.at(sentRow, sentcol::kCorrel).toText()};
        messages_.shown.clear();
        ASSERT_TRUE(Recover(db_, messages_, chosen));
        EXPECT_TRUE(messages_.shown.empty()); // nothing to overwrite: no question
        EXPECT_EQ(workingRows(ruc), rows);
        EXPECT_EQ(count("SELECT estado FROM CAB WHERE doc_id_d=" + sqlQuoted(ruc)), 9);

        // "&Modificar": its list shows the declaration in state 9 and opens the chosen row.
        const QueryResult list = registeredDeclarations(db_, "0731", "USUARIO0");
        const int row = rowOf(list, ruc);
        ASSERT_GE(row, 0);
        EXPECT_EQ(list.at(row, registeredcol::kNombre).toText().toStdString(),
                  nombre.toStdString());
        EXPECT_EQ(list.at(row, registeredcol::kEstado).toText().toStdString(), "9");
        messages_.shown.clear();
        const auto back = storedModel(list.at(row, registeredcol::kRuc).toText(),
                                      list.at(row, registeredcol::kNombre).toText(),
                                      list.at(row, registeredcol::kPeriodo).toText());
        for (const auto &shown : messages_.shown) {
            ADD_FAILURE() << "message on opening: " << shown.text.toStdString();
        }
        for (int box : kBoxList) {
            EXPECT_EQ(back->text(box).toStdString(), saved->text(box).toStdString()) << box;
            EXPECT_EQ(back->text(box).toStdString(), m->text(box).toStdString()) << box;
        }
        for (Field f : kFields) {
            EXPECT_EQ(back->field(f).toStdString(), saved->field(f).toStdString())
                << static_cast<int>(f);
        }
        for (Answer a : kAnswers) {
            EXPECT_EQ(back->answer(a).toStdString(), saved->answer(a).toStdString())
                << static_cast<int>(a);
        }
        EXPECT_EQ(back->payment().paymentType().toStdString(), "E");
        EXPECT_EQ(back->field(Field::ApellidoRepresentante).toStdString(), "DIAZ");
        EXPECT_EQ(back->text(101).toStdString(), "2,500,000");
        EXPECT_FALSE(back->algunCambio());
    }
};

TEST_F(RoundTripTest, SavedSentRecoveredAndOpenedAsSaved)
{
    ASSERT_NO_FATAL_FAILURE(roundTrip("INVERSIONES D'ALESSANDRO S.A.C."));
}

// The quote in the RUC reaches every statement on the way as a value, never as text of the
// statement; the taxpayer whose RUC differs only by the quote is never touched.
TEST_F(RoundTripTest, QuoteInTheRucAndTheName)
{
    db_.execute("INSERT INTO CONT VALUES (6, '20''10007970', 2, 'O''NEIL E HIJOS', 'USUARIO0')");
    db_.execute("INSERT INTO CONT VALUES (6, '2010007970', 2, 'SIN COMILLA S.A.', 'USUARIO0')");
    test::StoredDeclaration bystander(db_, "2010007970", "2009");
    bystander.header();
    bystander.box("101", "777");
    ASSERT_NO_FATAL_FAILURE(roundTrip("O'NEIL E HIJOS"));
    EXPECT_EQ(count("SELECT count(*) FROM CAB WHERE doc_id_d='2010007970' AND estado=0"), 1);
    EXPECT_EQ(
        db_.scalar("SELECT i_valor FROM DET WHERE doc_id_d='2010007970'").toText().toStdString(),
        "777");
}

} // namespace
} // namespace qz
