// The preview's request: type word, help topic, file path and PDF name.
#include "core/reports/previewrequest.h"

#include "core/data/paths.h"

#include <QStringList>

namespace qz {

namespace {

QString fileNamePart(const QString &text)
{
    QString out = text.trimmed();
    for (QChar &c : out) {
        if (c == u'/' || c == u'\\' || c == u':' || c.category() == QChar::Other_Control) {
            c = u'_';
        }
    }
    return out;
}

} // namespace

bool opensPreview(const QString &typeWord)
{
    return typeWord == QLatin1String(kTipoVistaPrevia);
}

int previewHelpTopic(bool bImprimeEnviada)
{
    return bImprimeEnviada ? 1012 : 1011;
}

QString reportPath(const PreviewRequest &request)
{
    return findEntry(request.rptFolder, request.sRut);
}

QString defaultPdfName(const PreviewRequest &request)
{
    QString number = request.sRut.trimmed();
    const qsizetype dot = number.lastIndexOf(u'.');
    if (dot > 0) {
        number.truncate(dot);
    }
    QStringList parts;
    for (const QString &part : {request.ruc, request.period, number}) {
        const QString clean = fileNamePart(part);
        if (!clean.isEmpty()) {
            parts << clean;
        }
    }
    if (parts.isEmpty()) {
        parts << QStringLiteral("reporte");
    }
    return parts.join(u'_') + QStringLiteral(".pdf");
}

} // namespace qz
