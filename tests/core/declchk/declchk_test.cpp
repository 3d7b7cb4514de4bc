// declchk on fresh installations: the checks in order, the listing, the marker, the start.
#include "../hostdatabasefaults.h"
#include "core/data/clock.h"
#include "core/data/cp1252.h"
#include "core/data/textfile.h"
#include "core/declchk/checkprogram.h"
#include "core/declchk/sendchecker.h"
#include "core/platform/singleinstance.h"
#include "support/filefaults.h"
#include "support/moduleinstall.h"
#include "support/programfixture.h"
#include "support/scriptedmessenger.h"
#include "support/storeddeclaration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include <sys/resource.h>

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
        // A number beyond any range is never summed or compared as 0.
        {"box 115 beyond any range", "1", "3", "1", "1e400", {"250"}, {n115}},
        {"company tax beyond any range", "1", "3", "2", "250", {"250", "1e400"}, {n115}},
        {"company tax of 400 nines", "1", "3", "2", "250", {"250", QString(400, u'9')}, {n115}},
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
    ASSERT_TRUE(qz::test::removeDatabase(inst_.install()));
    EXPECT_EQ(check(), CheckOutcome::NotChecked);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].title, QStringLiteral("Error de Conección"));
    EXPECT_FALSE(QFile::exists(base() + ".ERR"));
}

// A listing or marker that cannot be written is said, naming the file, instead of sending the
// user to a listing that is not there; the outcome is NotWritten. Neither file is ever left
// part written, and a consistent declaration needs no listing.
TEST_F(DeclchkTest, AFileThatCannotBeWrittenIsSaid)
{
    enum Fault { TmpReadOnly, ListingTaken, MarkerTaken };
    struct FaultCase {
        const char *name;
        Fault fault;
        bool consistent;
        bool listingWritten;
        bool markerWritten;
    };
    const FaultCase cases[] = {
        {"TMP read-only", TmpReadOnly, false, false, false},
        {"TMP read-only, consistent", TmpReadOnly, true, false, false},
        {"listing name taken by a folder", ListingTaken, false, false, true},
        {"marker name taken by a folder", MarkerTaken, false, true, false},
    };
    const QString tmp = inst_.dir() + "/TMP";
    const QString inconsistent =
        QStringLiteral("Existen datos inconsistentes en la información a enviar. ");
    for (const FaultCase &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(base() + ".ERR").removeRecursively();
        QDir(base() + ".TXT").removeRecursively();
        QFile::remove(base() + ".ERR");
        QFile::remove(base() + ".TXT");
        db_.execute("DELETE FROM DET");
        db_.execute("DELETE FROM CAB");
        db_.execute("DELETE FROM F731EMPRESAS");
        store({"", "1", "3", c.consistent ? "2" : "3", "1500", {"1000", "500"}, {}});
        if (c.fault == ListingTaken) {
            ASSERT_TRUE(QDir().mkdir(base() + ".ERR"));
        } else if (c.fault == MarkerTaken) {
            ASSERT_TRUE(QDir().mkdir(base() + ".TXT"));
        }
        CheckOutcome outcome;
        {
            std::unique_ptr<qz::test::ReadOnlyFolder> readOnly;
            if (c.fault == TmpReadOnly) {
                readOnly = std::make_unique<qz::test::ReadOnlyFolder>(tmp);
                ASSERT_TRUE(readOnly->holds());
            }
            outcome = check();
        }
        if (c.consistent) {
            EXPECT_EQ(outcome, CheckOutcome::Consistent);
            EXPECT_TRUE(messages_.shown.empty());
            EXPECT_FALSE(QFile::exists(base() + ".ERR"));
            continue;
        }
        EXPECT_EQ(outcome, CheckOutcome::NotWritten);
        ASSERT_EQ(messages_.shown.size(), c.markerWritten ? 1u : 2u);
        const QString listingText = messages_.shown[0].text;
        if (c.listingWritten) {
            EXPECT_EQ(listingText, inconsistent + "Revisar el archivo " + base() + ".ERR");
            EXPECT_EQ(lines(base() + ".ERR").size(), 5);
        } else {
            EXPECT_TRUE(listingText.startsWith(inconsistent + "No se pudo escribir el archivo " +
                                               base() + ".ERR ("))
                << listingText.toStdString();
            EXPECT_FALSE(QFileInfo(base() + ".ERR").isFile());
        }
        if (c.markerWritten) {
            EXPECT_EQ(lines(base() + ".TXT"), QStringList{"0731 ERROR"});
        } else {
            EXPECT_TRUE(messages_.shown[1].text.startsWith("No se pudo escribir el archivo " +
                                                           base() + ".TXT ("))
                << messages_.shown[1].text.toStdString();
            EXPECT_FALSE(QFileInfo(base() + ".TXT").isFile());
        }
    }
}

// A database that is not the host's - an empty file (or server database), or one without the
// host's tables - is refused at the start with the open error: nothing is checked and the
// database stays as it was (SQLite would have made an empty file a database).
TEST_F(DeclchkTest, EmptyOrForeignDatabaseIsRefused)
{
    db_.close();
    for (const auto kind : qz::test::kNotHostDatabases) {
        ASSERT_TRUE(qz::test::makeNotHostDatabase(inst_.install(), kind));
        const QString before = qz::test::databaseState(inst_.install());
        const bool empty = kind == qz::test::NotHostDatabase::Empty;
        EXPECT_EQ(check(), CheckOutcome::NotChecked) << empty;
        ASSERT_EQ(messages_.shown.size(), 1u);
        EXPECT_EQ(messages_.shown[0].title, QStringLiteral("Error de Conección"));
        EXPECT_TRUE(messages_.shown[0].text.endsWith("\n 3343"))
            << messages_.shown[0].text.toStdString();
        EXPECT_EQ(qz::test::databaseState(inst_.install()), before);
        EXPECT_FALSE(QFile::exists(base() + ".ERR"));
    }
}

// Without QZ000.INI the message says which file is missing and where; the checker does not
// make one (only the host writes it).
TEST_F(DeclchkTest, MissingIniIsNamedAndNotCreated)
{
    const QString ini = inst_.install().iniPath();
    ASSERT_TRUE(QFile::remove(ini));
    EXPECT_EQ(check(), CheckOutcome::NotChecked);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_TRUE(messages_.shown[0].text.contains("QZ000.INI"));
    EXPECT_TRUE(messages_.shown[0].text.contains(inst_.install().iniDir()))
        << messages_.shown[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(ini));
}

// A full disk (the file-size limit) while the listing and the marker are written: the checks
// still decide, and neither file is left part written, nor an older listing in its place.
TEST_F(DeclchkTest, AFullDiskLeavesNoPartOfTheListingOrMarker)
{
    store({"", "1", "3", "3", "1500", {"1000", "500"}, {}});
    QString error;
    const std::optional<qz::DeclarationArgs> args =
        qz::DeclarationArgs::parse({qz::test::argumentString(ruc_, kAnnual)}, &error);
    ASSERT_TRUE(args) << error.toStdString();
    ASSERT_TRUE(QDir().mkpath(inst_.dir() + "/TMP"));
    QFile older(base() + ".ERR");
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write("listing of an earlier run\r\n");
    older.close();

    qz::SendChecker checker(db_, *args);
    bool consistent = true;
    bool marked = true;
    QString markerError;
    {
        qz::test::FileSizeLimit limit(100); // the listing's title alone is longer
        ASSERT_TRUE(limit.ok());
        consistent = checker.ValidaEnvio(base() + ".ERR");
        qz::test::FileSizeLimit tiny(5);
        marked = qz::MarcaError(base() + ".TXT", &markerError);
    }
    EXPECT_FALSE(consistent);
    EXPECT_FALSE(checker.listingWritten());
    EXPECT_FALSE(checker.listingError().isEmpty());
    EXPECT_FALSE(QFile::exists(base() + ".ERR"));
    EXPECT_FALSE(marked);
    EXPECT_FALSE(markerError.isEmpty());
    EXPECT_FALSE(QFile::exists(base() + ".TXT"));

    EXPECT_FALSE(checker.ValidaEnvio(base() + ".ERR"));
    EXPECT_TRUE(checker.listingWritten());
    EXPECT_EQ(lines(base() + ".ERR").size(), 5);
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

    {
        qz::SingleInstance first;
        ASSERT_TRUE(first.acquire("declchk"));
        QFile::remove(base() + ".ERR");
        EXPECT_EQ(run(&err), 2);
        EXPECT_TRUE(err.contains(QStringLiteral("La aplicación ya se encuentra en Ejecución")))
            << err.toStdString();
        EXPECT_FALSE(QFile::exists(base() + ".ERR"));
    }

    // A listing it could not write: the message names it and the status says so.
    ASSERT_TRUE(QDir().mkdir(base() + ".ERR"));
    EXPECT_EQ(run(&err), 3) << err.toStdString();
    EXPECT_TRUE(err.contains("No se pudo escribir el archivo " + base() + ".ERR"))
        << err.toStdString();
}

// Under a file-size limit (ulimit -f) a write that passes it fails instead of killing the
// program: declchk ends by itself, with a message and a status other than "consistent".
TEST_F(DeclchkTest, FileSizeLimitGivesAMessageNotASignal)
{
    const QString bin = qEnvironmentVariable("QZ_BIN_DIR");
    if (bin.isEmpty()) {
        GTEST_SKIP() << "QZ_BIN_DIR is not set";
    }
    store({"", "1", "3", "3", "1500", {"1000", "500"}, {}});
    QProcess p;
    p.setChildProcessModifier([] {
        const rlimit none{0, 0};
        setrlimit(RLIMIT_FSIZE, &none);
    });
    p.start(bin + "/declchk", {qz::test::argumentString(ruc_, kAnnual)});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << "ended by a signal";
    // The write that failed is said and the status is a failure, whichever step it hit.
    EXPECT_NE(p.exitCode(), 0) << err.toStdString();
    EXPECT_FALSE(err.trimmed().isEmpty());
}

} // namespace
