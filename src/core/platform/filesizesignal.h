// The signal a process gets when it writes past its file-size limit (ulimit -f).
//
// By default SIGXFSZ ends the process at once, without a word. Every program ignores it at
// start, so that such a write fails with EFBIG instead and goes through the program's own
// error handling: the message it defines for a failed write and its exit status.
#pragma once

namespace qz {

// Ignores SIGXFSZ for the whole process (nothing to do where the signal does not exist).
// Call first thing in main().
void ignoreFileSizeSignal();

} // namespace qz
