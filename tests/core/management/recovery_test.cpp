// The recovery of a sent declaration: what is copied and skipped, the overwrite question, a
// sending without history rows, "control" in envio_t, a failure that rolls everything back, and
// the "Periodo Destino" check.
#include "core/management/recovery.h"
#include "managementfixture.h"
#include "support/failingwrites.h"

#include <functional>

namespace qz {
namespace {

using test::demoRuc;

class RecoveryTest : public test::ManagementTest {
protected:
    void SetUp() override
    {
        test::ManagementTest::SetUp();
        decl_ = {"0731", ruc_, "2009", "002"};
    }
    // The history copy of F731PORCENTAJE, as the host's sending makes it.
    void historyPercentage(const QString &correl, double mtoDet)
    {
        if (!db_.tableExists("HF731PORCENTAJE")) {
            db_.execute("CREATE TABLE HF731PORCENTAJE (tip_doc_d INTEGER, doc_id_d TEXT, "
                        "periodo TEXT, formulario TEXT, correl TEXT, mto_det DOUBLE, "
                        "mto_net DOUBLE, cnumero TEXT)");
        }
        db_.execute("INSERT INTO HF731PORCENTAJE VALUES (6, " + sqlQuoted(ruc_) + ", '2009', " +
                    "'0731', " + sqlQuoted(correl) + ", " + QString::number(mtoDet) + ", 5, '0')");
    }
    QString value(const QString &sql) { return db_.scalar(sql).toText(); }
    // The marca of every row of a table, sorted.
    QStringList marks(const QString &table)
    {
        QStringList out;
        const QueryResult rows = db_.query("SELECT marca FROM " + table + " ORDER BY marca");
        for (int i = 0; i < rows.rowCount(); ++i) {
            out << rows.at(i, 0).toText();
        }
        return out;
    }
    bool recuperar() { return RecuperarDeclaracion(db_, messages_, utility_, decl_); }
    QString lastMessage() const
    {
        return messages_.shown.empty() ? QString() : messages_.shown.back().text;
    }

    SentDeclaration decl_;
    TextUtility utility_;
};

TEST(RecoveryStatements, TextAndQuoting)
{
    const SentDeclaration d{"0731", "20'1", "2009", "0'2"};
    EXPECT_EQ(activeDeclarationSql(d), "SELECT * FROM CAB WHERE DOC_ID_D='20''1' AND TIP_DOC_D=6 "
                                       "AND PERIODO='2009' AND FORMULARIO='0731'");
    EXPECT_EQ(recoveryTablesSql("07'31"),
              "SELECT tabla_o  FROM envio_t WHERE formulario='07''31' and "
              "ucase(tabla_o)<>'CONTROL'");
    EXPECT_EQ(recoveryDeleteSql("DET", d), "DELETE * FROM  DET WHERE doc_id_d='20''1' and "
                                           "tip_doc_d=6 and periodo='2009' and formulario='0731'");
    EXPECT_EQ(recoveryHistorySql("DET", d),
              "SELECT * FROM HDET WHERE doc_id_d='20''1' and  tip_doc_d=6 and  periodo='2009' "
              "and formulario='0731' AND CORREL='0''2'");
    EXPECT_EQ(recoveryTargetSql("DET", d), "SELECT * FROM DET WHERE DOC_ID_D='20''1' AND "
                                           "TIP_DOC_D=6 AND PERIODO='2009' AND FORMULARIO='0731'");
}

// The chosen sending replaces the working declaration: its rows by column name, the header in
// state 9; the other sending, other periods and the history stay as they were.
TEST_F(RecoveryTest, CopiesTheChosenSendingOverTheWorkingDeclaration)
{
    registered(ruc_, "2009");
    registered(ruc_, "2008");
    sent(ruc_, "2009", "001", "1111");
    sent(ruc_, "2009", "002", "2222");
    historyPercentage("001", 11);
    historyPercentage("002", 22);
    messages_.answer = MessageAnswer::Yes;

    EXPECT_TRUE(recuperar());
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown.at(0).text, overwriteQuestion().text);
    EXPECT_EQ(messages_.shown.at(0).title, "Recuperar");
    EXPECT_EQ(messages_.shown.at(1).text,
              "Se termino de recuperar la información satisfactoriamente.");
    EXPECT_EQ(messages_.shown.at(1).title, "Recuperar Declaración");
    EXPECT_EQ(messages_.shown.at(1).icon, MessageIcon::Exclamation);

    const QString key = " WHERE doc_id_d=" + sqlQuoted(ruc_) + " AND periodo='2009'";
    EXPECT_EQ(count("SELECT count(*) FROM CAB" + key), 1);
    EXPECT_EQ(value("SELECT estado FROM CAB" + key), "9");
    EXPECT_EQ(value("SELECT fec_pro FROM CAB" + key), "01/05/2026");
    EXPECT_EQ(value("SELECT cNumero FROM CAB" + key), "123456");
    EXPECT_EQ(count("SELECT count(*) FROM DET" + key), 2);
    EXPECT_EQ(count("SELECT count(*) FROM DET" + key + " AND i_valor='2222'"), 2);
    EXPECT_EQ(value("SELECT num_doc_emp || '/' || mto_imp_pag FROM F731EMPRESAS" + key),
              "20100079705/2222");
    EXPECT_EQ(count("SELECT count(*) FROM F731EMPRESAS" + key), 1);
    EXPECT_EQ(value("SELECT mto_det FROM F731PORCENTAJE" + key), "22");
    // Untouched: the other period and the history.
    EXPECT_EQ(count("SELECT count(*) FROM DET WHERE periodo='2008' AND i_valor='1000'"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM HDET"), 4);
    EXPECT_EQ(count("SELECT count(*) FROM HCAB"), 2);
}

TEST_F(RecoveryTest, DeclinedOverwriteChangesNothing)
{
    registered(ruc_, "2009");
    sent(ruc_, "2009", "002");
    const QList<qint64> before = allCounts();
    messages_.answer = MessageAnswer::No;
    EXPECT_FALSE(recuperar());
    EXPECT_EQ(allCounts(), before);
    EXPECT_EQ(value("SELECT i_valor FROM DET WHERE casilla='101'"), "1000");
    EXPECT_EQ(lastMessage(), "No se recupero la información.");
}

// Without history rows for the sending (and without HF731PORCENTAJE, which only a sending makes)
// the working rows of the period are deleted and the recovery counts as done.
TEST_F(RecoveryTest, SendingWithoutHistoryRows)
{
    registered(ruc_, "2009");
    registered(ruc_, "2008");
    sent(ruc_, "2009", "001");
    ASSERT_FALSE(db_.tableExists("HF731PORCENTAJE"));
    messages_.answer = MessageAnswer::Yes;
    EXPECT_TRUE(recuperar());
    EXPECT_EQ(lastMessage(), "Se termino de recuperar la información satisfactoriamente.");
    for (const char *t : {"CAB", "DET", "F731EMPRESAS", "F731PORCENTAJE"}) {
        SCOPED_TRACE(t);
        EXPECT_EQ(count(QString("SELECT count(*) FROM ") + t + " WHERE periodo='2009'"), 0);
        EXPECT_GT(count(QString("SELECT count(*) FROM ") + t + " WHERE periodo='2008'"), 0);
    }
    EXPECT_EQ(count("SELECT count(*) FROM HDET"), 2);
}

// A failure in a delete or in the copy rolls everything back and is reported with the engine's
// error, never as success.
TEST_F(RecoveryTest, FailureRollsEverythingBack)
{
    registered(ruc_, "2009");
    sent(ruc_, "2009", "002", "2222");
    messages_.answer = MessageAnswer::Yes;
    const struct {
        const char *table;
        const char *event;
    } failures[] = {{"F731EMPRESAS", "DELETE"}, {"F731EMPRESAS", "INSERT"}, {"DET", "INSERT"}};
    const QList<qint64> before = allCounts();
    for (const auto &f : failures) {
        SCOPED_TRACE(std::string(f.event) + " " + f.table);
        test::FailingWrites fail(db_, "stop", f.table, f.event, {}, "escritura detenida");
        messages_.shown.clear();
        EXPECT_FALSE(recuperar());
        EXPECT_FALSE(db_.inTransaction());
        EXPECT_EQ(allCounts(), before);
        EXPECT_EQ(value("SELECT i_valor FROM DET WHERE casilla='101'"), "1000");
        EXPECT_EQ(value("SELECT estado FROM CAB"), "0");
        ASSERT_FALSE(messages_.shown.empty());
        EXPECT_TRUE(lastMessage().startsWith("No se recupero la información.\n\n"));
        EXPECT_TRUE(lastMessage().contains("escritura detenida")) << lastMessage().toStdString();
        EXPECT_FALSE(lastMessage().contains("satisfactoriamente"));
        EXPECT_EQ(messages_.shown.back().icon, MessageIcon::Critical);
    }
}

// envio_t's "control" row, in any letter case, is never deleted nor copied; a name that is not a
// plain table name is refused before anything changes.
TEST_F(RecoveryTest, ControlTableIsNeverTouched)
{
    db_.execute("CREATE TABLE CONTROL (tip_doc_d INTEGER, doc_id_d TEXT, periodo TEXT, "
                "formulario TEXT, marca TEXT)");
    db_.execute("CREATE TABLE HCONTROL (tip_doc_d INTEGER, doc_id_d TEXT, periodo TEXT, "
                "formulario TEXT, correl TEXT, marca TEXT)");
    db_.execute("INSERT INTO CONTROL VALUES (6, " + sqlQuoted(ruc_) + ", '2009', '0731', 'W')");
    db_.execute("INSERT INTO HCONTROL VALUES (6, " + sqlQuoted(ruc_) +
                ", '2009', '0731', '002', 'H')");
    sent(ruc_, "2009", "002");
    messages_.answer = MessageAnswer::Yes; // from the second recovery on, CAB holds the period
    for (const char *spelling : {"control", "Control", "CONTROL", "cOnTrOl"}) {
        SCOPED_TRACE(spelling);
        db_.execute(QString("INSERT INTO envio_t (formulario, tabla_o, tabla_d) VALUES ('0731', "
                            "'") +
                    spelling + "', 'X')");
        EXPECT_TRUE(Recover(db_, messages_, decl_));
        EXPECT_EQ(marks("CONTROL"), QStringList{"W"});
        db_.execute("DELETE FROM envio_t WHERE tabla_o='CONTROL'");
    }
    EXPECT_EQ(count("SELECT count(*) FROM DET WHERE periodo='2009'"), 2);

    // Unquoted, this name would make the delete "DELETE * FROM  CAB -- WHERE ...": every header.
    registered(demoRuc(db_, "COMERCIAL ANDINA S.A."), "2009");
    db_.execute("INSERT INTO envio_t (formulario, tabla_o, tabla_d) VALUES ('0731', 'CAB --', "
                "'X')");
    const QList<qint64> before = allCounts();
    try {
        Recover(db_, messages_, decl_);
        ADD_FAILURE() << "a table name with a comment was used";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.description().contains("CAB --"));
    }
    EXPECT_EQ(allCounts(), before);
}

TEST(PeriodoDestino, Check)
{
    const QDate today(2026, 6, 1);
    const struct {
        const char *text;
        bool valid;
    } cases[] = {
        {"13/2011", false}, {"00/2011", false}, {"07/2026", false}, {"01/2027", false},
        {"12/1992", false}, {"01/1993", true},  {"06/2026", true},  {"12/2011", true},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(periodoDestinoValido(c.text, today), c.valid) << c.text;
    }
}

TEST(PeriodoDestino, MessageOnlyForACompleteInvalidText)
{
    PinnedClock clock(QDateTime(QDate(2026, 6, 1), QTime(10, 0)));
    const auto bad = checkPeriodoDestino("07/2026");
    ASSERT_TRUE(bad.has_value());
    EXPECT_EQ(bad->text, "El periodo no es valido.");
    EXPECT_EQ(bad->title, "Recuperar Declaración");
    EXPECT_EQ(bad->icon, MessageIcon::Critical);
    EXPECT_FALSE(checkPeriodoDestino("06/2026").has_value());
    EXPECT_FALSE(checkPeriodoDestino("13/20__").has_value()); // not complete: not checked yet
}

} // namespace
} // namespace qz
