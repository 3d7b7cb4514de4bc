// What the print dialog (FrmTipPrnR) knows without a screen: its texts for the registered and
// the sent list, the grid's headings, the report code and page count of a request, and the
// declaration a selected row names.
#pragma once

#include "core/management/declarationlists.h"
#include "core/reports/declarationreport.h"

#include <QString>
#include <QStringList>

namespace qz {

struct PrintDialogTexts {
    QString caption;
    QString frame; // the frame around the list
    QString prompt;
};

// The sent list (bHistorico) or the registered one.
PrintDialogTexts FrmTipPrnRTexts(bool bHistorico);
// The eight columns; the registered list hides the last four.
QStringList FrmTipPrnRHeadings();
constexpr int kFrmTipPrnRShownRegistered = 4;

// "OKR003" when the box-105 annex is wanted, else "OKR001".
QString printReportCode(bool anexo);
// The pages the report writer produces: 2, or 3 with the annex.
int printedPageCount(bool anexo);

// The declaration of a selected row: number, name, form, sending number, control number
// (columns 0, 1, 3, 7 and 6, the last two only in the sent list) and the row's period; values
// trimmed as the host reads them from the grid.
DeclarationSelection printSelection(const ListRow &row, bool bHistorico, bool anexo);

} // namespace qz
