// The condition that names one declaration in CAB, DET and their companions, as the host
// writes it: " WHERE DOC_ID_D='…' AND TIP_DOC_D=6 AND PERIODO='…' AND FORMULARIO='…'", every
// value quoted. A sent declaration in the history tables adds its sending number.
#pragma once

#include <QString>

namespace qz {

QString declarationKey(const QString &ruc, const QString &periodo, const QString &formulario);

// declarationKey followed by " AND Correl='…'".
QString sentDeclarationKey(const QString &ruc, const QString &periodo, const QString &formulario,
                           const QString &correl);

} // namespace qz
