// The lists of the declaration management dialogs.
#include "core/management/declarationlists.h"

#include "core/data/lookups.h"
#include "core/data/sqltext.h"

namespace qz {

namespace {

QString fromCont(const QString &formulario, const QString &condition)
{
    return QStringLiteral(" WHERE A.DOC_ID_D=B.DOC_ID_D AND A.TIP_DOC_D=6 AND B.TIP_DOC_D=6 AND"
                          " A.FORMULARIO='") +
           sqlText(formulario) + QStringLiteral("' ") + condition +
           QStringLiteral(" ORDER BY A.DOC_ID_D ASC");
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
    return QStringLiteral("SELECT A.DOC_ID_D, B.NOMBRE, A.PERIODO, A.FORMULARIO, A.ESTADO FROM "
                          "CAB AS A, CONT AS B") +
           fromCont(formulario, listUserCondition(usuario, tipo));
}

QString FrmContAbrirEnvSql(const QString &formulario, const QString &usuario, const QString &tipo)
{
    return QStringLiteral("SELECT A.DOC_ID_D, B.NOMBRE, A.PERIODO, A.FORMULARIO, A.NORDEN, "
                          "A.FEC_ENV, A.CONTROL, A.CORREL FROM HCAB AS A, CONT AS B") +
           fromCont(formulario, listUserCondition(usuario, tipo));
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

} // namespace qz
