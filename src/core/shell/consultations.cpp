// The two consultations' statements, exactly as the host's tables are queried.
#include "core/shell/consultations.h"

namespace qz {

Consultation consultationFor(int iModo)
{
    if (iModo == kConsultaUit) {
        return {QStringLiteral("UIT"),
                QStringLiteral("SELECT MID(ARGUMENTO,1,8) as codigo,val(mid(FUNCION,1,12)) as "
                               "descrip ") +
                    QStringLiteral("FROM PARAM ") +
                    QStringLiteral("WHERE NUMERO='404' ORDER BY 1 DESC"),
                QStringLiteral("Periodo"),
                QStringLiteral("Valor"),
                {QStringLiteral("dd/mm/yyyy"), true},
                {QStringLiteral("###,###,###,##0")}};
    }
    return {QStringLiteral("Bancos"),
            QStringLiteral("SELECT MID(ARGUMENTO,1,2) as codigo,mid(FUNCION,1,36) as descrip ") +
                QStringLiteral("FROM PARAM ") +
                QStringLiteral("WHERE NUMERO='004' AND TRIM(ARGUMENTO)<> '00'"),
            QString::fromUtf8("Código"),
            QString::fromUtf8("Descripción"),
            {QStringLiteral("00")},
            {}};
}

} // namespace qz
