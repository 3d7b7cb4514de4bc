// declchk: checks a stored declaration of form 0731 before the host sends it.
#include "core/declchk/checkprogram.h"
#include "core/platform/filesizesignal.h"
#include "core/platform/singlecopyprogram.h"

int main(int argc, char *argv[])
{
    qz::ignoreFileSizeSignal();
    return qz::runSingleCopy(argc, argv, QStringLiteral("declchk"),
                             static_cast<int>(qz::CheckOutcome::NotChecked),
                             [](const QStringList &arguments, qz::Messenger &messenger) {
                                 return static_cast<int>(qz::runDeclchk(arguments, messenger));
                             });
}
