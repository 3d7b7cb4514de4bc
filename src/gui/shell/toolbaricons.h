// The icons of the main window's toolbar: the desktop's icon theme where it has one for the
// command, else a simple picture drawn here, so that every button has an icon on any desktop.
#pragma once

#include "core/shell/mainmenu.h"

#include <QIcon>
#include <QString>

namespace qz {

// The icon-theme name of a command's icon (freedesktop names); empty for commands without
// a toolbar button.
QString commandIconName(Command command);

// The drawn icon of a command (16 to 48 pixels); a null icon for commands without a toolbar
// button.
QIcon drawnCommandIcon(Command command);

// The theme's icon of the command, else the drawn one.
QIcon commandIcon(Command command);

} // namespace qz
