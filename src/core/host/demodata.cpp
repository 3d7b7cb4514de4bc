// Demo rows of a fresh host installation.
//
// Taxpayer numbers are built from ten digits and their check digit, so every demo RUC passes
// the module's taxpayer-number check. Parameter records are laid out in the host's fixed
// columns (1-based positions as the programs read them with Mid).
#include "core/host/demodata.h"

#include "core/components/textutility.h"
#include "core/data/database.h"
#include "core/data/lookups.h"
#include "core/data/sqltext.h"

#include <QStringList>

namespace qz {

namespace {

// A record of the given width, blank except for the fields placed at their positions.
class FixedRecord {
public:
    explicit FixedRecord(int width) : text_(width, u' ') {}
    FixedRecord &put(int position, int length, const QString &value)
    {
        text_.replace(position - 1, length, value.leftJustified(length, u' ', true));
        return *this;
    }
    QString text() const { return text_; }

private:
    QString text_;
};

void insertRow(Database &db, const QString &table, const QStringList &values)
{
    QStringList quoted;
    for (const QString &v : values) {
        quoted << sqlQuoted(v);
    }
    db.execute(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table, quoted.join(u',')));
}

void insertParam(Database &db, const QString &numero, const QString &argumento,
                 const QString &funcion, int correl)
{
    insertRow(db, QStringLiteral("PARAM"),
              {numero, argumento, funcion, QStringLiteral("%1").arg(correl, 3, 10, QChar(u'0'))});
}

struct Taxpayer {
    const char *firstTen;
    int tipoIngreso;
    const char *nombre; // UTF-8
    const char *usuario;
};

constexpr Taxpayer kTaxpayers[] = {
    {"2051234567", 2, "COMERCIAL ANDINA S.A.", kDemoUser},
    {"2060011122", 2, "INVERSIONES D'ALESSANDRO S.A.C.", kDemoUser},
    {"2044455566", 2, "AGROINDUSTRIAL CAÑETE Y CÍA. S.A.C.", kDemoUser},
    {"2013579246", 2, "EMPRESA DE TRANSPORTES EL SOL S.A.", kDemoUserAll},
    {"2098765432", 2, "DISTRIBUIDORA DEL PACIFICO S.R.L.", kDemoUserAll},
    {"2070707070", 1, "TEXTIL SAN MARTIN S.A.", kDemoUser},
    {"2033322211", 2, "COOPERATIVA AGRARIA LOS ANDES LTDA.", kDemoUser},
    {"2055566677", 2, "INDUSTRIAS METALICAS DEL CENTRO S.A.", kDemoUserAll},
    {"1040506070", 2, "QUISPE MAMANI JUAN CARLOS", kDemoUser},
    {"1512345678", 1, "HUAMAN ROJAS ROSA MARIA", kDemoUserAll},
    {"1700112233", 2, "ASOCIACION CIVIL SANTA ROSA", kDemoUserAll},
    {"2022233344", 2, "CORPORACION FINANCIERA DEL NORTE S.A.", kDemoUser},
};

void insertUsersAndTaxpayers(Database &db)
{
    insertRow(db, QStringLiteral("CLAVES"), {kDemoUserAll, QStringLiteral("0")});
    insertRow(db, QStringLiteral("CLAVES"), {kDemoUser, QStringLiteral("1")});
    for (const Taxpayer &t : kTaxpayers) {
        db.execute(QStringLiteral("INSERT INTO CONT (Tip_doc_d, Doc_id_d, Tipo_ingreso, Nombre, "
                                  "Usuario) VALUES (6, %1, %2, %3, %4)")
                       .arg(sqlQuoted(TextUtility::completeRuc(QString::fromLatin1(t.firstTen))))
                       .arg(t.tipoIngreso)
                       .arg(sqlQuoted(QString::fromUtf8(t.nombre)),
                            sqlQuoted(QString::fromLatin1(t.usuario))));
    }
}

// '004': 1-36 name, 38-49 short name; '00' is the "no bank" entry of the payment form.
void insertBanks(Database &db)
{
    static const char *const kBanks[][3] = {
        {"00", "NINGUNO", "NINGUNO"},
        {"01", "BANCO DE LA NACION", "B. NACION"},
        {"02", "BANCO DE CREDITO DEL NORTE", "CREDITO NOR."},
        {"03", "BANCO CONTINENTAL DEL SUR", "CONTINENTAL"},
        {"04", "BANCO INTERAMERICANO DE FOMENTO", "INTERAMERIC."},
        {"05", "CAJA MUNICIPAL DE AHORRO Y CREDITO", "CAJA MUNIC."},
        {"06", "BANCO AGRARIO", "AGRARIO"},
    };
    int correl = 0;
    for (const auto &bank : kBanks) {
        const QString funcion = FixedRecord(49)
                                    .put(1, 36, QString::fromLatin1(bank[1]))
                                    .put(38, 12, QString::fromLatin1(bank[2]))
                                    .text();
        insertParam(db, QStringLiteral("004"), QString::fromLatin1(bank[0]), funcion, ++correl);
    }
}

// '030': zones of the accountants' registration, two-character codes.
void insertZones(Database &db)
{
    static const char *const kZones[][2] = {
        {"01", "ZONA CENTRO"},  {"02", "ZONA NORTE"},  {"03", "ZONA SUR"},
        {"04", "ZONA ORIENTE"}, {"05", "ZONA SIERRA"}, {"06", "ZONA COSTA"},
    };
    int correl = 0;
    for (const auto &zone : kZones) {
        insertParam(db, QStringLiteral("030"), QString::fromLatin1(zone[0]),
                    QString::fromLatin1(zone[1]), ++correl);
    }
}

// '044': 1-30 name, 32-42 short name, 46-47 length, 49-54 flags, 56-57 display order,
// 59-82 use flags (82: allowed for the legal representative), 126 flag, 128 data kind,
// 130 length kind (1: exactly the length of 46-47).
void insertDocumentTypes(Database &db)
{
    struct DocType {
        const char *code;
        const char *name;
        const char *shortName;
        const char *length;
        const char *order;
        bool legalRepresentative;
        char dataKind;
        char lengthKind;
    };
    static constexpr DocType kTypes[] = {
        {"1", "DOC. NACIONAL DE IDENTIDAD", "DNI", "08", "02", true, '5', '1'},
        {"4", "CARNET DE EXTRANJERIA", "CARNET EXT.", "12", "03", true, '0', '0'},
        {"7", "PASAPORTE", "PASAPORTE", "12", "04", true, '0', '0'},
        {"A", "CED. DIPLOMATICA DE IDENTIDAD", "CED. DIPLOM", "15", "05", false, '5', '0'},
    };
    insertParam(db, QStringLiteral("044"), QStringLiteral("6"), builtinRucRecord(), 1);
    int correl = 1;
    for (const DocType &t : kTypes) {
        const QString useFlags =
            QStringLiteral("00000100000110011101111") + QChar(t.legalRepresentative ? u'1' : u'0');
        const QString record = FixedRecord(130)
                                   .put(1, 30, QString::fromLatin1(t.name))
                                   .put(32, 11, QString::fromLatin1(t.shortName))
                                   .put(46, 2, QString::fromLatin1(t.length))
                                   .put(49, 6, QStringLiteral("000110"))
                                   .put(56, 2, QString::fromLatin1(t.order))
                                   .put(59, 24, useFlags)
                                   .put(126, 1, QStringLiteral("0"))
                                   .put(128, 1, QString(QChar::fromLatin1(t.dataKind)))
                                   .put(130, 1, QString(QChar::fromLatin1(t.lengthKind)))
                                   .text();
        insertParam(db, QStringLiteral("044"), QString::fromLatin1(t.code), record, ++correl);
    }
}

// '404': tax-unit values by first day of validity; decltab adds the row of 2005 itself.
// '975': adjustment factors by year and month; a new declaration needs the one of 200212.
void insertTaxUnitsAndFactors(Database &db)
{
    static const char *const kTaxUnits[][2] = {
        {"20010101", "00003000.00"}, {"20020101", "00003100.00"}, {"20030101", "00003100.00"},
        {"20040101", "00003200.00"}, {"20060101", "00003400.00"}, {"20070101", "00003450.00"},
        {"20080101", "00003500.00"}, {"20090101", "00003550.00"}, {"20100101", "00003600.00"},
    };
    int correl = 0;
    for (const auto &unit : kTaxUnits) {
        insertParam(db, QStringLiteral("404"), QString::fromLatin1(unit[0]),
                    QString::fromLatin1(unit[1]), ++correl);
    }
    static const char *const kFactors[][2] = {
        {"200210", "1.004"}, {"200211", "1.002"}, {"200212", "1.000"}};
    correl = 0;
    for (const auto &factor : kFactors) {
        insertParam(db, QStringLiteral("975"), QString::fromLatin1(factor[0]),
                    QString::fromLatin1(factor[1]), ++correl);
    }
}

void insertMessages(Database &db)
{
    static const char *const kMessages[][2] = {
        {"0001", "Error general del sistema."},
        {"0100", "El contribuyente no está registrado."},
        {"0150", "La declaración no pudo ser grabada."},
        {"0151", "La declaración fue grabada satisfactoriamente."},
        {"0152", "La declaración fue eliminada satisfactoriamente."},
        {"0200", "No existe información para el periodo indicado."},
    };
    for (const auto &message : kMessages) {
        insertRow(db, QStringLiteral("ERROR"),
                  {QString::fromLatin1(message[0]), QString::fromUtf8(message[1])});
    }
}

} // namespace

void insertDemoData(Database &db)
{
    insertUsersAndTaxpayers(db);
    insertBanks(db);
    insertZones(db);
    insertDocumentTypes(db);
    insertTaxUnitsAndFactors(db);
    insertMessages(db);
}

} // namespace qz
