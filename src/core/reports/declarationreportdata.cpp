// Loading a stored declaration for the printed declaration.
#include "core/reports/declarationreportdata.h"

#include "core/data/database.h"
#include "core/data/hosttext.h"
#include "core/data/lookups.h"
#include "core/data/sqltext.h"

namespace qz {

namespace {

QString textAt(const QueryResult &r, int row, const char *column)
{
    const int c = r.indexOf(QString::fromLatin1(column));
    return c < 0 ? QString() : r.at(row, c).toText();
}

// The condition the detail statements share; the annex uses the trimmed RUC.
QString detailCondition(const DeclarationSelection &s, const QString &ruc)
{
    QString sql =
        (s.sent ? QStringLiteral("SELECT * FROM HDET") : QStringLiteral("SELECT * FROM DET")) +
        QStringLiteral(" WHERE DOC_ID_D='") + sqlText(ruc) + QStringLiteral("'") +
        QStringLiteral(" AND TIP_DOC_D=6") + QStringLiteral(" AND PERIODO='") + sqlText(s.period) +
        QStringLiteral("'") + QStringLiteral(" AND FORMULARIO='") + sqlText(s.form) +
        QStringLiteral("'");
    if (s.sent) {
        sql += QStringLiteral(" AND CORREL='") + sqlText(s.correl) + QStringLiteral("'");
    }
    return sql;
}

// Whole units, halves away from zero.
Currency roundedToUnits(Currency c)
{
    const std::int64_t raw = c.raw();
    const std::int64_t half = Currency::kScale / 2;
    const std::int64_t units =
        raw >= 0 ? (raw + half) / Currency::kScale : -((-raw + half) / Currency::kScale);
    return Currency::fromInt(units);
}

} // namespace

QString DeclarationData::box(int n) const
{
    return n >= 1 && n < static_cast<int>(boxes_.size()) ? boxes_[static_cast<std::size_t>(n)]
                                                         : QString();
}

void DeclarationData::setBox(int n, const QString &value)
{
    if (n >= 1 && n < static_cast<int>(boxes_.size())) {
        boxes_[static_cast<std::size_t>(n)] = value;
    }
}

QString DeclarationData::mergerDate() const
{
    // Stored as yyyymmdd; a text of any other length is printed as it is stored.
    const QString d = box(520);
    if (d.size() != 8) {
        return d;
    }
    return d.mid(6, 2) + u'/' + d.mid(4, 2) + u'/' + d.left(4);
}

QString DeclarationData::boxAnswer(int n) const
{
    return box(n) == QLatin1String("1") ? QStringLiteral("SI") : QStringLiteral("NO");
}

QString sentHeaderStatement(const DeclarationSelection &s)
{
    return QStringLiteral("Select * from HCAB") + QStringLiteral(" where DOC_ID_D ='") +
           sqlText(s.ruc) + QStringLiteral("'") + QStringLiteral(" and TIP_DOC_D=6") +
           QStringLiteral(" and PERIODO ='") + sqlText(s.period) + QStringLiteral("'") +
           QStringLiteral(" and FORMULARIO = '") + sqlText(s.form) + QStringLiteral("'") +
           QStringLiteral(" AND CORREL ='") + sqlText(s.correl) + QStringLiteral("' ");
}

QString detailStatement(const DeclarationSelection &s)
{
    return detailCondition(s, s.ruc) + QStringLiteral(" ORDER BY Casilla");
}

QString box828Statement(const QString &code)
{
    return QStringLiteral("SELECT MID(ARGUMENTO,1,1) as codigo, mid(FUNCION,1,78) as descrip ") +
           QStringLiteral("FROM PARAM ") +
           QStringLiteral("WHERE NUMERO='955' AND TRIM(ARGUMENTO)= '") + sqlText(code) +
           QStringLiteral("'");
}

QString paymentStatement(const DeclarationSelection &s)
{
    QString sql =
        (s.sent ? QStringLiteral("select * from HCAB") : QStringLiteral("select * from CAB")) +
        QStringLiteral(" where DOC_ID_D ='") + sqlText(s.ruc) + QStringLiteral("'") +
        QStringLiteral(" and TIP_DOC_D=6") + QStringLiteral(" and PERIODO ='") + sqlText(s.period) +
        QStringLiteral("'") + QStringLiteral(" and FORMULARIO = '") + sqlText(s.form) +
        QStringLiteral("'");
    if (s.sent) {
        sql += QStringLiteral(" AND CORREL ='") + sqlText(s.correl) + QStringLiteral("' ");
    }
    return sql;
}

QString bankStatement(const QString &bankCode)
{
    return QStringLiteral("SELECT * FROM PARAM WHERE Numero='004' AND Argumento='") +
           sqlText(bankCode) + QStringLiteral("'");
}

QString annexStatement(const DeclarationSelection &s)
{
    return detailCondition(s, trimBlanks(s.ruc)) +
           QStringLiteral(" AND VAL(CASILLA) >= 546 AND VAL(CASILLA) <= 556");
}

DeclarationData loadDeclaration(Database &db, const DeclarationSelection &s)
{
    DeclarationData d;

    // 1. The order number of a sent declaration.
    if (s.sent) {
        const QueryResult h = db.query(sentHeaderStatement(s));
        if (!h.isEmpty()) {
            d.orderNumber = textAt(h, 0, "norden");
        }
    }

    // 2. The box table: every detail row below 900 by the integer value of its box.
    const QueryResult det = db.query(detailStatement(s));
    const int casilla = det.indexOf(QStringLiteral("Casilla"));
    const int valor = det.indexOf(QStringLiteral("I_valor"));
    for (int row = 0; row < det.rowCount(); ++row) {
        const std::int64_t n = casilla < 0 ? 0 : det.at(row, casilla).toInt();
        if (n < 900 && valor >= 0) {
            d.setBox(static_cast<int>(n), det.at(row, valor).toText());
        }
    }

    // 3. The description of the code in box 828.
    const QString code828 = d.box(828);
    if (!trimBlanks(code828).isEmpty()) {
        const QueryResult p = db.query(box828Statement(code828));
        if (!p.isEmpty()) {
            d.description828 = trimBlanks(textAt(p, 0, "descrip"));
        }
    }

    // 4. The form of payment: a cheque when bcolibrad is neither Null nor blank.
    const QueryResult pay = db.query(paymentStatement(s));
    if (!pay.isEmpty()) {
        const int bank = pay.indexOf(QStringLiteral("bcolibrad"));
        if (bank >= 0 && !pay.at(0, bank).isNull() &&
            !trimBlanks(pay.at(0, bank).toText()).isEmpty()) {
            d.cheque = true;
            d.bankCode = pay.at(0, bank).toText();
            d.chequeNumber = textAt(pay, 0, "nrocheque");
            const QueryResult b = db.query(bankStatement(d.bankCode));
            if (!b.isEmpty()) {
                d.bankName = trimBlanks(fixedField(textAt(b, 0, "Funcion"), 38, 12));
            }
        }
    }

    // 5. The amounts of the box 105 annex and their total.
    if (s.annex) {
        const QueryResult a = db.query(annexStatement(s));
        const int ac = a.indexOf(QStringLiteral("Casilla"));
        const int av = a.indexOf(QStringLiteral("I_valor"));
        for (int row = 0; row < a.rowCount() && ac >= 0 && av >= 0; ++row) {
            const std::int64_t i = a.at(row, ac).toInt() - DeclarationData::kFirstAnnexBox;
            if (i >= 0 && i < DeclarationData::kAnnexCount) {
                d.annex[static_cast<std::size_t>(i)] = Currency::fromText(a.at(row, av).toText());
            }
        }
        Currency total;
        for (const Currency &amount : d.annex) {
            total += amount;
        }
        d.annexTotal = roundedToUnits(total);
    }
    return d;
}

} // namespace qz
