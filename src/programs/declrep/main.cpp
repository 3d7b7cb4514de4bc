// declrep: writes the summary of a generated declaration of form 0731 for the host.
#include "core/declrep/reportprogram.h"
#include "core/platform/filesizesignal.h"
#include "core/platform/singlecopyprogram.h"

int main(int argc, char *argv[])
{
    qz::ignoreFileSizeSignal();
    return qz::runSingleCopy(argc, argv, QStringLiteral("declrep"),
                             static_cast<int>(qz::ReportOutcome::NotRun),
                             [](const QStringList &arguments, qz::Messenger &messenger) {
                                 return static_cast<int>(qz::runDeclrep(arguments, messenger));
                             });
}
