// Texts of the declaration that more than one check shows, written once.
#pragma once

#include <QString>

namespace qz {

inline const QString kMsgSelectTaxpayer = QStringLiteral("Debe seleccionar un Contribuyente.");
inline const QString kMsgDeclarationExists =
    QStringLiteral("La declaración que desea registrar ya existe, elija la opción modificar "
                   "declaración o elija otro contribuyente.");
inline const QString kMsgDniLength = QStringLiteral("El DNI o LE debe ser de 8 digitos.");

} // namespace qz
