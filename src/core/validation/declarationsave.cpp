// The save of a declaration and the registration of an order number.
#include "core/validation/declarationsave.h"

#include "core/data/clock.h"
#include "core/data/controlcode.h"
#include "core/data/currency.h"
#include "core/data/format.h"
#include "core/data/lookups.h"
#include "core/data/numbertext.h"
#include "core/data/sqltext.h"
#include "core/data/transaction.h"
#include "core/declaration/boxes.h"
#include "core/declaration/boxvalue.h"
#include "core/declaration/declarationkey.h"
#include "core/declaration/periodrules.h"

namespace qz {

namespace {

using F = ReviewStop::Focus;

// The boxes whose value is stored as it stands (codes, names, numbers that are not amounts).
bool storedUnchanged(int box)
{
    switch (box) {
    case 209:
    case 7:
    case 225:
    case 15:
    case 812:
    case 220:
    case 224:
    case 211:
    case 212:
    case 226:
    case 721:
    case 722:
    case 221:
    case 790:
    case 110:
        return true;
    default:
        return false;
    }
}

QString plainAmount(const QString &text)
{
    return reformat(text, kPlainPattern);
}

QString savedElsewhereText()
{
    return QStringLiteral("La declaración fue grabada desde otra estación de trabajo después de "
                          "que usted la abrió. No se grabó, para no deshacer esa grabación: lo "
                          "que usted digitó sigue en la ventana. Salga sin grabar y vuelva a "
                          "abrir la declaración para ver la que está grabada.");
}

} // namespace

QString DeclarationSave::keys(const QString &ruc, const QString &exercise) const
{
    return declarationKey(ruc, exercise, model_.sFormulario());
}

std::optional<ReviewStop> DeclarationSave::checks()
{
    const QString ruc = model_.taxpayerRuc().trimmed();
    if (auto stop = review_.taxpayerCheck()) {
        return stop;
    }
    if (!ValidaPeriodo(model_.field(Field::Periodo), today())) {
        return ReviewStop{QStringLiteral("El ejercicio no es válido."), 0, F::Field, 0,
                          Field::Periodo};
    }
    const QString b208 = model_.text(208).trimmed();
    if (!b208.isEmpty() && !review_.validRuc(b208)) {
        return ReviewStop{QStringLiteral("El RUC no es Válido."), 4, F::Box, 208};
    }
    if (!b208.isEmpty() && b208 == ruc) {
        return ReviewStop{QStringLiteral("El RUC no puede ser igual al RUC del Contribuyente."), 4,
                          F::Box, 208};
    }
    const QString type = model_.representativeType().left(2);
    const QString b226 = model_.text(226).trimmed();
    if (type == QLatin1String("06") && !b226.isEmpty() && !review_.validRuc(b226)) {
        return ReviewStop{QStringLiteral("El RUC no es válido."), 4, F::Box, 226};
    }
    if (!b226.isEmpty() && b226 == ruc) {
        return ReviewStop{QStringLiteral("El RUC no puede ser igual al RUC del Contribuyente."), 4,
                          F::Box, 226};
    }
    return review_.dniCheck();
}

void DeclarationSave::writeHeader(const QString &ruc, const QString &exercise, bool consistent)
{
    Database &db = model_.db();
    std::vector<Record> rows =
        db.selectForUpdate(QStringLiteral("SELECT * FROM CAB") + keys(ruc, exercise));
    Record row = rows.empty() ? db.newRecord(QStringLiteral("CAB")) : rows.front();
    if (rows.empty()) {
        row.set(QStringLiteral("doc_id_d"), ruc);
        row.set(QStringLiteral("Tip_doc_d"), 6);
        row.set(QStringLiteral("periodo"), exercise);
        row.set(QStringLiteral("Formulario"), model_.sFormulario());
        row.set(QStringLiteral("semana"), 0);
    }
    const PaymentState &p = model_.payment();
    const bool cheque = p.paymentType() == QLatin1String("C");
    const QString amount = model_.vacio(180) ? QString() : plainAmount(model_.text(180).trimmed());
    const QString blank = QStringLiteral(" ");
    row.set(QStringLiteral("fec_pro"), formatDate(now(), QStringLiteral("dd/mm/yyyy")));
    row.set(QStringLiteral("bcolibrad"), cheque ? p.bankCode() : blank);
    row.set(QStringLiteral("nrocheque"), cheque ? p.chequeNumber() : blank);
    row.set(QStringLiteral("cheque"), cheque ? amount : blank);
    row.set(QStringLiteral("efectivo"), cheque ? blank : (amount.isEmpty() ? blank : amount));
    row.set(QStringLiteral("estado"), consistent ? 0 : 9);
    row.set(QStringLiteral("rectifica"), model_.answer(Answer::Rectifica));
    row.set(QStringLiteral("cNumero"), recordControlCode(row, 5));
    db.store(row);
}

bool DeclarationSave::GrabaCasilla(const QString &box, const QString &value,
                                   const QString &exercise, const QString &ruc)
{
    const QString t = value.trimmed();
    if (t.isEmpty() || value == QLatin1String("\t") || value == QLatin1String("\n") ||
        value == QLatin1String("\r") || t == QLatin1String("________")) {
        return false;
    }
    Database &db = model_.db();
    std::vector<Record> rows = db.selectForUpdate(
        QStringLiteral("SELECT * FROM DET") + keys(ruc.trimmed(), exercise.trimmed()) +
        QStringLiteral(" AND CASILLA='") + sqlText(box) + u'\'');
    Record row = rows.empty() ? db.newRecord(QStringLiteral("DET")) : rows.front();
    if (rows.empty()) {
        row.set(QStringLiteral("doc_id_d"), ruc.trimmed());
        row.set(QStringLiteral("Tip_doc_d"), 6);
        row.set(QStringLiteral("periodo"), exercise.trimmed());
        row.set(QStringLiteral("Formulario"), model_.sFormulario());
        row.set(QStringLiteral("semana"), 0);
        row.set(QStringLiteral("Casilla"), box);
    }
    const int n = static_cast<int>(val(box));
    row.set(QStringLiteral("i_valor"), storedUnchanged(n) ? value : plainAmount(value));
    row.set(QStringLiteral("idcasilla"), n == 180 ? QStringLiteral("05") : QStringLiteral("01"));
    row.set(QStringLiteral("cNumero"), recordControlCode(row, 6));
    db.store(row);
    return true;
}

QString DeclarationSave::fingerprint()
{
    Database &db = model_.db();
    const QueryResult r = db.query(QStringLiteral("SELECT * FROM PARAM WHERE numero='981' AND "
                                                  "left(argumento,4)='") +
                                   sqlText(model_.sFormulario()) + u'\'');
    const QString f =
        r.isEmpty() ? QString() : r.at(0, QStringLiteral("Funcion")).toText().trimmed();
    Currency total;
    const int count = static_cast<int>((f.size() + 1) / 4);
    for (int i = 0; i < count; ++i) {
        const QString k = f.mid(i * 4, 3);
        const QueryResult rows =
            db.query(QStringLiteral("SELECT * FROM PARAM WHERE numero='") + sqlText(k) + u'\'');
        Currency s;
        for (int j = 0; j < rows.rowCount(); ++j) {
            s += Currency::fromText(rows.at(j, QStringLiteral("Correl_param")).toText());
        }
        total += s * Currency::fromText(k);
    }
    return total.toText();
}

void DeclarationSave::Graba_Renta(const QString &ruc, const QString &exercise)
{
    Database &db = model_.db();
    std::vector<Record> rows = db.selectForUpdate(
        QStringLiteral("SELECT * FROM F731PORCENTAJE WHERE  [tip_doc_d] = 6  AND [doc_id_d] = '") +
        sqlText(ruc) + QStringLiteral("' AND [periodo] = '") + sqlText(exercise) +
        QStringLiteral("' AND [formulario] = '") + sqlText(model_.sFormulario()) + u'\'');
    Record row = rows.empty() ? db.newRecord(QStringLiteral("F731PORCENTAJE")) : rows.front();
    if (rows.empty()) {
        row.set(QStringLiteral("tip_doc_d"), 6);
        row.set(QStringLiteral("doc_id_d"), ruc);
        row.set(QStringLiteral("periodo"), exercise);
        row.set(QStringLiteral("formulario"), model_.sFormulario());
    }
    // The assistant keeps its amounts as shown ("400,000").
    const auto amount = [](const QString &t) {
        return t.trimmed().isEmpty() ? Value() : Value(boxNumber(t));
    };
    row.set(QStringLiteral("mto_det"), amount(model_.mtoDet()));
    row.set(QStringLiteral("mto_net"), amount(model_.mtoNet()));
    row.set(QStringLiteral("cnumero"), QStringLiteral("0"));
    db.store(row);
}

QString DeclarationSave::MensajeError(int code)
{
    try {
        return errorText(model_.db(), code);
    } catch (const DbError &) {
        return QString();
    }
}

void DeclarationSave::writeBoxes(const QString &ruc, const QString &exercise)
{
    for (int n : kBoxList) {
        GrabaCasilla(QStringLiteral("%1").arg(n, 3, 10, QChar(u'0')), model_.text(n).trimmed(),
                     exercise, ruc);
    }
    const auto write = [&](const char *box, const QString &value) {
        GrabaCasilla(QString::fromLatin1(box), value, exercise, ruc);
    };
    const QString rectifica = model_.answer(Answer::Rectifica);
    write("002", ruc);
    write("801", model_.field(Field::Razon).left(15));
    write("005", rectifica);
    write("871", rectifica);
    write("825", model_.answer(Answer::Ajuste));
    write("826", model_.answer(Answer::Liquid));
    write("827", model_.answer(Answer::Reorg));
    write("829", model_.answer(Answer::Coop));
    if (model_.answer(Answer::Coop) == QLatin1String("1")) {
        Graba_Renta(ruc, exercise);
    } else {
        model_.db().execute(QStringLiteral("Delete * from F731PORCENTAJE  WHERE DOC_ID_D='") +
                            sqlText(ruc) + QStringLiteral("' AND PERIODO='") + sqlText(exercise) +
                            QStringLiteral("' AND FORMULARIO='") + sqlText(model_.sFormulario()) +
                            QStringLiteral("' AND TIP_DOC_D=6"));
    }
    const bool reorg = model_.answer(Answer::Reorg) == QLatin1String("1");
    if (reorg) {
        write("828", model_.tipoReorg());
    }
    if (reorg && model_.pageEnabled(1)) {
        const QString f = model_.field(Field::FechaReorg);
        write("520", f.mid(6, 4) + f.mid(3, 2) + f.mid(0, 2));
        write("521", model_.field(Field::CantEmpresas));
    }
    const PaymentState &p = model_.payment();
    write("028", model_.field(Field::Telefono).trimmed());
    write("007", model_.field(Field::Periodo).trimmed());
    write("599", p.paymentType());
    write("012", p.chequeNumber());
    if (p.paymentType() == QLatin1String("C")) {
        write("015", p.bankCode());
    }
    write("721", QStringLiteral("1.3"));
    write("722", fingerprint().trimmed());
    write("815", model_.field(Field::ApellidoContador).left(15));
    write("814", model_.field(Field::NombreContador).left(15));
    write("817", model_.field(Field::ApellidoRepresentante).left(15));
    write("818", model_.field(Field::NombreRepresentante).left(15));
    // The version row names the box of the version date.
    const QueryResult version =
        model_.db().query(QStringLiteral("Select * from param where numero = '856'  and "
                                         "argumento='") +
                          sqlText(model_.sFormulario()) + u'\'');
    if (!version.isEmpty()) {
        const QString f = version.at(0, QStringLiteral("Funcion")).toText();
        if (!fixedField(f, 20, 3).trimmed().isEmpty()) {
            GrabaCasilla(fixedField(f, 20, 3), fixedField(f, 5, 10), exercise, ruc);
        }
    }
}

void DeclarationSave::writeCompanies(const QString &ruc, const QString &exercise)
{
    Database &db = model_.db();
    const QString where = QStringLiteral(" WHERE TIP_DOC_D = 6 AND DOC_ID_D = '") + sqlText(ruc) +
                          QStringLiteral("' AND PERIODO = '") + sqlText(exercise) +
                          QStringLiteral("' AND FORMULARIO = '") + sqlText(model_.sFormulario()) +
                          QStringLiteral("' AND TIP_DOC_EMP = 6 ");
    db.execute(QStringLiteral("DELETE * FROM F731EMPRESAS") + where);
    if (model_.answer(Answer::Reorg) != QLatin1String("1") || !model_.pageEnabled(1)) {
        return;
    }
    static const char *const kColumns[] = {"des_razon", "mto_activos",  "porc_part",  "mto_adic",
                                           "mto_deduc", "mto_base_imp", "mto_imp_pag"};
    const QueryResult list = db.query(QStringLiteral("SELECT * FROM TMPF731EMPRESAS"));
    for (int i = 0; i < list.rowCount(); ++i) {
        const QString company = list.at(i, QStringLiteral("num_doc_emp")).toText();
        std::vector<Record> rows =
            db.selectForUpdate(QStringLiteral("SELECT * FROM F731EMPRESAS") + where +
                               QStringLiteral("AND NUM_DOC_EMP = '") + sqlText(company) + u'\'');
        Record row = rows.empty() ? db.newRecord(QStringLiteral("F731EMPRESAS")) : rows.front();
        if (rows.empty()) {
            row.set(QStringLiteral("tip_doc_d"), 6);
            row.set(QStringLiteral("doc_id_d"), ruc);
            row.set(QStringLiteral("periodo"), exercise);
            row.set(QStringLiteral("formulario"), model_.sFormulario());
            row.set(QStringLiteral("tip_doc_emp"), 6);
            row.set(QStringLiteral("num_doc_emp"), company);
        }
        row.set(QStringLiteral("tip_empresa"), model_.tipoReorg().left(1).trimmed());
        for (const char *c : kColumns) {
            row.set(QString::fromLatin1(c), list.at(i, QString::fromLatin1(c)));
        }
        row.set(QStringLiteral("cnumero"), recordControlCode(row, 6));
        db.store(row);
    }
}

QStringList DeclarationSave::paymentNotices(const DeclarationModel &model)
{
    QStringList notices;
    const double c180 = model.Vale(180);
    const double c146 = model.Vale(146);
    if (c180 > c146 && !(c146 < 0 && c180 == 0)) {
        notices << QStringLiteral("El importe a pagar es mayor que el saldo definitivo a pagar.") +
                       QStringLiteral(" Se generará un pago en exceso.");
    }
    if (c180 < c146) {
        notices << QStringLiteral("El importe a pagar es menor que el saldo definitivo a pagar.") +
                       QStringLiteral("La KORVA emitirá una Orden de Pago.");
    }
    return notices;
}

SaveOutcome DeclarationSave::CmdGrabar()
{
    SaveOutcome out;
    out.stop = checks();
    if (out.stop) {
        return out;
    }
    const QString ruc = model_.taxpayerRuc().trimmed();
    const QString exercise = model_.field(Field::Periodo).trimmed();
    try {
        Transaction tx(model_.db());
        const std::optional<LoadedVersion> &loaded = model_.loadedVersion();
        if (loaded && loaded->ruc == ruc && loaded->periodo == exercise &&
            storedVersion(model_.db(), ruc, exercise, model_.sFormulario()) != loaded->version) {
            // Another workstation saved this declaration after this window read it: writing
            // now would silently undo that save.
            throw DbError(dberr::kWriteConflict, savedElsewhereText());
        }
        out.consistent = review_.EsConsistente();
        writeHeader(ruc, exercise, out.consistent);
        model_.db().execute(QStringLiteral("DELETE * FROM DET") + keys(ruc, exercise) +
                            QStringLiteral(" AND (VAL(CASILLA) < 546 OR VAL(CASILLA) > 556)"));
        writeBoxes(ruc, exercise);
        writeCompanies(ruc, exercise);
        LoadedVersion saved{ruc, exercise,
                            storedVersion(model_.db(), ruc, exercise, model_.sFormulario())};
        tx.commit();
        model_.setLoadedVersion(std::move(saved));
    } catch (const DbError &e) {
        out.error = e.boxText();
        return out;
    }
    out.saved = true;
    out.notices = paymentNotices(model_);
    model_.clearChanged();
    if (out.consistent) {
        out.finalMessage = MensajeError(151);
        out.finalIcon = MessageIcon::Information;
    } else {
        out.finalMessage = QStringLiteral("La información de la declaración fue grabada con "
                                          "inconsistencias. En estas condiciones no podra ser "
                                          "enviada a KORVA.");
        out.finalIcon = MessageIcon::Exclamation;
    }
    return out;
}

SaveOutcome DeclarationSave::registerOrder()
{
    SaveOutcome out;
    const QString orden = model_.field(Field::NumOrden).trimmed();
    const QString code = model_.field(Field::NumOrdenCheck).trimmed();
    if (!verifyOrderNumber(model_.sNumControl(), orden, code)) {
        out.stop = ReviewStop{QStringLiteral("Número de Orden Ingresado No corresponde a la "
                                             "declaración enviada."),
                              -1, F::None};
        return out;
    }
    const QString ruc = model_.taxpayerRuc().trimmed();
    const QString where = declarationKey(ruc, model_.sPeriodo(), model_.sFormulario()) +
                          QStringLiteral(" AND CORREL='") + sqlText(model_.sCorrel());
    Database &db = model_.db();
    try {
        Transaction tx(db);
        std::vector<Record> headers =
            db.selectForUpdate(QStringLiteral("SELECT * FROM HCAB") + where + u'\'');
        if (!headers.empty()) {
            const double n = val(orden);
            headers.front().set(QStringLiteral("norden"),
                                n == 0 ? Value() : Value(static_cast<std::int64_t>(n)));
            db.store(headers.front());
        }
        std::vector<Record> rows = db.selectForUpdate(QStringLiteral("SELECT * FROM HDET") + where +
                                                      QStringLiteral("' AND CASILLA='806'"));
        if (rows.empty() && !code.isEmpty()) {
            Record row = db.newRecord(QStringLiteral("HDET"));
            row.set(QStringLiteral("Tip_doc_d"), 6);
            row.set(QStringLiteral("doc_id_d"), ruc);
            row.set(QStringLiteral("periodo"), model_.sPeriodo());
            row.set(QStringLiteral("Formulario"), model_.sFormulario());
            row.set(QStringLiteral("semana"), 0);
            row.set(QStringLiteral("Correl"), model_.sCorrel());
            row.set(QStringLiteral("Casilla"), QStringLiteral("806"));
            row.set(QStringLiteral("i_valor"), code);
            row.set(QStringLiteral("idcasilla"), QStringLiteral("01"));
            row.set(QStringLiteral("estado"), 0);
            row.set(QStringLiteral("cNumero"), recordControlCode(row, 7));
            db.store(row);
        } else if (!rows.empty() && code.isEmpty()) {
            db.remove(rows.front());
        } else if (!rows.empty()) {
            // The row keeps the control code it had.
            rows.front().set(QStringLiteral("i_valor"), code);
            db.store(rows.front());
        }
        tx.commit();
    } catch (const DbError &e) {
        out.error = e.boxText();
        return out;
    }
    out.saved = true;
    out.finalMessage = QStringLiteral("El número de orden fue registrado satisfactoriamente.");
    out.finalIcon = MessageIcon::Exclamation;
    return out;
}

} // namespace qz
