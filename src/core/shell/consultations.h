// The reference consultations of the menu "&Consultas": the banks (mode 1) and the values of
// the tax unit by date (mode 3), each a two-column list of PARAM rows.
#pragma once

#include "core/shell/columnformat.h"

#include <QString>

namespace qz {

struct Consultation {
    QString caption;
    QString statement;
    QString heading1;
    QString heading2;
    ColumnFormat format1; // how the grid shows codigo
    ColumnFormat format2; // and descrip
};

constexpr int kConsultaBancos = 1;
constexpr int kConsultaUit = 3;

// The caption, statement, headings and column formats of a mode; any mode other than 3 is the
// bank list. The bank code shows its two digits on the right; the tax unit's date of validity
// shows as "dd/mm/yyyy" and its value as a whole amount with thousands separators.
Consultation consultationFor(int iModo);

} // namespace qz
