// declmod's start, in the host's order: the text-utility component, the host window check,
// the single-instance rule, then the main window and its load.
#pragma once

namespace qz {

// The title of the host's main window that must be on the screen.
constexpr const char *kHostWindowTitle = "Velquira";

// Runs declmod inside an existing QApplication; returns the process's exit status (0 after
// "&Salir" or the frame's close box, 1 when the start was refused or the database could not
// be opened).
int runDeclmod();

} // namespace qz
