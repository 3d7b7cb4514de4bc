// The lists of FrmContAbrir and FrmContAbrirEnv: the statements' text, who sees what, and the
// texts of the dialogs' modes.
#include "core/management/declarationlists.h"
#include "managementfixture.h"

#include <QSet>

namespace qz {
namespace {

using test::demoRuc;

class ListsTest : public test::ManagementTest {
protected:
    QSet<QString> rucs(const QueryResult &r)
    {
        QSet<QString> s;
        for (int i = 0; i < r.rowCount(); ++i) {
            s << r.at(i, registeredcol::kRuc).toText();
        }
        return s;
    }
};

TEST(ListStatements, TextAsTheHostWritesIt)
{
    const QString where = " WHERE A.DOC_ID_D=B.DOC_ID_D AND A.TIP_DOC_D=6 AND B.TIP_DOC_D=6 AND "
                          "A.FORMULARIO='0731' ";
    EXPECT_EQ(FrmContAbrirSql("0731", "USUARIO0", "0"),
              "SELECT A.DOC_ID_D, B.NOMBRE, A.PERIODO, A.FORMULARIO, A.ESTADO FROM CAB AS A, "
              "CONT AS B" +
                  where + " ORDER BY A.DOC_ID_D ASC");
    EXPECT_EQ(FrmContAbrirEnvSql("0731", "O'NEIL", "1"),
              "SELECT A.DOC_ID_D, B.NOMBRE, A.PERIODO, A.FORMULARIO, A.NORDEN, A.FEC_ENV, "
              "A.CONTROL, A.CORREL FROM HCAB AS A, CONT AS B" +
                  where + " AND B.USUARIO='O''NEIL' ORDER BY A.DOC_ID_D ASC");
    // The print dialog's sent list is the same statement; its registered list has no state.
    EXPECT_EQ(FrmTipPrnRSql(true, "0731", "O'NEIL", "1"),
              FrmContAbrirEnvSql("0731", "O'NEIL", "1"));
    EXPECT_EQ(FrmTipPrnRSql(false, "0731", "USUARIO0", "0"),
              "SELECT A.DOC_ID_D, B.NOMBRE, A.PERIODO, A.FORMULARIO FROM CAB AS A, CONT AS B" +
                  where + " ORDER BY A.DOC_ID_D ASC");
    // Any type but "0" narrows the list, and the form code is quoted too.
    EXPECT_TRUE(FrmContAbrirSql("07'31", "U", "2")
                    .contains("FORMULARIO='07''31'  AND "
                              "B.USUARIO='U' ORDER"));
}

// Who sees which taxpayers, in both lists: a type-"0" user all, a type-"1" user their own, a
// user without a CLAVES row (and one with a quote in the name) their own.
TEST_F(ListsTest, UserConditionInBothLists)
{
    db_.execute("INSERT INTO CONT VALUES (6, '2011111111X', 2, 'SIN CLAVE S.A.', 'NOBODY')");
    db_.execute("INSERT INTO CONT VALUES (6, '20''22222222', 2, 'O''NEIL E HIJOS', 'O''NEIL')");
    const QString own1 = demoRuc(db_, "INVERSIONES D'ALESSANDRO S.A.C.");    // USUARIO1's
    const QString own0 = demoRuc(db_, "EMPRESA DE TRANSPORTES EL SOL S.A."); // USUARIO0's
    const QStringList all{own1, own0, "2011111111X", "20'22222222"};
    for (const QString &ruc : all) {
        registered(ruc, "2009");
        sent(ruc, "2009", "001");
    }
    registered(own1, "2008", "0732"); // another form: never listed

    const struct {
        const char *user;
        QSet<QString> sees;
    } cases[] = {
        {"USUARIO0", {own1, own0, "2011111111X", "20'22222222"}},
        {"USUARIO1", {own1}},
        {"NOBODY", {"2011111111X"}},
        {"O'NEIL", {"20'22222222"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.user);
        const QueryResult reg = registeredDeclarations(db_, "0731", c.user);
        EXPECT_EQ(rucs(reg), c.sees);
        EXPECT_EQ(reg.rowCount(), c.sees.size());
        const QueryResult env = sentDeclarations(db_, "0731", c.user);
        EXPECT_EQ(rucs(env), c.sees);
        EXPECT_EQ(env.rowCount(), c.sees.size());
    }
}

TEST_F(ListsTest, ColumnsInStatementOrder)
{
    const QString ruc = demoRuc(db_, "INVERSIONES D'ALESSANDRO S.A.C.");
    registered(ruc, "2009");
    sent(ruc, "2009", "002");
    const QueryResult reg = registeredDeclarations(db_, "0731", "USUARIO1");
    ASSERT_EQ(reg.rowCount(), 1);
    EXPECT_EQ(reg.at(0, registeredcol::kNombre).toText(), "INVERSIONES D'ALESSANDRO S.A.C.");
    EXPECT_EQ(reg.at(0, registeredcol::kPeriodo).toText(), "2009");
    EXPECT_EQ(reg.at(0, registeredcol::kFormulario).toText(), "0731");
    EXPECT_EQ(reg.at(0, registeredcol::kEstado).toInt(), 0);
    EXPECT_EQ(reg.columns().size(), FrmContAbrirHeadings().size());

    const QueryResult env = sentDeclarations(db_, "0731", "USUARIO1");
    ASSERT_EQ(env.rowCount(), 1);
    EXPECT_EQ(env.at(0, sentcol::kNorden).toInt(), 77);
    EXPECT_EQ(env.at(0, sentcol::kFecEnv).toDate(), QDateTime(QDate(2026, 5, 2), QTime(10, 0)));
    EXPECT_EQ(env.at(0, sentcol::kControl).toText(), "C002");
    EXPECT_EQ(env.at(0, sentcol::kCorrel).toText(), "002");
    EXPECT_EQ(env.columns().size(), FrmContAbrirEnvHeadings().size());
}

TEST(ListDialogTexts, RecoveryModeKeepsTheRegisterCaption)
{
    const ListDialogTexts rec = FrmContAbrirEnvTexts(1, true);
    EXPECT_EQ(rec.caption, "Registrar número de orden");
    EXPECT_EQ(rec.actionButton, "Recuperar");
    EXPECT_TRUE(rec.showVisualizar);
    const ListDialogTexts reg = FrmContAbrirEnvTexts(1, false);
    EXPECT_EQ(reg.actionButton, "&Registrar");
    EXPECT_FALSE(reg.showVisualizar);
    EXPECT_EQ(FrmContAbrirEnvTexts(3, false).caption, "Eliminar Declaraciones Enviadas");
    EXPECT_EQ(FrmContAbrirTexts(1).actionButton, "&Modificar");
    EXPECT_EQ(FrmContAbrirTexts(3).caption, "Eliminar Declaraciones");
}

} // namespace
} // namespace qz
