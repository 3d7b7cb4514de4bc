// Tests of velquira --init: the installation it creates (configuration, workgroup file, host
// tables, demo rows, folders, sending rules) and its refusal to overwrite.
#include "core/data/config.h"
#include "core/data/database.h"
#include "core/data/inifile.h"
#include "core/data/workgroup.h"
#include "core/host/installation.h"
#include "support/tempinstall.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <set>

using qz::Database;
using qz::DbError;
using qz::test::TempInstall;

namespace {

const char *const kRucRecord = "REG. UNICO DE CONTRIBUYENTES   RUC           11 000110 01 "
                               "000001000001100111011111                                     "
                               "      0 5 0";

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every line ends in CR LF and there is no bare LF or CR.
bool hasOnlyCrLf(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) {
            return false;
        }
        if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) {
            return false;
        }
    }
    return bytes.endsWith("\r\n");
}

// The taxpayer-number rule, written out independently of the installer's code.
bool isValidRuc(const QString &ruc)
{
    static const QRegularExpression shape(QStringLiteral("^(10|15|16|17|20)\\d{9}$"));
    if (!shape.match(ruc).hasMatch()) {
        return false;
    }
    const int weights[10] = {5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        sum += ruc.at(i).digitValue() * weights[i];
    }
    int d = 11 - sum % 11;
    d = d == 10 ? 0 : d == 11 ? 1 : d;
    return ruc.at(10).digitValue() == d;
}

QString param(Database &db, const QString &numero, const QString &argumento)
{
    const qz::QueryResult r = db.query(QStringLiteral("SELECT Funcion FROM PARAM WHERE "
                                                      "Numero='%1' AND Argumento='%2'")
                                           .arg(numero, argumento));
    return r.isEmpty() ? QString() : r.at(0, 0).toText();
}

int dbErrorOf(Database &db, const QString &sql)
{
    try {
        db.execute(sql);
    } catch (const DbError &e) {
        return e.number();
    }
    return 0;
}

} // namespace

TEST(RucRule, IndependentCheckerAgreesWithHandComputedNumbers)
{
    EXPECT_TRUE(isValidRuc(QStringLiteral("20100000009")));  // S = 13, d = 9
    EXPECT_TRUE(isValidRuc(QStringLiteral("20000000010")));  // d = 10 becomes 0
    EXPECT_TRUE(isValidRuc(QStringLiteral("17000000001")));  // d = 11 becomes 1
    EXPECT_FALSE(isValidRuc(QStringLiteral("20100000008"))); // wrong check digit
    EXPECT_FALSE(isValidRuc(QStringLiteral("30100000009"))); // prefix not allowed
    EXPECT_FALSE(isValidRuc(QStringLiteral("2010000000")));  // ten digits
}

TEST(Init, PointsTheConfigurationAtTheInstallation)
{
    TempInstall inst;
    ASSERT_TRUE(inst.ok()) << qPrintable(inst.message());
    ASSERT_EQ(qz::iniPath(), inst.iniPath());

    const QString section = QStringLiteral("Options");
    const auto key = [&](const char *name) {
        return qz::readProfileString(inst.iniPath(), section, QString::fromLatin1(name));
    };
    EXPECT_EQ(key("SysPath"), inst.sysPath());
    EXPECT_TRUE(key("SysPath").endsWith(u'/'));
    EXPECT_EQ(key("DBPath"), inst.sysPath());
    EXPECT_EQ(key("DBName"), QStringLiteral("QZ000.MDB"));
    EXPECT_EQ(key("SysUser"), QStringLiteral("USUARIO1"));
    // The database: the file, or the server's when DBServer names one.
    EXPECT_EQ(key("DBServer"), inst.server());
    EXPECT_EQ(QFileInfo(key("DBPath") + key("DBName")).isFile(), inst.server().isEmpty());
    EXPECT_TRUE(hasOnlyCrLf(readAll(inst.iniPath())));

    // The programs find the database and the report folder through what was written.
    const QString cwd = QDir::currentPath();
    qz::Config config;
    const bool loaded = qz::loadModuleConfig(config);
    QDir::setCurrent(cwd);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(QFileInfo(config.baseDatos).canonicalFilePath(),
              QFileInfo(inst.dbPath()).canonicalFilePath());
    EXPECT_EQ(config.usuario, QStringLiteral("USUARIO1"));
    EXPECT_TRUE(QFileInfo(config.workgroup).isFile());
    EXPECT_TRUE(QFileInfo(config.dirReportes).isDir());
}

TEST(Init, KeepsOtherLinesOfAnExistingConfiguration)
{
    QTemporaryDir iniDir;
    QTemporaryDir installDir;
    ASSERT_TRUE(iniDir.isValid() && installDir.isValid());
    const QByteArray oldValue = qgetenv("QZ_INI_DIR");
    qputenv("QZ_INI_DIR", QFile::encodeName(iniDir.path()));
    {
        QFile ini(qz::iniPath());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("; host settings\r\n[Other]\r\nKey=kept\r\n[Options]\r\nSysPath=C:\\OLD\\\r\n"
                  "Extra=1\r\n");
    }
    const qz::InstallResult result = qz::createInstallation(installDir.path(), false);
    const QByteArray after = readAll(qz::iniPath());
    const QString sysPath =
        qz::readProfileString(qz::iniPath(), QStringLiteral("Options"), QStringLiteral("SysPath"));
    qputenv("QZ_INI_DIR", oldValue);

    ASSERT_TRUE(result.ok) << qPrintable(result.message);
    EXPECT_TRUE(after.startsWith("; host settings\r\n[Other]\r\nKey=kept\r\n[Options]\r\n"));
    EXPECT_TRUE(after.contains("Extra=1\r\n"));
    EXPECT_FALSE(after.contains("OLD"));
    EXPECT_EQ(sysPath, QDir(installDir.path()).absolutePath() + u'/');
}

TEST(Init, WorkgroupFileAcceptsOnlyTheSystemAccount)
{
    TempInstall inst;
    ASSERT_TRUE(inst.ok()) << qPrintable(inst.message());
    const QString mdw = QDir(inst.dir()).filePath(QStringLiteral("QZ000.MDW"));
    EXPECT_NO_THROW(qz::verifyWorkgroup(mdw, qz::systemCredentials()));

    qz::Credentials wrong = qz::systemCredentials();
    wrong.password += u'x';
    try {
        qz::verifyWorkgroup(mdw, wrong);
        ADD_FAILURE() << "a wrong password was accepted";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), qz::dberr::kAccount);
    }
}

// One host table: its key columns in order (which must also be its primary key), other
// columns the programs use, the exact column count where a program inserts by position, and
// whether the record control code column cNumero must come last.
struct TableCase {
    const char *table;
    std::vector<const char *> keys;
    std::vector<const char *> others;
    int exactCount;
    bool cNumeroLast;
};

void PrintTo(const TableCase &c, std::ostream *os)
{
    *os << c.table;
}

// Each engine names the index of a primary key itself: SQLite "sqlite_autoindex_<table>_<n>"
// (a UNIQUE constraint in CREATE TABLE would get one too; the host tables have none),
// PostgreSQL "<table>_pkey".
bool isPrimaryKeyIndex(const qz::IndexInfo &index, const QString &table)
{
    return index.name.startsWith(QStringLiteral("sqlite_autoindex_") + table + u'_',
                                 Qt::CaseInsensitive) ||
           index.name.compare(table + QStringLiteral("_pkey"), Qt::CaseInsensitive) == 0;
}

class HostTable : public ::testing::TestWithParam<TableCase> {
protected:
    static void SetUpTestSuite() { install_ = new TempInstall; }
    static void TearDownTestSuite()
    {
        delete install_;
        install_ = nullptr;
    }
    static TempInstall *install_;
};
TempInstall *HostTable::install_ = nullptr;

TEST_P(HostTable, KeyColumnsComeFirstAndFormThePrimaryKey)
{
    ASSERT_TRUE(install_->ok()) << qPrintable(install_->message());
    const TableCase &c = GetParam();
    Database db = install_->open();
    const QString table = QString::fromLatin1(c.table);
    ASSERT_TRUE(db.tableExists(table));

    const std::vector<qz::ColumnInfo> columns = db.columnsOf(table);
    ASSERT_GT(columns.size(), c.keys.size());
    QStringList keys;
    for (size_t i = 0; i < c.keys.size(); ++i) {
        keys << QString::fromLatin1(c.keys[i]).toLower();
        EXPECT_EQ(columns[i].name.toLower(), keys.back()) << "key column " << i;
    }
    // The primary key's index: the key columns in their order.
    const std::vector<qz::IndexInfo> indexes = db.indexesOf(table);
    std::vector<const qz::IndexInfo *> primary;
    for (const qz::IndexInfo &index : indexes) {
        if (isPrimaryKeyIndex(index, table)) {
            primary.push_back(&index);
        }
    }
    ASSERT_EQ(primary.size(), 1u);
    EXPECT_TRUE(primary.front()->unique);
    EXPECT_FALSE(primary.front()->partial);
    QStringList indexed;
    for (const QString &column : primary.front()->columns) {
        indexed << column.toLower();
    }
    EXPECT_EQ(indexed, keys);
    for (const char *name : c.others) {
        const auto found = std::find_if(columns.begin(), columns.end(), [&](const auto &col) {
            return col.name.compare(QString::fromLatin1(name), Qt::CaseInsensitive) == 0;
        });
        EXPECT_NE(found, columns.end()) << "missing column " << name;
    }
    if (c.exactCount > 0) {
        EXPECT_EQ(static_cast<int>(columns.size()), c.exactCount);
    }
    if (c.cNumeroLast) {
        EXPECT_EQ(columns.back().name.toLower(), QStringLiteral("cnumero"));
    }
}

const std::vector<const char *> kCabKeys = {"tip_doc_d", "doc_id_d", "periodo", "formulario",
                                            "semana"};
const std::vector<const char *> kCabOthers = {"fec_pro",  "bcolibrad", "nrocheque", "cheque",
                                              "efectivo", "estado",    "rectifica"};
const std::vector<const char *> kHcabKeys = {"tip_doc_d",  "doc_id_d", "periodo",
                                             "formulario", "semana",   "CORREL"};
const std::vector<const char *> kHcabOthers = {"fec_pro",  "bcolibrad", "nrocheque", "cheque",
                                               "efectivo", "estado",    "rectifica", "NORDEN",
                                               "FEC_ENV",  "CONTROL"};
const std::vector<const char *> kHdetKeys = {"tip_doc_d", "doc_id_d", "periodo", "formulario",
                                             "semana",    "CORREL",   "Casilla"};

INSTANTIATE_TEST_SUITE_P(
    Schema, HostTable,
    ::testing::Values(
        TableCase{"PARAM", {"Numero", "Argumento"}, {"Funcion", "Correl_param"}, 4, false},
        TableCase{
            "CONT", {"Tip_doc_d", "Doc_id_d"}, {"Nombre", "Usuario", "Tipo_ingreso"}, 0, false},
        TableCase{"CLAVES", {"Usuario"}, {"Tipo"}, 0, false},
        TableCase{"ERROR", {"CodError"}, {"DescError"}, 0, false},
        TableCase{"CAB", kCabKeys, kCabOthers, 0, true},
        TableCase{"DET",
                  {"tip_doc_d", "doc_id_d", "periodo", "formulario", "semana", "Casilla"},
                  {"i_valor", "idcasilla"},
                  0,
                  true},
        TableCase{"HCAB", kHcabKeys, kHcabOthers, 0, true},
        TableCase{"HDET", kHdetKeys, {"i_valor", "idcasilla", "estado"}, 0, true},
        TableCase{"SPOOL",
                  {"CodRep", "Secuencia"},
                  {"Archivo", "Fecha", "Usuario", "Tip_doc_d", "Doc_id_d"},
                  7,
                  false},
        TableCase{"Reportes", {"CodRep"}, {"DescRep"}, 3, false},
        TableCase{"envio_t",
                  {"formulario", "tabla_o"},
                  {"tabla_d", "tabla_ext", "indice", "obliga", "c_tip_doc_d", "c_doc_id_d",
                   "c_Formulario", "c_periodo", "c_estado", "c_envio", "c_semana"},
                  13,
                  false}),
    [](const auto &row) { return std::string(row.param.table); });

class Installed : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst_.ok()) << qPrintable(inst_.message());
        db_ = inst_.open();
    }
    TempInstall inst_;
    Database db_;
};

TEST_F(Installed, NameIsTheFourthColumnOfCont)
{
    // The taxpayer list reads the name as the fourth column of SELECT * FROM CONT.
    EXPECT_EQ(db_.columnsOf(QStringLiteral("CONT")).at(3).name.toLower(), QStringLiteral("nombre"));
}

TEST_F(Installed, TextComparesIgnoreCaseAndKeysStayUnique)
{
    EXPECT_EQ(
        db_.scalar(QStringLiteral("SELECT Tipo FROM CLAVES WHERE Usuario='usuario1'")).toText(),
        QStringLiteral("1"));
    EXPECT_EQ(dbErrorOf(db_, QStringLiteral("INSERT INTO PARAM VALUES ('030','01','X','')")),
              qz::dberr::kDuplicateKey);
    EXPECT_EQ(dbErrorOf(db_, QStringLiteral("INSERT INTO CLAVES VALUES ('Usuario0','1')")),
              qz::dberr::kDuplicateKey);
}

TEST_F(Installed, MissingWeekIsStoredAsZeroAndStillPartOfTheKey)
{
    const QString row = QStringLiteral("INSERT INTO DET (tip_doc_d, doc_id_d, periodo, "
                                       "formulario, semana, Casilla, i_valor) VALUES "
                                       "(6, '20100000009', '2009', '0731', %1, '101', '5')");
    EXPECT_EQ(db_.execute(row.arg(QStringLiteral("NULL"))), 1);
    EXPECT_EQ(db_.scalar(QStringLiteral("SELECT semana FROM DET")).toInt(), 0);
    EXPECT_EQ(dbErrorOf(db_, row.arg(QStringLiteral("NULL"))), qz::dberr::kDuplicateKey);
    EXPECT_EQ(dbErrorOf(db_, row.arg(QStringLiteral("0"))), qz::dberr::kDuplicateKey);
    EXPECT_EQ(db_.execute(row.arg(QStringLiteral("1"))), 1);
    // A header without a taxpayer number is refused instead of stored under a Null key.
    EXPECT_NE(dbErrorOf(db_, QStringLiteral("INSERT INTO CAB (tip_doc_d, periodo, formulario) "
                                            "VALUES (6, '2009', '0731')")),
              0);
}

TEST_F(Installed, ReportFileNamesAreUnique)
{
    const QString row = QStringLiteral("INSERT INTO SPOOL VALUES ('%1', 1, '00000001.PRN', "
                                       "'2024-01-02 10:00:00', 'USUARIO1', 6, '20100000009')");
    EXPECT_EQ(db_.execute(row.arg(QStringLiteral("OKR001"))), 1);
    EXPECT_EQ(dbErrorOf(db_, row.arg(QStringLiteral("OKR002"))), qz::dberr::kDuplicateKey);
}

TEST_F(Installed, DemoTaxpayersHaveValidNumbersAndBelongToBothUsers)
{
    const qz::QueryResult r = db_.query(
        QStringLiteral("SELECT Tip_doc_d, Doc_id_d, Nombre, Usuario, Tipo_ingreso FROM CONT"));
    ASSERT_EQ(r.rowCount(), 12);
    std::set<QString> users;
    int regular = 0;
    bool apostrophe = false;
    bool accented = false;
    for (int i = 0; i < r.rowCount(); ++i) {
        EXPECT_EQ(r.at(i, 0).toInt(), 6);
        EXPECT_TRUE(isValidRuc(r.at(i, 1).toText())) << qPrintable(r.at(i, 1).toText());
        const QString name = r.at(i, 2).toText();
        apostrophe = apostrophe || name.contains(u'\'');
        accented = accented || name.contains(QChar(0x00D1)) || name.contains(QChar(0x00CD));
        users.insert(r.at(i, 3).toText());
        regular += r.at(i, 4).toInt() == 2 ? 1 : 0;
    }
    EXPECT_TRUE(apostrophe);
    EXPECT_TRUE(accented);
    EXPECT_EQ(users, (std::set<QString>{QStringLiteral("USUARIO0"), QStringLiteral("USUARIO1")}));
    EXPECT_GT(regular, r.rowCount() / 2);

    EXPECT_EQ(
        db_.scalar(QStringLiteral("SELECT Tipo FROM CLAVES WHERE Usuario='USUARIO0'")).toText(),
        QStringLiteral("0"));
}

TEST_F(Installed, DocumentTypesAreFixedRecords)
{
    EXPECT_EQ(param(db_, QStringLiteral("044"), QStringLiteral("6")),
              QString::fromLatin1(kRucRecord));
    EXPECT_EQ(QString::fromLatin1(kRucRecord).size(), 130);

    const qz::QueryResult r =
        db_.query(QStringLiteral("SELECT Argumento, Funcion FROM PARAM WHERE Numero='044'"));
    std::set<QString> codes;
    std::set<QString> legalRepresentative;
    for (int i = 0; i < r.rowCount(); ++i) {
        const QString code = r.at(i, 0).toText();
        const QString record = r.at(i, 1).toText();
        codes.insert(code);
        ASSERT_EQ(record.size(), 130) << qPrintable(code);
        EXPECT_FALSE(record.mid(31, 11).trimmed().isEmpty()) << qPrintable(code);
        EXPECT_TRUE(record.mid(45, 2).toInt() > 0) << qPrintable(code);
        EXPECT_TRUE(QStringLiteral("01").contains(record.at(129))) << qPrintable(code);
        if (record.at(81) == u'1') {
            legalRepresentative.insert(code);
        }
    }
    EXPECT_EQ(codes, (std::set<QString>{"1", "4", "6", "7", "A"}));
    const QString dni = param(db_, QStringLiteral("044"), QStringLiteral("1"));
    EXPECT_EQ(dni.mid(45, 2), QStringLiteral("08"));
    EXPECT_EQ(dni.at(129), u'1'); // exactly eight digits
    EXPECT_TRUE(legalRepresentative.count(QStringLiteral("1")));
    EXPECT_LT(legalRepresentative.size(), codes.size());
}

TEST_F(Installed, BanksZonesTaxUnitsAndFactorsFollowTheirLayouts)
{
    EXPECT_FALSE(param(db_, QStringLiteral("004"), QStringLiteral("00")).isEmpty());
    const qz::QueryResult banks =
        db_.query(QStringLiteral("SELECT Argumento, Funcion FROM PARAM WHERE Numero='004' "
                                 "AND Argumento<>'00'"));
    ASSERT_GE(banks.rowCount(), 3);
    for (int i = 0; i < banks.rowCount(); ++i) {
        const QString f = banks.at(i, 1).toText();
        EXPECT_EQ(banks.at(i, 0).toText().size(), 2);
        EXPECT_FALSE(f.left(36).trimmed().isEmpty());
        EXPECT_EQ(f.at(36), u' ');
        EXPECT_FALSE(f.mid(37, 12).trimmed().isEmpty());
    }

    const qz::QueryResult units =
        db_.query(QStringLiteral("SELECT Argumento, Funcion FROM PARAM WHERE Numero='404'"));
    ASSERT_GE(units.rowCount(), 3);
    const QRegularExpression date(QStringLiteral("^\\d{4}0101$"));
    const QRegularExpression amount(QStringLiteral("^\\d{8}\\.\\d{2}$"));
    for (int i = 0; i < units.rowCount(); ++i) {
        EXPECT_TRUE(date.match(units.at(i, 0).toText()).hasMatch());
        EXPECT_TRUE(amount.match(units.at(i, 1).toText()).hasMatch());
    }

    bool isNumber = false;
    param(db_, QStringLiteral("975"), QStringLiteral("200212")).toDouble(&isNumber);
    EXPECT_TRUE(isNumber);
    EXPECT_GE(db_.scalar(QStringLiteral("SELECT count(*) FROM PARAM WHERE Numero='030'")).toInt(),
              1);
}

TEST_F(Installed, MessageTextsHaveFourDigitCodes)
{
    EXPECT_TRUE(db_.scalar(QStringLiteral("SELECT DescError FROM ERROR WHERE CodError='0151'"))
                    .toText()
                    .contains(QStringLiteral("grabada")));
    const qz::QueryResult r = db_.query(QStringLiteral("SELECT CodError FROM ERROR"));
    ASSERT_GE(r.rowCount(), 3);
    for (int i = 0; i < r.rowCount(); ++i) {
        EXPECT_TRUE(
            QRegularExpression(QStringLiteral("^\\d{4}$")).match(r.at(i, 0).toText()).hasMatch());
    }
}

TEST_F(Installed, FoldersAndSendingRulesMatchTheTables)
{
    for (const char *name : {"RPT", "TMP", "tmp", "0731"}) {
        EXPECT_TRUE(QFileInfo(QDir(inst_.dir()).filePath(QString::fromLatin1(name))).isDir())
            << name;
    }
    const QByteArray bytes = readAll(inst_.dir() + QStringLiteral("/tmp/env731.txt"));
    ASSERT_TRUE(hasOnlyCrLf(bytes));
    std::set<QString> tables;
    for (const QByteArray &line : bytes.split('\n')) {
        if (line.isEmpty()) {
            continue;
        }
        const QString text = QString::fromLatin1(line.chopped(1)); // without CR
        EXPECT_EQ(text.count(u'|'), 13) << qPrintable(text);
        EXPECT_TRUE(text.endsWith(u'|'));
        const QStringList f = text.split(u'|');
        const QString table = f.value(1);
        tables.insert(table);
        if (table != QStringLiteral("CAB") && table != QStringLiteral("DET")) {
            continue; // the module's own tables are made later by decltab
        }
        // Fields 7 to 13 give 1-based positions of the key and state columns, 0 when absent.
        const std::vector<qz::ColumnInfo> columns = db_.columnsOf(table);
        const std::pair<int, const char *> positions[] = {{6, "tip_doc_d"},  {7, "doc_id_d"},
                                                          {8, "formulario"}, {9, "periodo"},
                                                          {10, "estado"},    {12, "semana"}};
        for (const auto &[field, column] : positions) {
            const int pos = f.value(field).toInt();
            const auto found = std::find_if(columns.begin(), columns.end(), [&](const auto &c) {
                return c.name.compare(QString::fromLatin1(column), Qt::CaseInsensitive) == 0;
            });
            const int expected =
                found == columns.end() ? 0 : static_cast<int>(found - columns.begin()) + 1;
            EXPECT_EQ(pos, expected) << qPrintable(table) << " " << column;
        }
    }
    EXPECT_EQ(tables, (std::set<QString>{"CAB", "DET", "F731EMPRESAS", "F731PORCENTAJE"}));
}

TEST_F(Installed, DatabaseIsSoundForAPlainEngineConnection)
{
    // The host's other programs use no functions of ours: a bare connection must be able to
    // check and write the database, the expression index on SPOOL included.
    sqlite3 *raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(inst_.dbPath()).constData(), &raw,
                              SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    sqlite3_stmt *stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(raw, "PRAGMA integrity_check", -1, &stmt, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)), "ok");
    sqlite3_finalize(stmt);
    EXPECT_EQ(sqlite3_exec(raw,
                           "INSERT INTO SPOOL VALUES ('OKR001', 1, '00000007.PRN', "
                           "'2024-01-02 10:00:00', 'USUARIO1', 6, '20100000009')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);
    EXPECT_EQ(db_.scalar(QStringLiteral("SELECT max(left(Archivo,8)) FROM SPOOL")).toText(),
              QStringLiteral("00000007"));
}

TEST(Init, RefusesToOverwriteWithoutForce)
{
    TempInstall inst;
    ASSERT_TRUE(inst.ok()) << qPrintable(inst.message());
    {
        Database db = inst.open();
        db.execute(QStringLiteral("INSERT INTO CLAVES VALUES ('MARCA','1')"));
    }
    const QByteArray ini = readAll(inst.iniPath());

    const qz::InstallResult again = qz::createInstallation(inst.dir(), false, inst.server());
    EXPECT_FALSE(again.ok);
    EXPECT_TRUE(again.message.contains(QStringLiteral("--force"))) << qPrintable(again.message);
    EXPECT_EQ(readAll(inst.iniPath()), ini);
    {
        Database db = inst.open();
        EXPECT_EQ(
            db.scalar(QStringLiteral("SELECT count(*) FROM CLAVES WHERE Usuario='MARCA'")).toInt(),
            1);
    }

    const qz::InstallResult forced = qz::createInstallation(inst.dir(), true, inst.server());
    ASSERT_TRUE(forced.ok) << qPrintable(forced.message);
    Database db = inst.open();
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM CLAVES")).toInt(), 2);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM CONT")).toInt(), 12);
    EXPECT_NO_THROW(qz::verifyWorkgroup(QDir(inst.dir()).filePath(QStringLiteral("QZ000.MDW")),
                                        qz::systemCredentials()));
}

TEST(Init, RefusesAFolderWithOnlyAWorkgroupFileInAnyCase)
{
    TempInstall inst; // provides the configuration folder
    QTemporaryDir other;
    ASSERT_TRUE(other.isValid());
    QFile mdw(QDir(other.path()).filePath(QStringLiteral("qz000.mdw")));
    ASSERT_TRUE(mdw.open(QIODevice::WriteOnly));
    mdw.close();
    const qz::InstallResult result = qz::createInstallation(other.path(), false, inst.server());
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(QFileInfo::exists(QDir(other.path()).filePath(QStringLiteral("QZ000.MDB"))));
}

TEST(Init, FailsClearlyOnAFileOrAnEmptyName)
{
    TempInstall inst;
    const QString file = QDir(inst.dir()).filePath(QStringLiteral("QZ000.MDW"));
    ASSERT_TRUE(QFileInfo(file).isFile());
    const qz::InstallResult onFile = qz::createInstallation(file, true, inst.server());
    EXPECT_FALSE(onFile.ok);
    EXPECT_TRUE(onFile.message.contains(QStringLiteral("not a folder")))
        << qPrintable(onFile.message);
    EXPECT_FALSE(qz::createInstallation(QStringLiteral("  "), true, inst.server()).ok);
}

TEST(TempInstallHelper, RestoresTheConfigurationFolderVariable)
{
    const QByteArray before = qgetenv("QZ_INI_DIR");
    const bool wasSet = qEnvironmentVariableIsSet("QZ_INI_DIR");
    qputenv("QZ_INI_DIR", "/nonexistent/outer");
    {
        TempInstall inst;
        EXPECT_EQ(qEnvironmentVariable("QZ_INI_DIR"), inst.iniDir());
    }
    EXPECT_EQ(qgetenv("QZ_INI_DIR"), QByteArray("/nonexistent/outer"));
    qunsetenv("QZ_INI_DIR");
    {
        TempInstall inst;
    }
    EXPECT_FALSE(qEnvironmentVariableIsSet("QZ_INI_DIR"));
    if (wasSet) {
        qputenv("QZ_INI_DIR", before);
    }
}
