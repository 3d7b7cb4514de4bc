// The reference consultations of the menu "&Consultas": the banks (mode 1) and the values of
// the tax unit by date (mode 3), each a two-column list of PARAM rows.
#pragma once

#include <QString>

namespace qz {

struct Consultation {
    QString caption;
    QString statement;
    QString heading1;
    QString heading2;
};

constexpr int kConsultaBancos = 1;
constexpr int kConsultaUit = 3;

// The caption, statement and headings of a mode; any mode other than 3 is the bank list.
Consultation consultationFor(int iModo);

} // namespace qz
