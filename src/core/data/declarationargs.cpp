// Checking and splitting the host's argument string.
#include "core/data/declarationargs.h"

#include "core/data/numbertext.h"

namespace qz {

namespace {

constexpr int kLength = 36;

bool unsafeForFileName(const QString &field)
{
    if (field.contains(u'/') || field.contains(u'\\') || field.contains(QLatin1String(".."))) {
        return true;
    }
    for (QChar c : field) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Other_Control) {
            return true;
        }
    }
    return false;
}

bool allDigits(const QString &text)
{
    for (QChar c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return !text.isEmpty();
}

} // namespace

QString DeclarationArgs::queryPeriod() const
{
    return periodo.right(2) == QLatin1String("00") ? periodo.left(4) : periodo;
}

QString DeclarationArgs::printPeriod() const
{
    return periodo.right(2) == QLatin1String("00") ? periodo.left(4)
                                                   : periodo.right(2) + u'/' + periodo.left(4);
}

int DeclarationArgs::tipoDocNumber() const
{
    return static_cast<int>(val(tipoDoc));
}

std::optional<DeclarationArgs> DeclarationArgs::parse(const QStringList &arguments, QString *error)
{
    auto refuse = [error](const QString &why) {
        if (error) {
            *error = why;
        }
        return std::nullopt;
    };
    const QString text = arguments.join(u' ');
    // The fields are fixed character positions and end up in file names: only printable
    // ASCII counts, so that a length is a number of characters and every name can be
    // written, listed and deleted by the host.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x20 || c > 0x7e) {
            return refuse(QStringLiteral("Parámetro no válido: solo se admiten caracteres ASCII "
                                         "imprimibles y el carácter %1 no lo es.")
                              .arg(i + 1));
        }
    }
    if (text.size() != kLength) {
        return refuse(QStringLiteral("Parámetro no válido: se esperaban %1 caracteres y se "
                                     "recibieron %2.")
                          .arg(kLength)
                          .arg(text.size()));
    }
    DeclarationArgs a;
    a.tipoDoc = text.mid(0, 2);
    a.docId = text.mid(2, 15);
    a.formulario = text.mid(17, 4);
    a.periodo = text.mid(21, 6);
    a.codigo = text.mid(27, 1);
    a.numero = text.mid(28, 8);
    if (!allDigits(a.periodo)) {
        return refuse(QStringLiteral("Parámetro no válido: el periodo \"%1\" debe tener seis "
                                     "dígitos.")
                          .arg(a.periodo));
    }
    // The document type goes into statements as a number, unquoted.
    if (!allDigits(a.tipoDoc.trimmed())) {
        return refuse(QStringLiteral("Parámetro no válido: el tipo de documento \"%1\" debe "
                                     "ser un número.")
                          .arg(a.tipoDoc));
    }
    const QString fields[] = {a.tipoDoc, a.docIdTrimmed(), a.formulario, a.codigo, a.numero};
    for (const QString &f : fields) {
        if (unsafeForFileName(f)) {
            return refuse(QStringLiteral("Parámetro no válido: \"%1\" no puede formar parte de "
                                         "un nombre de archivo.")
                              .arg(f.simplified()));
        }
    }
    return a;
}

} // namespace qz
