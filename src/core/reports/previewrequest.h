// What the print dialog hands to the page-range dialog, the preview or the direct print: the
// report file (sRut, a bare name in the RPT folder), the taxpayer and period the report is
// about, and the sent-declarations flag that picks the preview's help topic. Also the
// default name of a PDF written from the preview.
#pragma once

#include <QString>

namespace qz {

struct PreviewRequest {
    QString rptFolder; // sDirReportes: SysPath's RPT folder
    QString sRut;      // the report file's name in rptFolder, e.g. "00000012.PRN"
    QString ruc;       // the taxpayer's RUC
    QString period;    // the declaration's exercise
    bool bImprimeEnviada = false;
};

// The print dialog's type word that opens the preview; any other word prints directly.
constexpr const char *kTipoVistaPrevia = "Vprevia";
bool opensPreview(const QString &typeWord);

// The help topic of the preview: 1012 for sent declarations, else 1011.
int previewHelpTopic(bool bImprimeEnviada);

// The report file of the request, its name found ignoring case in the RPT folder.
QString reportPath(const PreviewRequest &request);

// The suggested PDF name: RUC, period and the report file's number joined by "_", with ".pdf"
// ("20100000001_2006_00000012.pdf"). Parts that are empty are left out; characters that
// cannot stand in a file name ("/", "\", ":", control characters) become "_".
QString defaultPdfName(const PreviewRequest &request);

} // namespace qz
