// pGeneraDeclaracion: the steps of writing the printed declaration and its failure message.
#include "core/reports/declarationreport.h"

#include "core/data/dberror.h"
#include "core/data/messenger.h"
#include "core/reports/declarationreportdata.h"
#include "core/reports/declarationreportpages.h"
#include "core/reports/reportwriter.h"

namespace qz {

QString declarationErrorMessage(int number, const QString &description)
{
    if (number == kDeclarationPrinterError || number == kDeclarationPrinterError2) {
        return QStringLiteral("Error - ") + description;
    }
    return description;
}

QString declarationReportTitle(bool sent)
{
    return sent ? QStringLiteral("Imprimir Declaraciones Enviadas")
                : QStringLiteral("Imprimir Declaraciones");
}

DeclarationReportResult pGeneraDeclaracion(Database &db, ReportWriter &writer,
                                           const DeclarationSelection &selection,
                                           Messenger &messenger)
{
    DeclarationReportResult result;
    result.pages = selection.annex ? 3 : 2;
    if (!writer.isOpen()) {
        result.errorNumber = kDeclarationWriteError;
        result.description = writer.error();
        return result;
    }

    // The body: the font tag, the loading, the pages. The first error ends it.
    try {
        writer.fontTag();
        if (writer.failed()) {
            throw DeclarationWriteError{writer.error()};
        }
        const DeclarationData data = loadDeclaration(db, selection);
        writeIdentificationPage(writer, selection, data, 0);
        writer.pNuevaHoja();
        writeDeterminationPage(writer, selection, data, 1);
        if (selection.annex) {
            writer.pNuevaHoja();
            writeAnnexPage(writer, data, 2);
        }
    } catch (const DbError &e) {
        result.errorNumber = e.number();
        result.description = e.description();
    } catch (const DeclarationWriteError &e) {
        result.errorNumber = kDeclarationWriteError;
        result.description = e.description;
    }

    // The closing tags are written whatever happened, and the file is closed.
    writer.pageCountTag(result.pages);
    writer.orientationTag();
    writer.colorTag(kColorLightCyan);
    const bool closed = writer.close();
    if (!result.failed() && !closed) {
        result.errorNumber = kDeclarationWriteError;
        result.description = writer.error();
    }

    if (result.failed()) {
        messenger.show(MessageIcon::Critical, declarationReportTitle(selection.sent),
                       declarationErrorMessage(result.errorNumber, result.description));
    }
    return result;
}

} // namespace qz
