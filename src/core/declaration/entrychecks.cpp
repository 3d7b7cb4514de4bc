// The checks that run while boxes 208, 211, 212 and 226 are typed.
#include "core/declaration/declarationmodel.h"

namespace qz {

void DeclarationModel::entryChecks(int number)
{
    const QString t = text(number).trimmed();
    if (number == 208 && !bCargando_ && text(number).size() == 11) {
        if (!textUtility_.isValidRuc(t)) {
            show(MessageIcon::Critical, QStringLiteral("El RUC no es Válido."));
            emit pageRequested(4);
            emit focusRequested({208, std::nullopt, false});
        }
        if (t == sRuc_.trimmed()) {
            show(MessageIcon::Critical,
                 QStringLiteral("El RUC no puede ser igual al RUC del Contribuyente."));
            emit pageRequested(4);
            emit focusRequested({208, std::nullopt, false});
        }
    } else if (number == 226 && !bCargando_ &&
               representativeType_.startsWith(QLatin1String("06")) && text(number).size() == 11 &&
               !textUtility_.isValidRuc(t)) {
        show(MessageIcon::Critical, QStringLiteral("El RUC no es válido."));
        emit pageRequested(4);
        emit focusRequested({226, std::nullopt, false});
    } else if (number == 211) {
        pTemCasillas(211, 212);
    } else if (number == 212) {
        pTemCasillas(212, 211);
    }
}

void DeclarationModel::pTemCasillas(int index, int indexSgt)
{
    if (vacio(index) || vacio(indexSgt)) {
        return;
    }
    const QString question = QStringLiteral("Las casillas ") + QString::number(index) +
                             QStringLiteral(" y ") + QString::number(indexSgt) +
                             QStringLiteral(" son excluyentes.") + u'\n' +
                             QStringLiteral("¿Desea registrar información en la casilla ") +
                             QString::number(index) + QStringLiteral("?.");
    const MessageAnswer a = messenger_.show(MessageIcon::Question, QString::fromLatin1(kCaption),
                                            question, MessageButtons::YesNo, MessageAnswer::Yes);
    if (a == MessageAnswer::Yes) {
        setText(indexSgt, QString());
        emit focusRequested({index, std::nullopt, false});
    } else {
        setText(index, QString());
        emit focusRequested({indexSgt, std::nullopt, false});
    }
}

} // namespace qz
