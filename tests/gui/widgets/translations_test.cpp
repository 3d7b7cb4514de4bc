// Qt's Spanish texts: with the translation installed, the standard buttons of a message box
// read in Spanish.
#include "gui/widgets/translations.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

#include <memory>

namespace qz {
namespace {

QString qtbaseSpanishFile()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_es.qm");
}

QString buttonText(QMessageBox &box, QMessageBox::StandardButton which)
{
    const QAbstractButton *button = box.button(which);
    return button ? button->text() : QStringLiteral("(no button)");
}

TEST(Translations, StandardButtonsReadInSpanish)
{
    if (!QFileInfo::exists(qtbaseSpanishFile())) {
        GTEST_SKIP() << "Qt's Spanish translation is not installed ("
                     << qPrintable(qtbaseSpanishFile())
                     << "): install the package qt6-translations-l10n";
    }
    QTranslator *translator = installQtSpanish();
    ASSERT_NE(translator, nullptr);
    // Deleting it uninstalls it: the other tests of this program expect Qt's own texts.
    const std::unique_ptr<QTranslator> removeAfterwards(translator);

    QMessageBox box(QMessageBox::Question, QStringLiteral("Pregunta"), QStringLiteral("¿Seguro?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel);
    QString yes = buttonText(box, QMessageBox::Yes);
    EXPECT_TRUE(yes == QString::fromUtf8("&Sí") || yes == QString::fromUtf8("Sí"))
        << qPrintable(yes);
    EXPECT_EQ(buttonText(box, QMessageBox::No).remove(u'&'), QStringLiteral("No"));
    EXPECT_EQ(buttonText(box, QMessageBox::Ok).remove(u'&'), QStringLiteral("Aceptar"));
    EXPECT_EQ(buttonText(box, QMessageBox::Cancel).remove(u'&'), QStringLiteral("Cancelar"));
}

} // namespace
} // namespace qz
