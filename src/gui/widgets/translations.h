// Qt's own Spanish texts for the programs' windows: the standard buttons of message boxes and
// dialogs ("Sí", "No", "Aceptar", "Cancelar"), the context menus of text fields, the print and
// file dialogs. The texts come from Qt's translation files (qtbase_es.qm) in Qt's
// translations folder; without them Qt's English texts stay.
#pragma once

class QTranslator;

namespace qz {

// Loads Qt's Spanish translation and installs it in the running application (which owns it).
// Returns the installed translator, or nullptr when there is no application or the translation
// file is not installed.
QTranslator *installQtSpanish();

} // namespace qz
