// The print dialog's texts and its selection.
#include "core/management/printlist.h"

#include "core/reports/spool.h"

namespace qz {

PrintDialogTexts FrmTipPrnRTexts(bool bHistorico)
{
    const QString prompt = QStringLiteral("Seleccione la Declaración que desea imprimir :");
    if (bHistorico) {
        return {QStringLiteral("Imprimir Declaraciones Enviadas"),
                QStringLiteral("Declaraciones Enviadas"), prompt};
    }
    return {QStringLiteral("Imprimir Declaraciones"), QStringLiteral("Declaraciones Registradas"),
            prompt};
}

QStringList FrmTipPrnRHeadings()
{
    return {QStringLiteral("RUC"),     QStringLiteral("Razón Social"),
            QStringLiteral("Periodo"), QStringLiteral("Formulario"),
            QStringLiteral("N.Orden"), QStringLiteral("Fecha Env."),
            QStringLiteral("Control"), QStringLiteral("Corr")};
}

QString printReportCode(bool anexo)
{
    return QString::fromLatin1(anexo ? kReportDeclaracionAnexos : kReportDeclaracion);
}

int printedPageCount(bool anexo)
{
    return anexo ? 3 : 2;
}

DeclarationSelection printSelection(const ListRow &row, bool bHistorico, bool anexo)
{
    const auto text = [&row](int column) { return row.at(column).toText().trimmed(); };
    DeclarationSelection s;
    s.ruc = text(printcol::kRuc);
    s.name = text(printcol::kNombre);
    s.form = text(printcol::kFormulario);
    s.period = text(printcol::kPeriodo);
    s.sent = bHistorico;
    if (bHistorico) {
        s.correl = text(printcol::kCorrel);
        s.controlNumber = text(printcol::kControl);
    }
    s.annex = anexo;
    return s;
}

} // namespace qz
