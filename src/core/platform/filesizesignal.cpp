// Ignoring SIGXFSZ, so that a write past the file-size limit fails instead of killing.
#include "core/platform/filesizesignal.h"

#include <csignal>

namespace qz {

void ignoreFileSizeSignal()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

} // namespace qz
