// The commands of declmod's main window and where they sit: the menus with their items and
// access keys, in order, and the toolbar tlbMenu by button index. Data only; MDIFrm builds
// its menus and buttons from it.
#pragma once

#include <QString>

#include <vector>

namespace qz {

enum class Command {
    None,
    Nueva,
    Modificar,
    Eliminar,
    Imprimir,
    Salir,
    RegistrarOrden,
    EliminarEnviada,
    Recuperar,
    ImprimirEnviada,
    Bancos,
    Uit,
    Contenido,
    Acerca,
    VerificarVersion,
};

struct MenuItem {
    QString caption;                 // with its access key ("&Nueva"); empty for a separator
    Command command = Command::None; // None for a separator
    bool isSeparator() const { return command == Command::None; }
};

struct Menu {
    QString caption;
    std::vector<MenuItem> items;
};

// The four menus in order.
const std::vector<Menu> &mainMenus();

struct ToolButton {
    int index = 0;   // 1-based, as the host numbers the buttons
    QString caption; // the button's text
    QString toolTip; // its tool tip: what the command does
    Command command = Command::None;
};

// The toolbar's entries in index order; indices 6, 8 and 9 are separators (Command::None).
// The host's indices stay, though the main window draws 8 and 9, side by side, as one.
const std::vector<ToolButton> &toolbarButtons();

// The command of a toolbar button index; Command::None for any index that has none.
Command toolbarCommand(int index);

// True when moving the pointer over this toolbar index clears the status bar's message
// field: anywhere but buttons 1, 2, 3, 4, 6 and 8 (index 0 is the bare toolbar).
bool toolbarMoveClearsMessage(int index);

} // namespace qz
