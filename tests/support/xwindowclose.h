// Asking a window on an X display to close, as a window manager's close button does
// (a WM_DELETE_WINDOW client message), so end-to-end tests can answer message boxes and close
// main windows of other processes.
#pragma once

#include <QByteArray>

#include <cstdint>

namespace qz::test {

// Sends WM_DELETE_WINDOW to the window on displayName; false when the display cannot be
// reached.
bool requestClose(const QByteArray &displayName, std::uint32_t window);

} // namespace qz::test
