// declchk on fresh installations: the checks in order, the listing, the marker, the start.
#include "core/data/clock.h"
#include "core/data/cp1252.h"
#include "core/data/textfile.h"
#include "core/declchk/checkprogram.h"
#include "core/declchk/sendchecker.h"
#include "core/platform/singleinstance.h"
#include "support/moduleinstall.h"
#include "support/programfixture.h"
#include "support/scriptedmessenger.h"
#include "support/storeddeclaration.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <optional>

namespace {

using qz::CheckOutcome;
using qz::test::ScriptedMessenger;

const QString kAnnual = QStringLiteral("200500");

// What one declaration holds: answers, companies and boxes; nullopt leaves a box unstored.
struct Case {
    const char *name;
    std::optional<QString> a827, t828, b521, b115;
    QStringList companyTax; // mto_imp_pag of each company row
    QStringList expected;   // listing lines after the title, without their numbers
};

class DeclchkTest : public qz::test::ProgramTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst_.ok()) << inst_.message().toStdString();
        ruc_ = qz::test::demoRuc(db_, QStringLiteral("COMERCIAL ANDINA S.A."));
    }

    void store(const Case &c, const QString &periodo = QStringLiteral("2005"))
    {
        qz::test::StoredDeclaration d(db_, ruc_, periodo);
        d.header();
        const std::pair<const char *, const std::optional<QString> *> boxes[] = {
            {"827", &c.a827}, {"828", &c.t828}, {"521", &c.b521}, {"115", &c.b115}};
        for (const auto &[box, value] : boxes) {
            if (value->has_value()) {
                d.box(QString::fromLatin1(box), **value);
            }
        }
        int n = 0;
        for (const QString &tax : c.companyTax) {
            d.company(QStringLiteral("2010000000%1").arg(++n), QStringLiteral("3"), tax);
        }
    }
    CheckOutcome check(const QString &periodo = kAnnual)
    {
        messages_.shown.clear();
        return qz::runDeclchk({qz::test::argumentString(ruc_, periodo)}, messages_);
    }
    QString base(const QString &periodo = kAnnual) const
    {
        return inst_.dir() + "/TMP/06" + ruc_ + "0731" + periodo + "A";
    }
    QStringList lines(const QString &path) const
    {
        QStringList l;
        EXPECT_TRUE(qz::readHostLines(path, &l)) << path.toStdString();
        return l;
    }
};

QString company(const char *m)
{
    return QString::fromUtf8(m);
}

TEST_F(DeclchkTest, ChecksInOrderAndNumbersTheLines)
{
    const QString c521 = company(qz::kMensajeCantidad);
    const QString t5 = company(qz::kMensajeTipo5);
    const QString none = company(qz::kMensajeSinReorg);
    const QString b115 = QStringLiteral(") El valor de la casilla 115 no coincide con el detalle.");
    const QString n115 = company(qz::kMensajeNoComparable).arg(QStringLiteral("115"));
    const Case cases[] = {
        {"reorganized, counts and tax agree", "1", "3", "2", "1500", {"1000", "500"}, {}},
        {"one company too few", "1", "3", "3", "1500", {"1000", "500"}, {c521}},
        {"no reorganization but a company", "0", "3", "0", "700", {"700"}, {none}},
        {"unanswered counts as no", std::nullopt, std::nullopt, {}, "700", {"700"}, {none}},
        {"type 5 with a company", "1", "5", "1", "700", {"700"}, {t5}},
        {"no companies, box 521 ignored", "0", {}, "7", {}, {}, {}},
        {"type 5 without companies", "1", "5", "4", {}, {}, {}},
        {"type 2, no companies, no box 521", "1", "2", {}, {}, {}, {}},
        {"no box 115 but company tax", "1", "3", "1", {}, {"250"}, {b115}},
        {"box 115 negative, same total", "1", "3", "1", "-250", {"250"}, {}},
        {"empty company tax left out", "1", "3", "2", "250", {"250", ""}, {}},
        {"both messages numbered", "1", "3", "5", "99", {"100"}, {c521, b115}},
        {"box 115 not a number", "1", "3", "1", "12x", {"250"}, {n115}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        db_.execute("DELETE FROM DET");
        db_.execute("DELETE FROM CAB");
        db_.execute("DELETE FROM F731EMPRESAS");
        store(c);
        const CheckOutcome outcome = check();
        if (c.expected.isEmpty()) {
            EXPECT_EQ(outcome, CheckOutcome::Consistent);
            EXPECT_FALSE(QFile::exists(base() + ".ERR"));
            EXPECT_TRUE(messages_.shown.empty());
            continue;
        }
        EXPECT_EQ(outcome, CheckOutcome::Inconsistent);
        const QStringList l = lines(base() + ".ERR");
        ASSERT_EQ(l.size(), 4 + c.expected.size());
        for (int i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(l[4 + i],
                      QStringLiteral("%1").arg(i + 1, 3, 10, QChar(u'0')) + c.expected[i]);
        }
        EXPECT_EQ(lines(base() + ".TXT"), QStringList{"0731 ERROR"});
    }
}

TEST_F(DeclchkTest, ListingBytesMessageAndMarker)
{
    store({"", "1", "3", "3", "1500", {"1000", "500"}, {}});
    QFile old(base() + ".TXT");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("older marker\r\n");
    old.close();

    EXPECT_EQ(check(), CheckOutcome::Inconsistent);
    QFile listing(base() + ".ERR");
    ASSERT_TRUE(listing.open(QIODevice::ReadOnly));
    const QByteArray bytes = listing.readAll();
    const QByteArray expected =
        "04/03/2026" + QByteArray(70, ' ') + "09:08:07\r\n \r\n \r\n" + QByteArray(20, ' ') +
        "Resumen de Inconsistencias en Informaci\xF3n a Enviar - Formulario 0731\r\n"
        "001) La  cantidad de empresas extinguidas por escisi\xF3n no coincide con lo indicado "
        "en la casilla 521.\r\n";
    EXPECT_EQ(bytes, expected);

    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].icon, qz::MessageIcon::Critical);
    EXPECT_EQ(messages_.shown[0].title, QStringLiteral("Error en la información a enviar"));
    EXPECT_EQ(messages_.shown[0].text,
              QStringLiteral("Existen datos inconsistentes en la información a enviar. Revisar "
                             "el archivo ") +
                  base() + ".ERR");
    QFile marker(base() + ".TXT");
    ASSERT_TRUE(marker.open(QIODevice::ReadOnly));
    EXPECT_EQ(marker.readAll(), QByteArray("0731 ERROR\r\n"));
}

TEST_F(DeclchkTest, ConsistentRunAfterInconsistentKeepsTheMarker)
{
    store({"", "1", "3", "3", "1500", {"1000", "500"}, {}});
    ASSERT_EQ(check(), CheckOutcome::Inconsistent);
    db_.execute("UPDATE DET SET i_valor='2' WHERE Casilla='521'");
    EXPECT_EQ(check(), CheckOutcome::Consistent);
    EXPECT_FALSE(QFile::exists(base() + ".ERR"));
    EXPECT_EQ(lines(base() + ".TXT"), QStringList{"0731 ERROR"});
}

TEST_F(DeclchkTest, MonthlyPeriodQueriesAllSixCharacters)
{
    // The same rows stored under the year alone are not this declaration.
    store({"", "1", "3", "3", {}, {"1"}, {}}, QStringLiteral("2005"));
    store({"", "1", "3", "1", "1", {"1"}, {}}, QStringLiteral("200512"));
    EXPECT_EQ(check(QStringLiteral("200512")), CheckOutcome::Consistent);
    EXPECT_EQ(check(kAnnual), CheckOutcome::Inconsistent);
    EXPECT_TRUE(QFile::exists(base(kAnnual) + ".ERR"));
}

TEST_F(DeclchkTest, UnreadableDetailIsItsOwnLine)
{
    store({"", "1", "3", "0", "1500", {}, {}});
    db_.execute("DROP TABLE F731EMPRESAS");
    // The count reads 0 and agrees with box 521; the tax cannot be summed.
    EXPECT_EQ(check(), CheckOutcome::Inconsistent);
    const QStringList l = lines(base() + ".ERR");
    ASSERT_EQ(l.size(), 5);
    EXPECT_EQ(l[4], "001" + company(qz::kMensajeNoComparable).arg("115"));
}

TEST_F(DeclchkTest, BadArgumentsWriteNothing)
{
    const QString tmp = inst_.dir() + "/TMP";
    const QStringList before = QDir(tmp).entryList(QDir::Files);
    const QString bad[] = {
        QStringLiteral("too short"),
        qz::test::argumentString("../../x", kAnnual),
        qz::test::argumentString(ruc_, QStringLiteral("2005AB")),
    };
    for (const QString &arg : bad) {
        messages_.shown.clear();
        EXPECT_EQ(qz::runDeclchk({arg}, messages_), CheckOutcome::NotChecked);
        ASSERT_EQ(messages_.shown.size(), 1u);
        EXPECT_EQ(messages_.shown[0].icon, qz::MessageIcon::Critical);
    }
    EXPECT_EQ(QDir(tmp).entryList(QDir::Files), before);
}

TEST_F(DeclchkTest, MissingDatabaseIsReportedAndNotChecked)
{
    store({"", "1", "3", "3", "1500", {"1000", "500"}, {}});
    QFile::remove(inst_.install().dbPath());
    EXPECT_EQ(check(), CheckOutcome::NotChecked);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].title, QStringLiteral("Error de Conección"));
    EXPECT_FALSE(QFile::exists(base() + ".ERR"));
}

// The real program: exit status and the single-instance rule.
TEST_F(DeclchkTest, ProgramExitStatusAndSecondCopy)
{
    const QString bin = qEnvironmentVariable("QZ_BIN_DIR");
    if (bin.isEmpty()) {
        GTEST_SKIP() << "QZ_BIN_DIR is not set";
    }
    store({"", "1", "3", "3", "1500", {"1000", "500"}, {}});
    auto run = [&](QString *err) {
        QProcess p;
        p.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        p.start(bin + "/declchk", {qz::test::argumentString(ruc_, kAnnual)});
        EXPECT_TRUE(p.waitForFinished(30000));
        *err = QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    };
    QString err;
    EXPECT_EQ(run(&err), 1) << err.toStdString();
    EXPECT_TRUE(err.contains("Existen datos inconsistentes")) << err.toStdString();

    qz::SingleInstance first;
    ASSERT_TRUE(first.acquire("declchk"));
    QFile::remove(base() + ".ERR");
    EXPECT_EQ(run(&err), 2);
    EXPECT_TRUE(err.contains(QStringLiteral("La aplicación ya se encuentra en Ejecución")))
        << err.toStdString();
    EXPECT_FALSE(QFile::exists(base() + ".ERR"));
}

} // namespace
