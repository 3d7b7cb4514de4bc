// The lists of the declaration management dialogs.
#include "core/management/declarationlists.h"

#include "core/data/lookups.h"
#include "core/data/sqltext.h"

namespace qz {

namespace {

// The host's statements in their parts: the columns, the tables, the join with the taxpayers
// and the order.
QString selectOf(DeclarationList list)
{
    switch (list) {
    case DeclarationList::Registered:
        return QStringLiteral("SELECT A.DOC_ID_D, B.NOMBRE, A.PERIODO, A.FORMULARIO, A.ESTADO "
                              "FROM CAB AS A, CONT AS B");
    case DeclarationList::PrintRegistered:
        return QStringLiteral(
            "SELECT A.DOC_ID_D, B.NOMBRE, A.PERIODO, A.FORMULARIO FROM CAB AS A, CONT AS B");
    case DeclarationList::Sent:
        break;
    }
    return QStringLiteral("SELECT A.DOC_ID_D, B.NOMBRE, A.PERIODO, A.FORMULARIO, A.NORDEN, "
                          "A.FEC_ENV, A.CONTROL, A.CORREL FROM HCAB AS A, CONT AS B");
}

QString whereCont(const QString &formulario, const QString &condition)
{
    return QStringLiteral(" WHERE A.DOC_ID_D=B.DOC_ID_D AND A.TIP_DOC_D=6 AND B.TIP_DOC_D=6 AND"
                          " A.FORMULARIO='") +
           sqlText(formulario) + QStringLiteral("' ") + condition;
}

const QString kHostOrder = QStringLiteral(" ORDER BY A.DOC_ID_D ASC");

// The key of a list's rows, in the order of the table's primary key after tip_doc_d (fixed at
// 6 by the statement): its columns in a batch's rows and in the statement.
const std::vector<int> &keyColumns(DeclarationList list)
{
    static const std::vector<int> registered{registeredcol::kRuc, registeredcol::kPeriodo,
                                             registeredcol::kFormulario, registeredcol::kSemana};
    static const std::vector<int> printRegistered{
        printcol::kRuc, printcol::kPeriodo, printcol::kFormulario, printcol::kRegisteredSemana};
    static const std::vector<int> sent{sentcol::kRuc, sentcol::kPeriodo, sentcol::kFormulario,
                                       sentcol::kSemana, sentcol::kCorrel};
    switch (list) {
    case DeclarationList::Registered:
        return registered;
    case DeclarationList::PrintRegistered:
        return printRegistered;
    case DeclarationList::Sent:
        break;
    }
    return sent;
}

QString keyTuple(DeclarationList list)
{
    return list != DeclarationList::Sent
               ? QStringLiteral("(A.DOC_ID_D, A.PERIODO, A.FORMULARIO, A.SEMANA)")
               : QStringLiteral("(A.DOC_ID_D, A.PERIODO, A.FORMULARIO, A.SEMANA, A.CORREL)");
}

QString literal(const Value &v)
{
    switch (v.kind()) {
    case Value::Kind::Null:
        return QStringLiteral("NULL"); // never in a key: its columns are NOT NULL
    case Value::Kind::Integer:
        return QString::number(v.toInt());
    case Value::Kind::Double:
        return QString::number(v.toDouble(), 'g', 17);
    case Value::Kind::Text:
        return sqlQuoted(v.toText());
    case Value::Kind::Date:
        return sqlQuoted(isoDateText(v.toDate()));
    }
    return QStringLiteral("NULL");
}

QString valueTuple(const ListKey &key)
{
    QStringList values;
    for (const Value &v : key) {
        values << literal(v);
    }
    return u'(' + values.join(QStringLiteral(", ")) + u')';
}

} // namespace

QString listUserCondition(const QString &usuario, const QString &tipo)
{
    if (tipo == QLatin1String("0")) {
        return QString();
    }
    return QStringLiteral(" AND B.USUARIO='") + sqlText(usuario) + u'\'';
}

QString listUserType(Database &db, const QString &usuario)
{
    try {
        return userType(db, usuario);
    } catch (const DbError &) {
        return QStringLiteral("1");
    }
}

QString FrmContAbrirSql(const QString &formulario, const QString &usuario, const QString &tipo)
{
    return selectOf(DeclarationList::Registered) +
           whereCont(formulario, listUserCondition(usuario, tipo)) + kHostOrder;
}

QString FrmContAbrirEnvSql(const QString &formulario, const QString &usuario, const QString &tipo)
{
    return selectOf(DeclarationList::Sent) +
           whereCont(formulario, listUserCondition(usuario, tipo)) + kHostOrder;
}

QString FrmTipPrnRSql(bool bHistorico, const QString &formulario, const QString &usuario,
                      const QString &tipo)
{
    return selectOf(bHistorico ? DeclarationList::Sent : DeclarationList::PrintRegistered) +
           whereCont(formulario, listUserCondition(usuario, tipo)) + kHostOrder;
}

QueryResult registeredDeclarations(Database &db, const QString &formulario, const QString &usuario)
{
    return db.query(FrmContAbrirSql(formulario, usuario, listUserType(db, usuario)));
}

QueryResult sentDeclarations(Database &db, const QString &formulario, const QString &usuario)
{
    return db.query(FrmContAbrirEnvSql(formulario, usuario, listUserType(db, usuario)));
}

ListDialogTexts FrmContAbrirTexts(int iOpcion)
{
    switch (iOpcion) {
    case 1:
        return {QStringLiteral("Modificar Declaraciones"),
                QStringLiteral("Seleccione la Declaración que desea modificar :"),
                QStringLiteral("&Modificar")};
    case 3:
        return {QStringLiteral("Eliminar Declaraciones"),
                QStringLiteral("Seleccione la Declaración que desea eliminar :"),
                QStringLiteral("&Eliminar")};
    default:
        return {};
    }
}

ListDialogTexts FrmContAbrirEnvTexts(int iModo, bool bRecuperar)
{
    ListDialogTexts t;
    if (iModo == 1) {
        t = {QStringLiteral("Registrar número de orden"),
             QStringLiteral("Seleccione la Declaración en la que desea registrar el número de "
                            "orden asignado por KORVA :"),
             QStringLiteral("&Registrar")};
    } else if (iModo == 3) {
        t = {QStringLiteral("Eliminar Declaraciones Enviadas"),
             QStringLiteral("Seleccione la Declaración que desea eliminar :"),
             QStringLiteral("&Eliminar")};
    }
    // The recovery command sets iModo 1, so its caption and prompt stay those of mode 1.
    if (bRecuperar) {
        t.actionButton = QStringLiteral("Recuperar");
        t.showVisualizar = true;
    }
    return t;
}

QStringList FrmContAbrirHeadings()
{
    return {QStringLiteral("RUC"), QStringLiteral("Razón Social"), QStringLiteral("Periodo"),
            QStringLiteral("Formulario"), QStringLiteral("Estado")};
}

QStringList FrmContAbrirEnvHeadings()
{
    return {QStringLiteral("RUC"),      QStringLiteral("Razón Social"),
            QStringLiteral("Periodo"),  QStringLiteral("Formulario"),
            QStringLiteral("N. Orden"), QStringLiteral("Fecha Env."),
            QStringLiteral("Control"),  QStringLiteral("Correl")};
}

DeclarationListQuery::DeclarationListQuery(DeclarationList list, QString formulario,
                                           QString usuario, QString tipo)
    : list_(list), formulario_(std::move(formulario)), usuario_(std::move(usuario)),
      tipo_(std::move(tipo))
{
}

DeclarationListQuery DeclarationListQuery::forUser(Database &db, DeclarationList list,
                                                   const QString &formulario,
                                                   const QString &usuario)
{
    return DeclarationListQuery(list, formulario, usuario, listUserType(db, usuario));
}

int DeclarationListQuery::shownColumns() const
{
    switch (list_) {
    case DeclarationList::Registered:
        return 5;
    case DeclarationList::PrintRegistered:
        return 4;
    case DeclarationList::Sent:
        break;
    }
    return 8;
}

ListKey DeclarationListQuery::keyOf(const ListRow &row) const
{
    ListKey key;
    for (int column : keyColumns(list_)) {
        key.push_back(row.at(column));
    }
    return key;
}

QString DeclarationListQuery::batchSql(const std::optional<ListKey> &after, int limit,
                                       const std::optional<ListKey> &through) const
{
    // The week follows the dialog's columns: the key needs it, the grid does not show it.
    QString sql = selectOf(list_);
    sql.insert(sql.indexOf(QLatin1String(" FROM ")), QLatin1String(", A.SEMANA"));
    sql += whereCont(formulario_, listUserCondition(usuario_, tipo_));
    if (after) {
        sql +=
            QStringLiteral(" AND ") + keyTuple(list_) + QStringLiteral(" > ") + valueTuple(*after);
    }
    if (through) {
        sql += QStringLiteral(" AND ") + keyTuple(list_) + QStringLiteral(" <= ") +
               valueTuple(*through);
    }
    sql += kHostOrder + QStringLiteral(", A.PERIODO, A.FORMULARIO, A.SEMANA");
    if (list_ == DeclarationList::Sent) {
        sql += QStringLiteral(", A.CORREL");
    }
    if (limit > 0) {
        sql += QStringLiteral(" LIMIT ") + QString::number(limit);
    }
    return sql;
}

QueryResult DeclarationListQuery::batch(Database &db, const std::optional<ListKey> &after,
                                        int limit, const std::optional<ListKey> &through) const
{
    return db.query(batchSql(after, limit, through));
}

} // namespace qz
