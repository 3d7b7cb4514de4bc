// decltab's two passes: rows, tables, rows again.
#include "core/decltab/tableinstaller.h"

#include "core/data/config.h"
#include "core/data/connection.h"
#include "core/data/numbertext.h"
#include "core/data/paths.h"
#include "core/data/sqltext.h"
#include "core/data/textfile.h"
#include "core/data/transaction.h"

#include <cmath>

namespace qz {

namespace {

const QString kForm = QStringLiteral("0731");
const QString kMessageTitle = QStringLiteral("Mensaje");

struct ParamRow {
    const char *numero, *argumento, *funcion, *correl;
};

// The version record: "1.3 08/07/2022", then blank, no-break space, blank, no-break space,
// blank, then the box "790" that receives the version date.
QString versionRecord()
{
    return QStringLiteral("1.3 08/07/2022 ") + QChar(0xA0) + u' ' + QChar(0xA0) +
           QStringLiteral(" 790");
}

const ParamRow kParamsBefore[] = {
    {"404", "20050101", "00003300.00", "012"},
    {"955", "1", "EMPRESA ABSORBENTE", "001"},
    {"955", "2", "EMPRESA CONSTITUIDA POR EFECTO DE LA FUSION", "002"},
    {"955", "3", "EMPRESA ADQUIRIENTE DE BLOQUES PATRIMONIALES DE EMPRESAS ESCINDIDAS", "003"},
    {"955", "4", "EMPRESA NUEVA ADQUIRIENTE DE BLOQUES PATRIMONIALES EN UN PROCESO DE ESCISION",
     "004"},
    {"955", "5", "EMPRESA ESCINDIDA NO EXTINGUIDA CEDENTE DE UNO O MAS BLOQUES PATRIMONIALES",
     "000"},
    {"981", "0731", "955 859", "001"},
    {"996", "323", "F731EMPRESAS   R 1000   6", ""},
    {"996", "324", "HF731EMPRESAS  R 1000   7", ""},
    {"992", "0731", "1", ""},
    {"856", "0731", nullptr, "000"}, // the version record
    {"859", "20050101", "0005000000       00.00600", "001"},
    {"859", "20060101", "0005000000       00.00600", "002"},
    {"859", "20070101", "0001000000       00.00500", "003"},
    {"859", "20080101", "0001000000       00.00500", "004"},
    {"859", "20090101", "0001000000       00.00400", "005"},
};

struct ModuleTable {
    const char *name, *create, *key;
};

const ModuleTable kTables[] = {
    {"F731EMPRESAS",
     "CREATE TABLE F731EMPRESAS( [tip_doc_d] Byte, [doc_id_d] text(15),[periodo] Text(6),  "
     "[formulario] Text (4), [tip_doc_emp] Byte,  [num_doc_emp] text(15), [tip_empresa] "
     "Text(1), [des_razon] Text(50),  [mto_activos] text(15), [porc_part] text(6), [mto_adic] "
     "text(15),  [mto_deduc] text(15), [mto_base_imp] text(15), [mto_imp_pag] text(15), "
     "[cnumero] text(6));",
     "ALTER TABLE F731EMPRESAS ADD CONSTRAINT PK_F731EMPRESAS PRIMARY KEY ([tip_doc_d],"
     "[doc_id_d],  [periodo],[Formulario],  [tip_doc_emp],[num_doc_emp]);"},
    {"HF731EMPRESAS",
     "CREATE TABLE HF731EMPRESAS( [tip_doc_d] Byte, [doc_id_d] text(15),[periodo] Text(6),  "
     "[formulario] Text (4), [correl] Text(3), [tip_doc_emp] Byte,  [num_doc_emp] text(15), "
     "[tip_empresa] Text(1), [des_razon] Text(50),  [mto_activos] text(15), [porc_part] "
     "text(6), [mto_adic] text(15),  [mto_deduc] text(15), [mto_base_imp] text(15), "
     "[mto_imp_pag] text(15), [cnumero] text(6));",
     "ALTER TABLE HF731EMPRESAS ADD CONSTRAINT PK_HF731EMPRESAS PRIMARY KEY ([tip_doc_d],"
     "[doc_id_d],  [periodo],[Formulario], [correl], [tip_doc_emp],[num_doc_emp]);"},
    {"TMPF731EMPRESAS",
     "CREATE TABLE TMPF731EMPRESAS( [num_doc_emp] text(15), [tip_empresa] Text(1), "
     "[des_razon] Text(50), [mto_activos] text(15), [porc_part] text(6), [mto_adic] text(15), "
     "[mto_deduc] text(15), [mto_base_imp] text(15), [mto_imp_pag] text(15));",
     "ALTER TABLE TMPF731EMPRESAS ADD CONSTRAINT PK_TMPF731EMPRESAS PRIMARY KEY "
     "([num_doc_emp]);"},
    {"F731PORCENTAJE",
     "CREATE TABLE F731PORCENTAJE( [tip_doc_d] Byte, [doc_id_d] text(15),[periodo] Text(6), "
     "[formulario] Text (4), [mto_det] double , [mto_net] double, [cnumero] text(6));",
     "ALTER TABLE F731PORCENTAJE ADD CONSTRAINT PK_F731PORCENTAJE PRIMARY KEY ([tip_doc_d],"
     "[doc_id_d], [periodo],[Formulario]);"},
};

// A field 5-13 as a number: small whole numbers for 5-7 (rounded as the host's integer
// conversion does, half to even), numbers for 8-13; nullopt when it is not a number.
std::optional<QString> numberField(const QString &field, bool whole)
{
    std::optional<double> v = readNumberText(field);
    if (!v) {
        return std::nullopt;
    }
    if (whole) {
        double r = std::nearbyint(*v);
        if (r < -32768 || r > 32767) {
            return std::nullopt;
        }
        return QString::number(static_cast<int>(r));
    }
    return QString::number(*v, 'g', 15);
}

} // namespace

bool readEnvioRows(const QString &path, std::vector<EnvioRow> *rows, QStringList *problems)
{
    QStringList lines;
    QString error;
    if (!readHostLines(path, &lines, &error)) {
        problems->append(QStringLiteral("No se puede leer el archivo %1: %2").arg(path, error));
        return false;
    }
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (line.trimmed().isEmpty()) {
            break;
        }
        const QStringList f = line.split(u'|');
        if (f.size() < 14) {
            problems->append(QStringLiteral("Archivo %1, línea %2: tiene %3 campos y se esperan "
                                            "13 terminados en \"|\"; la línea no se graba.")
                                 .arg(path)
                                 .arg(i + 1)
                                 .arg(f.size() - 1));
            continue;
        }
        EnvioRow row;
        row.tablaO = f[1].trimmed();
        row.tablaD = f[2].isEmpty() ? QStringLiteral(" ") : f[2];
        row.tablaExt = f[3].trimmed();
        bool ok = true;
        for (int k = 4; k <= 12 && ok; ++k) {
            std::optional<QString> n = numberField(f[k], k <= 6);
            if (!n) {
                problems->append(QStringLiteral("Archivo %1, línea %2: el campo %3 (\"%4\") no "
                                                "es un número válido; la línea no se graba.")
                                     .arg(path)
                                     .arg(i + 1)
                                     .arg(k + 1)
                                     .arg(f[k]));
                ok = false;
            } else {
                row.numbers << *n;
            }
        }
        if (ok) {
            rows->push_back(row);
        }
    }
    return true;
}

int TableInstaller::run()
{
    Config config = loadInstallerConfig();
    sysPath_ = config.sysPath;
    if (sysPath_.isEmpty()) {
        messenger_.show(MessageIcon::Information, kMessageTitle,
                        QStringLiteral("Debe instalar primero el ZEB "));
        return 1;
    }
    for (int pass = 1; pass <= 2; ++pass) {
        try {
            Database db = openSharedDatabase(config, Program::Decltab);
            Transaction t(db);
            if (pass == 2) {
                createTables(db);
                // Step "porc_part accepts empty text": SQLite's text columns always accept
                // empty text, so there is nothing to change.
            }
            writeRows(db);
            t.commit();
        } catch (const DbError &e) {
            reportStatementErrors();
            messenger_.show(MessageIcon::Critical, openErrorTitle(),
                            openErrorText(e, Program::Decltab));
            return 1;
        }
    }
    reportStatementErrors();
    return failed_ ? 1 : 0;
}

void TableInstaller::problem(const QString &title, const QString &text)
{
    failed_ = true;
    messenger_.show(MessageIcon::Critical, title, text);
}

void TableInstaller::statementFailed(const DbError &error)
{
    failed_ = true;
    for (StatementErrors &e : statementErrors_) {
        if (e.first.number() == error.number()) {
            ++e.count;
            return;
        }
    }
    statementErrors_.push_back({error, 1});
}

void TableInstaller::reportStatementErrors()
{
    for (const StatementErrors &e : statementErrors_) {
        QString text = QStringLiteral("Error Número : ") + QString::number(e.first.number()) +
                       u'\n' + e.first.description();
        if (e.count > 1) {
            text += QStringLiteral("\n\n%1 sentencias fallaron con este error; se muestra la "
                                   "primera.")
                        .arg(e.count);
        }
        problem(QStringLiteral("Error al Ejecutar Sentencia SQL"), text);
    }
    statementErrors_.clear();
}

const std::vector<EnvioRow> &TableInstaller::envioRows()
{
    if (!envioRows_) {
        const QString path = resolveHostPath(sysPath_, QStringLiteral("tmp\\env731.txt"));
        QStringList problems;
        envioRows_.emplace();
        readEnvioRows(path, &*envioRows_, &problems);
        for (const QString &p : problems) {
            problem(kMessageTitle, p);
        }
    }
    return *envioRows_;
}

bool TableInstaller::execute(Database &db, const QString &sql)
{
    try {
        db.execute(sql);
        return true;
    } catch (const DbError &e) {
        if (e.number() == dberr::kTableExists) {
            // The answer changes nothing: the existing table is kept.
            messenger_.show(MessageIcon::Question, kMessageTitle,
                            QStringLiteral("Se  detectado que ya existen las tablas del ZEB "
                                           "LUMBRAL\n Desea Sobreescribirlas?"),
                            MessageButtons::YesNo, MessageAnswer::No);
        } else if (e.number() != dberr::kPrimaryKeyExists) {
            statementFailed(e);
        }
        return false;
    }
}

bool TableInstaller::exists(Database &db, const QString &sql)
{
    try {
        return !db.query(sql).isEmpty();
    } catch (const DbError &e) {
        statementFailed(e);
        return false;
    }
}

void TableInstaller::writeParam(Database &db, const QString &n, const QString &a, const QString &f,
                                const QString &c)
{
    const QString where = QStringLiteral(" Where Numero='") + sqlText(n) +
                          QStringLiteral("' AND Argumento='") + sqlText(a) + u'\'';
    if (exists(db, QStringLiteral("Select * from Param") + where)) {
        execute(db, QStringLiteral("Update Param Set Funcion='") + sqlText(f) +
                        QStringLiteral("', Correl_param='") + sqlText(c) + u'\'' + where);
    } else {
        execute(db, QStringLiteral("insert into Param ") + QStringLiteral("values ('") +
                        sqlText(n) + QStringLiteral("','") + sqlText(a) + QStringLiteral("','") +
                        sqlText(f) + QStringLiteral("','") + sqlText(c) + QStringLiteral("')"));
    }
}

void TableInstaller::writeReporte(Database &db, const QString &code, const QString &description)
{
    if (exists(db,
               QStringLiteral("Select * from Reportes Where CodRep='") + sqlText(code) + u'\'')) {
        execute(db, QStringLiteral("Update Reportes Set DescRep='") + sqlText(description) +
                        QStringLiteral("' Where CodRep='") + sqlText(code) + u'\'');
    } else {
        execute(db, QStringLiteral("insert into reportes ") + QStringLiteral("values ('") +
                        sqlText(code) + QStringLiteral("','") + sqlText(description) +
                        QStringLiteral("',1)"));
    }
}

void TableInstaller::writeEnvio(Database &db, const EnvioRow &r)
{
    const QString where = QStringLiteral(" Where formulario='") + kForm +
                          QStringLiteral("' AND tabla_o='") + sqlText(r.tablaO) + u'\'';
    const QStringList &n = r.numbers;
    if (exists(db, QStringLiteral("Select * from envio_t") + where)) {
        execute(db, QStringLiteral("Update envio_t set ") + QStringLiteral(" tabla_d = '") +
                        sqlText(r.tablaD) + QStringLiteral("', tabla_ext = '") +
                        sqlText(r.tablaExt) + QStringLiteral("', indice=") + n[0] +
                        QStringLiteral(", obliga=") + n[1] + QStringLiteral(", c_tip_doc_d=") +
                        n[2] + QStringLiteral(", c_doc_id_d =") + n[3] +
                        QStringLiteral(", c_Formulario=") + n[4] + QStringLiteral(", c_periodo=") +
                        n[5] + QStringLiteral(", c_estado=") + n[6] + QStringLiteral(", c_envio=") +
                        n[7] + QStringLiteral(", c_semana=") + n[8] + where);
    } else {
        execute(db, QStringLiteral("insert into envio_t ") + QStringLiteral("values ( '") + kForm +
                        QStringLiteral("','") + sqlText(r.tablaO) + QStringLiteral("','") +
                        sqlText(r.tablaD) + QStringLiteral("','") + sqlText(r.tablaExt) +
                        QStringLiteral("',") + n.join(u',') + u')');
    }
}

void TableInstaller::writeRows(Database &db)
{
    for (const ParamRow &p : kParamsBefore) {
        writeParam(db, QString::fromUtf8(p.numero), QString::fromUtf8(p.argumento),
                   p.funcion ? QString::fromUtf8(p.funcion) : versionRecord(),
                   QString::fromUtf8(p.correl));
    }
    writeReporte(db, QStringLiteral("OKR001"), QString::fromUtf8("OKRE – Declaración"));
    writeReporte(db, QStringLiteral("OKR002"),
                 QString::fromUtf8("Resumen de Declaración Generada - 0731"));
    writeReporte(db, QStringLiteral("OKR003"), QString::fromUtf8("OKRE – Declaración y anexos"));
    writeParam(db, QStringLiteral("996"), QStringLiteral("570"),
               QStringLiteral("F731PORCENTAJE R 1000   4"), QString());

    for (const EnvioRow &r : envioRows()) {
        writeEnvio(db, r);
    }
}

void TableInstaller::createTables(Database &db)
{
    for (const ModuleTable &t : kTables) {
        if (db.tableExists(QString::fromLatin1(t.name))) {
            continue;
        }
        if (execute(db, QString::fromLatin1(t.create))) {
            execute(db, QString::fromLatin1(t.key));
        }
    }
}

} // namespace qz
