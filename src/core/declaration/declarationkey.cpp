// The condition that names one declaration.
#include "core/declaration/declarationkey.h"

#include "core/data/sqltext.h"

namespace qz {

QString declarationKey(const QString &ruc, const QString &periodo, const QString &formulario)
{
    return QStringLiteral(" WHERE DOC_ID_D='") + sqlText(ruc) +
           QStringLiteral("' AND TIP_DOC_D=6 AND PERIODO='") + sqlText(periodo) +
           QStringLiteral("' AND FORMULARIO='") + sqlText(formulario) + u'\'';
}

QString sentDeclarationKey(const QString &ruc, const QString &periodo, const QString &formulario,
                           const QString &correl)
{
    return declarationKey(ruc, periodo, formulario) + QStringLiteral(" AND Correl='") +
           sqlText(correl) + u'\'';
}

} // namespace qz
