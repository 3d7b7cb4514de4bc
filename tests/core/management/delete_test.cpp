// The deletes of FrmContAbrir and FrmContAbrirEnv: what they remove and spare, their
// statements, their questions, and a failure in the middle that leaves every row in place.
#include "core/management/declarationdelete.h"
#include "core/management/declarationlists.h"
#include "managementfixture.h"
#include "support/failingwrites.h"

#include <functional>

namespace qz {
namespace {

using test::demoRuc;

class DeleteTest : public test::ManagementTest {
protected:
    qint64 periodRows(const QString &table, const QString &ruc, const QString &periodo,
                      const QString &correl = {})
    {
        return count("SELECT count(*) FROM " + table + " WHERE doc_id_d=" + sqlQuoted(ruc) +
                     " AND periodo=" + sqlQuoted(periodo) +
                     (correl.isEmpty() ? QString() : " AND correl=" + sqlQuoted(correl)));
    }
};

TEST(DeleteStatements, TextAndQuoting)
{
    EXPECT_EQ(
        registeredDeleteStatements("20'1", "2009", "0731"),
        (QStringList{"DELETE * FROM DET WHERE DOC_ID_D='20''1' AND TIP_DOC_D=6 AND PERIODO='2009' "
                     "AND FORMULARIO='0731'",
                     "DELETE * FROM CAB WHERE DOC_ID_D='20''1' AND TIP_DOC_D=6 AND PERIODO='2009' "
                     "AND FORMULARIO='0731'",
                     "DELETE * FROM F731EMPRESAS  WHERE DOC_ID_D='20''1' AND TIP_DOC_D=6 AND "
                     "PERIODO='2009' AND FORMULARIO='0731'",
                     "DELETE * FROM F731PORCENTAJE  WHERE DOC_ID_D='20''1' AND TIP_DOC_D=6 AND "
                     "PERIODO='2009' AND FORMULARIO='0731'"}));
    const QStringList sent = sentDeleteStatements("2010", "2009", "0731", "0'1");
    ASSERT_EQ(sent.size(), 3);
    EXPECT_EQ(sent.at(0), "DELETE * FROM HDET WHERE DOC_ID_D='2010' AND TIP_DOC_D=6 AND "
                          "PERIODO='2009' AND FORMULARIO='0731' AND CORREL='0''1'");
    EXPECT_TRUE(sent.at(1).startsWith("DELETE * FROM HCAB WHERE"));
    EXPECT_TRUE(sent.at(2).startsWith("DELETE * FROM HF731EMPRESAS  WHERE"));
}

TEST(DeleteQuestions, AsTheDialogsAskThem)
{
    const DialogMessage reg = registeredDeleteQuestion("  INVERSIONES D'ALESSANDRO S.A.C. ");
    EXPECT_EQ(reg.text, "¿Confirma que va a eliminar la declaración de\r\n\r\n"
                        "INVERSIONES D'ALESSANDRO S.A.C.?");
    EXPECT_EQ(reg.title, "Eliminar Declaraciones");
    const DialogMessage env = sentDeleteQuestion();
    EXPECT_EQ(env.text, "¿Confirma que va a eliminar la declaración seleccionada?");
    EXPECT_EQ(env.title, "Eliminar Declaraciones Enviadas");
    for (const DialogMessage &q : {reg, env}) {
        EXPECT_EQ(q.icon, MessageIcon::Question);
        EXPECT_EQ(q.buttons, MessageButtons::YesNo);
        EXPECT_EQ(q.defaultAnswer, MessageAnswer::No);
    }
}

// The row of the list is deleted with all its companions; other periods, taxpayers, forms and
// the history stay.
TEST_F(DeleteTest, RegisteredDeleteTouchesOnlyItsDeclaration)
{
    registered(ruc_, "2009");
    registered(ruc_, "2008");
    registered(other_, "2009");
    registered(ruc_, "2009", "0732");
    sent(ruc_, "2009", "001");

    const QueryResult list = registeredDeclarations(db_, "0731", "USUARIO1");
    int row = -1;
    for (int i = 0; i < list.rowCount(); ++i) {
        if (list.at(i, 0).toText() == ruc_ && list.at(i, 2).toText() == "2009") {
            row = i;
        }
    }
    ASSERT_GE(row, 0);
    deleteRegisteredRow(db_, list, row, "0731");

    for (const char *t : {"CAB", "DET", "F731EMPRESAS"}) {
        SCOPED_TRACE(t);
        EXPECT_EQ(count(QString("SELECT count(*) FROM ") + t + " WHERE doc_id_d=" +
                        sqlQuoted(ruc_) + " AND periodo='2009' AND formulario='0731'"),
                  0);
        EXPECT_GT(periodRows(t, ruc_, "2008"), 0);
        EXPECT_GT(periodRows(t, other_, "2009"), 0);
    }
    EXPECT_EQ(count("SELECT count(*) FROM F731PORCENTAJE WHERE doc_id_d=" + sqlQuoted(ruc_) +
                    " AND periodo='2009' AND formulario='0731'"),
              0);
    EXPECT_EQ(count("SELECT count(*) FROM F731PORCENTAJE WHERE formulario='0732'"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM CAB WHERE formulario='0732'"), 1);
    EXPECT_EQ(periodRows("F731PORCENTAJE", ruc_, "2008"), 1);
    EXPECT_EQ(periodRows("HDET", ruc_, "2009"), 2);
}

TEST_F(DeleteTest, SentDeleteTouchesOnlyItsSending)
{
    sent(ruc_, "2009", "001");
    sent(ruc_, "2009", "002");
    sent(ruc_, "2008", "001");
    sent(other_, "2009", "001");
    registered(ruc_, "2009");

    const QueryResult list = sentDeclarations(db_, "0731", "USUARIO1");
    int row = -1;
    for (int i = 0; i < list.rowCount(); ++i) {
        if (list.at(i, 0).toText() == ruc_ && list.at(i, 2).toText() == "2009" &&
            list.at(i, sentcol::kCorrel).toText() == "001") {
            row = i;
        }
    }
    ASSERT_GE(row, 0);
    deleteSentRow(db_, list, row, "0731");

    for (const char *t : {"HCAB", "HDET", "HF731EMPRESAS"}) {
        SCOPED_TRACE(t);
        EXPECT_EQ(periodRows(t, ruc_, "2009", "001"), 0);
        EXPECT_GT(periodRows(t, ruc_, "2009", "002"), 0);
        EXPECT_GT(periodRows(t, ruc_, "2008", "001"), 0);
        EXPECT_GT(periodRows(t, other_, "2009", "001"), 0);
    }
    EXPECT_EQ(periodRows("CAB", ruc_, "2009"), 1);
    EXPECT_EQ(periodRows("DET", ruc_, "2009"), 2);
}

// A statement that fails after others have run: the delete throws the engine's error and every
// row is still there.
TEST_F(DeleteTest, FailureInTheMiddleLeavesEveryRow)
{
    registered(ruc_, "2009");
    sent(ruc_, "2009", "001");
    const struct {
        const char *table;
        std::function<void()> remove;
    } cases[] = {
        {"F731EMPRESAS", [&] { deleteRegistered(db_, ruc_, "2009", "0731"); }},
        {"HF731EMPRESAS", [&] { deleteSent(db_, ruc_, "2009", "0731", "001"); }},
    };
    const QList<qint64> before = allCounts();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.table);
        test::FailingWrites fail(db_, "stop_delete", c.table, "DELETE", {}, "borrado detenido");
        try {
            c.remove();
            ADD_FAILURE() << "the delete did not fail";
        } catch (const DbError &e) {
            EXPECT_TRUE(e.description().contains("borrado detenido"))
                << e.description().toStdString();
        }
        EXPECT_FALSE(db_.inTransaction());
        EXPECT_EQ(allCounts(), before);
    }
    // Without the trigger the same deletes go through.
    deleteRegistered(db_, ruc_, "2009", "0731");
    deleteSent(db_, ruc_, "2009", "0731", "001");
    EXPECT_EQ(rowsOf("DET", ruc_) + rowsOf("HDET", ruc_), 0);
}

// A quote in the RUC reaches the right rows instead of breaking the statement.
TEST_F(DeleteTest, QuoteInTheRuc)
{
    const QString quoted = "20'100079705";
    registered(quoted, "2009");
    registered(ruc_, "2009");
    sent(quoted, "2009", "001");
    deleteRegistered(db_, quoted, "2009", "0731");
    deleteSent(db_, quoted, "2009", "0731", "001");
    EXPECT_EQ(rowsOf("CAB", quoted) + rowsOf("DET", quoted) + rowsOf("HCAB", quoted), 0);
    EXPECT_EQ(rowsOf("CAB", ruc_), 1);
}

} // namespace
} // namespace qz
