// Messages for printing errors.
#include "core/reports/printresult.h"

#include "core/data/messenger.h"

namespace qz {

QString printErrorMessage(int number, const QString &description)
{
    switch (number) {
    case 0:
    case printerr::kFileAlreadyOpen:
    case printerr::kFileNotFound:
    case printerr::kSilent:
        return {};
    case printerr::kCancelled:
        return QStringLiteral("La Impresión ha sido Cancelada.");
    case printerr::kNoPrinter:
        return QStringLiteral("No existe una impresora seleccionada.Verifique.");
    case printerr::kNothingToPrint:
        return QStringLiteral("No Existe Información a Imprimir.Verifique.");
    default:
        return QStringLiteral("Error Técnico : (%1) %2").arg(number).arg(description);
    }
}

void showPrintError(Messenger &messenger, const PrintResult &result)
{
    if (result.missingFile) {
        messenger.show(MessageIcon::Critical, QString::fromUtf8(kMissingReportTitle),
                       QString::fromUtf8(kMissingReportText));
        return;
    }
    const QString text = printErrorMessage(result.errorNumber, result.description);
    if (!text.isEmpty()) {
        messenger.show(MessageIcon::Critical, QStringLiteral("Impresión"), text);
    }
}

} // namespace qz
