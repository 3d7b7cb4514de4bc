// Installing Qt's Spanish translation.
#include "gui/widgets/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace qz {

QTranslator *installQtSpanish()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app) {
        return nullptr;
    }
    // Spanish whatever the user's locale: every text of the module is Spanish, and a box
    // with "Yes" beside a Spanish question reads wrong.
    auto *translator = new QTranslator(app);
    if (!translator->load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

} // namespace qz
