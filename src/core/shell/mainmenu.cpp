// The main window's menus and toolbar.
#include "core/shell/mainmenu.h"

#include <algorithm>

namespace qz {

namespace {

MenuItem item(const char *caption, Command command)
{
    return {QString::fromUtf8(caption), command};
}

MenuItem separator()
{
    return {};
}

} // namespace

const std::vector<Menu> &mainMenus()
{
    static const std::vector<Menu> menus = {
        {QStringLiteral("&Declaraciones"),
         {item("&Nueva", Command::Nueva), item("&Modificar", Command::Modificar),
          item("&Eliminar", Command::Eliminar), separator(), item("&Imprimir", Command::Imprimir),
          separator(), item("&Salir", Command::Salir)}},
        {QStringLiteral("Declaraciones &Enviadas"),
         {item("&Registrar número de orden", Command::RegistrarOrden),
          item("&Eliminar", Command::EliminarEnviada), separator(),
          item("&Recuperar Declaración", Command::Recuperar), separator(),
          item("&Imprimir", Command::ImprimirEnviada)}},
        {QStringLiteral("&Consultas"),
         {item("&Bancos", Command::Bancos), item("&UIT", Command::Uit)}},
        {QStringLiteral("&Ayuda"),
         {item("&Contenido", Command::Contenido), separator(),
          item("Acerca &de ZEB", Command::Acerca),
          item("&Verificar Versión", Command::VerificarVersion)}},
    };
    return menus;
}

const std::vector<ToolButton> &toolbarButtons()
{
    static const std::vector<ToolButton> buttons = {
        {1, QStringLiteral("Nueva"), QString::fromUtf8("Registrar una declaración nueva"),
         Command::Nueva},
        {2, QStringLiteral("Modificar"),
         QString::fromUtf8("Abrir una declaración grabada para modificarla"), Command::Modificar},
        {3, QStringLiteral("Eliminar"), QString::fromUtf8("Eliminar una declaración grabada"),
         Command::Eliminar},
        {4, QStringLiteral("Imprimir"), QStringLiteral("Imprimir declaraciones grabadas"),
         Command::Imprimir},
        {5, QStringLiteral("Salir"), QString::fromUtf8("Cerrar el módulo 0731"), Command::Salir},
        {6, {}, {}, Command::None},
        {7, QStringLiteral("Num. Orden"),
         QString::fromUtf8("Registrar el número de orden de una declaración enviada"),
         Command::RegistrarOrden},
        {8, {}, {}, Command::None},
        {9, {}, {}, Command::None},
        {10, QStringLiteral("Ayuda"), QStringLiteral("Ver el contenido de la ayuda"),
         Command::Contenido},
    };
    return buttons;
}

Command toolbarCommand(int index)
{
    const auto &buttons = toolbarButtons();
    const auto it = std::find_if(buttons.begin(), buttons.end(),
                                 [index](const ToolButton &b) { return b.index == index; });
    return it == buttons.end() ? Command::None : it->command;
}

bool toolbarMoveClearsMessage(int index)
{
    return index != 1 && index != 2 && index != 3 && index != 4 && index != 6 && index != 8;
}

} // namespace qz
