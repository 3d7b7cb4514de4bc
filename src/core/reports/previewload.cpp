// The preview's reading of a report file and its messages.
#include "core/reports/previewload.h"

#include "core/data/messenger.h"

namespace qz {

QString technicalErrorText(int number, const QString &description)
{
    return QStringLiteral("Error tecnico: %1\n%2\nIntente nuevamente por favor.")
        .arg(QString::number(number), description);
}

bool showReadingError(const ReportFile &file, Messenger &messenger)
{
    if (file.status == ReportFile::Status::MissingFile) {
        messenger.show(MessageIcon::Critical, QString::fromUtf8(kMissingReportTitle),
                       QString::fromUtf8(kMissingReportText));
        return true;
    }
    if (!file.ok()) {
        messenger.show(MessageIcon::Critical, QString::fromUtf8(kTechnicalErrorTitle),
                       technicalErrorText(file.errorNumber, file.errorText));
        return true;
    }
    return false;
}

PrintResult readingResult(const ReportFile &file)
{
    PrintResult result;
    if (file.ok()) {
        return result;
    }
    result.missingFile = file.status == ReportFile::Status::MissingFile;
    result.errorNumber = file.errorNumber;
    result.description = file.errorText;
    return result;
}

} // namespace qz
