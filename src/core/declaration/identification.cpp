// Identification and options: the taxpayer list and its existence test, the exercise and the
// labels that follow it, the five answers, the reorganization type, pCargaIdent.
#include "core/declaration/declarationmodel.h"

#include "core/data/clock.h"
#include "core/data/lookups.h"
#include "core/data/numbertext.h"
#include "core/data/sqltext.h"
#include "core/data/transaction.h"
#include "core/declaration/boxes.h"
#include "core/declaration/declarationkey.h"
#include "core/declaration/messages.h"
#include "core/declaration/periodrules.h"

namespace qz {

namespace {

} // namespace

QString DeclarationModel::SqlContribuyentes()
{
    QString record;
    try {
        record = documentTypeRecord(db_, QStringLiteral("6"));
    } catch (const DbError &) {
        record = builtinRucRecord();
    }
    QString where = QStringLiteral(" WHERE Tip_doc_d=6 ");
    if (val(fixedField(record, 46, 2)) == 11 && val(fixedField(record, 130, 1)) == 1) {
        where += QStringLiteral(" AND len(trim(Doc_id_d))=11 ");
    }
    QString tipo;
    try {
        tipo = userType(db_, run_.sUsuario);
    } catch (const DbError &) {
        tipo = QStringLiteral("1");
    }
    if (tipo == QLatin1String("0")) {
        where += QStringLiteral(" ORDER BY Tip_doc_d, doc_id_d ");
    } else {
        where += QStringLiteral(" AND Usuario ='") + sqlText(run_.sUsuario) +
                 QStringLiteral("' Order by Tip_doc_d, doc_id_d ");
    }
    return QStringLiteral(" SELECT * FROM CONT ") + where;
}

void DeclarationModel::loadTaxpayerList()
{
    taxpayerEntries_.clear();
    try {
        const QueryResult r = db_.query(SqlContribuyentes());
        const int doc = r.indexOf(QStringLiteral("Doc_id_d"));
        const int nombre = r.indexOf(QStringLiteral("Nombre"));
        for (int i = 0; i < r.rowCount(); ++i) {
            taxpayerEntries_ << r.at(i, doc).toText().mid(0, 11).trimmed() + QString(7, u' ') +
                                    r.at(i, nombre).toText();
        }
    } catch (const DbError &e) {
        show(MessageIcon::Critical, e.boxText());
    }
    emit taxpayersChanged();
}

void DeclarationModel::loadReorgTypes()
{
    reorgTypes_.clear();
    reorgSelection_ = -1;
    try {
        const QueryResult r =
            db_.query(QStringLiteral("SELECT argumento, funcion FROM PARAM WHERE numero='955' ; "));
        for (int i = 0; i < r.rowCount(); ++i) {
            reorgTypes_ << r.at(i, 0).toText() + QStringLiteral("  ") +
                               r.at(i, 1).toText().mid(0, 80);
        }
    } catch (const DbError &e) {
        show(MessageIcon::Critical, e.boxText());
    }
    emit reorgListChanged();
}

QStringList DeclarationModel::zoneEntries()
{
    QStringList entries{QString(115, u' ')};
    try {
        const QueryResult r =
            db_.query(QStringLiteral("SELECT argumento, funcion FROM PARAM WHERE numero='030' ; "));
        for (int i = 0; i < r.rowCount(); ++i) {
            entries << r.at(i, 1).toText().mid(0, 15) + QString(100, u' ') + r.at(i, 0).toText();
        }
    } catch (const DbError &e) {
        show(MessageIcon::Critical, e.boxText());
    }
    return entries;
}

bool DeclarationModel::hasAdjustmentFactor()
{
    try {
        return !db_.query(
                       QStringLiteral("SELECT argumento, funcion FROM PARAM WHERE numero='975'") +
                       QStringLiteral(" AND ARGUMENTO='200212'"))
                    .isEmpty();
    } catch (const DbError &e) {
        show(MessageIcon::Critical, e.boxText());
        return false;
    }
}

bool DeclarationModel::headerExists(const QString &ruc)
{
    try {
        return !db_.query(QStringLiteral("SELECT * FROM CAB") +
                          declarationKey(ruc, sPeriodo_, sFormulario_))
                    .isEmpty();
    } catch (const DbError &e) {
        show(MessageIcon::Critical, e.boxText());
        return false;
    }
}

void DeclarationModel::setRazon(const QString &razon)
{
    // The name field's change runs the loader; a declaration without rows clears the boxes.
    if (field(Field::Razon) == razon) {
        return;
    }
    fields_[Field::Razon] = razon;
    emit fieldChanged(Field::Razon);
    if (!CargaDeclaracion()) {
        for (int n : kBoxList) {
            setText(n, QString());
        }
    }
}

void DeclarationModel::chooseTaxpayer(int index)
{
    if (index < 0 || index >= taxpayerEntries_.size()) {
        return;
    }
    taxpayerListText_ = taxpayerEntries_[index];
    const QString razon = taxpayerListText_.mid(18, 50);
    setRazon(razon);
    if (run_.iModo != 0) {
        return;
    }
    const QString ruc = rucOfListText();
    if (!headerExists(ruc)) {
        existeDeclaracion_ = QStringLiteral("S");
        sRuc_ = ruc;
        emit focusRequested({0, Field::Telefono, false});
        emit statusRequested(ruc, razon.trimmed(), sPeriodo_, sFormulario_);
        algunCambio_ = true;
    } else {
        emit pageRequested(0);
        existeDeclaracion_ = QStringLiteral("N");
        show(MessageIcon::Critical, kMsgDeclarationExists);
        emit focusRequested({0, std::nullopt, true});
        sRuc_.clear();
    }
}

void DeclarationModel::setLabels(const QString &e)
{
    const QString p = QString::number(static_cast<long long>(val(e)) - 1);
    reorgQuestion_ = QStringLiteral("¿Usted ha participado en un proceso de reorganización de "
                                    "sociedades entre el ") +
                     QStringLiteral("01/01/") + e +
                     QStringLiteral(" y la fecha de presentación de esta declaración?");
    labels_[101] = QStringLiteral("Base imponible al 31/12/") + p;
    labels_[108] = QStringLiteral("Total base imponible al 31/12/") + p;
    labels_[109] = QStringLiteral("Base Imponible actualizada al 31/03/") + e;
    labels_[111] =
        QStringLiteral("Base Imponible al 31/12/") + p + QStringLiteral(" - Ley N° 29717");
    if (e >= QLatin1String("2006")) {
        labels_[113] = QStringLiteral("Base imponible al 31/12/") + p;
    } else if (e == QLatin1String("2005")) {
        labels_[113] = QStringLiteral("Base imponible al 31/03/") + e;
    }
    emit labelsChanged();
}

void DeclarationModel::onExerciseChanged()
{
    exercisePending_ = false;
    const QString e = field(Field::Periodo);
    // An incomplete or refused exercise never reaches the labels, the status bar or the key
    // of the queries: they keep the last accepted one.
    if (maskIncomplete(e, 4)) {
        markChanged();
        return;
    }
    if (!ValidaPeriodo(e, today())) {
        emit pageRequested(0);
        show(MessageIcon::Critical, QStringLiteral("El Ejercicio no es Válido."));
        emit focusRequested({0, Field::Periodo, false});
        return;
    }
    if (e >= QLatin1String("2006")) {
        ajusteEnabled_ = false;
        chooseAnswer(Answer::Ajuste, 0);
    } else if (e == QLatin1String("2005")) {
        ajusteEnabled_ = true;
    }
    emit labelsChanged();
    sPeriodo_ = e;
    sPeriodoActual_ = e;
    emit periodShown(e);
    if (run_.iModo == 0 && headerExists(rucOfListText())) {
        existeDeclaracion_ = QStringLiteral("N");
        show(MessageIcon::Critical, kMsgDeclarationExists);
        emit focusRequested({0, std::nullopt, true});
    } else if (run_.iModo == 0) {
        existeDeclaracion_ = QStringLiteral("S");
    }
    setLabels(e);
    markChanged();
}

void DeclarationModel::leaveExercise()
{
    if (exercisePending_) {
        onExerciseChanged();
    }
}

void DeclarationModel::onFechaChanged()
{
    const QString fecha = field(Field::FechaReorg);
    if (!pageEnabled(1) || answer(Answer::Reorg) != QLatin1String("1") ||
        maskIncomplete(fecha, 10)) {
        return;
    }
    if (!ValidaFecha(fecha, sPeriodo_, today())) {
        emit pageRequested(1);
        show(MessageIcon::Critical, QStringLiteral("La fecha no es válida."));
        emit focusRequested({0, Field::FechaReorg, false});
    }
}

void DeclarationModel::applyAnswerEffects(Answer a)
{
    const bool si = answer(a) == QLatin1String("1");
    switch (a) {
    case Answer::Ajuste:
        Calcular109();
        break;
    case Answer::Liquid:
        if (si) {
            setLocked(143, false, BoxColor::White);
        } else {
            setText(143, QString());
            setLocked(143, true, BoxColor::Grey);
        }
        Calcular161();
        Calcular146();
        paymentModalityRule();
        break;
    case Answer::Reorg:
        if (si) {
            reorgListEnabled_ = true;
            const bool five = reorgSelection_ >= 0 && reorgTypes_[reorgSelection_].startsWith(u'5');
            setPageEnabled(1, !five);
            emit reorgListChanged();
        } else {
            reorgListEnabled_ = false;
            tipoReorg_.clear();
            loadReorgTypes();
            setPageEnabled(1, false);
        }
        break;
    case Answer::Rectifica:
        if (si && !bCargando_) {
            show(MessageIcon::Exclamation,
                 QStringLiteral("Recuerde que debe consignar información en todas las casillas "
                                "inclusive aquellas que no está rectificando."));
        }
        break;
    case Answer::Coop:
        setVisible(110, si);
        setVisible(111, si);
        if (!si) {
            setText(111, QString());
            setText(110, QString());
        }
        Calcular113();
        break;
    }
    markChanged();
}

void DeclarationModel::chooseReorgType(int index)
{
    if (index < 0 || index >= reorgTypes_.size()) {
        return;
    }
    reorgSelection_ = index;
    tipoReorg_ = reorgTypes_[index].left(1).trimmed();
    emit reorgListChanged();
    DetBaseImp_Cero();
}

void DeclarationModel::pCargaIdent(const QString &ruc, const QString &razon, const QString &periodo)
{
    if (run_.iModo == 0) {
        loadTaxpayerList();
        emit statusRequested(QString(), QString(), sPeriodoActual_, sFormulario_);
        return;
    }
    sPeriodo_ = periodo;
    rucField_ = ruc;
    setRazon(razon);
    setField(Field::Periodo, periodo);
    emit statusRequested(ruc, razon, periodo, sFormulario_);
    // The answers the loader stored, applied as a selection would.
    for (Answer a :
         {Answer::Rectifica, Answer::Ajuste, Answer::Liquid, Answer::Reorg, Answer::Coop}) {
        const QString code = answer(a);
        if (code == QLatin1String("0") || code == QLatin1String("1")) {
            chooseAnswer(a, code == QLatin1String("1") ? 1 : 0);
        } else {
            answers_[a].clear();
            emit answerChanged(a);
        }
    }
    Calcular113();
    setText(160, raw160_);
    selectRepresentativeType();
    emit identificationLoaded();
}

void DeclarationModel::limpiaProvisional()
{
    const QString ruc = rucOfListText();
    const QString keys = declarationKey(ruc, sPeriodo_, sFormulario_);
    try {
        const QueryResult header = db_.query(QStringLiteral("SELECT * FROM CAB") + keys);
        if (header.isEmpty() ||
            header.at(0, QStringLiteral("cNumero")).toText() != QLatin1String("0")) {
            return;
        }
        // Both or neither: a header without its detail would be a declaration nobody typed.
        Transaction tx(db_);
        db_.execute(QStringLiteral("DELETE * FROM CAB") + keys);
        db_.execute(QStringLiteral("DELETE * FROM DET") + keys);
        tx.commit();
    } catch (const DbError &e) {
        show(MessageIcon::Critical, e.boxText());
    }
}

} // namespace qz
