// Small steps on a declaration model that tests share.
#pragma once

#include "core/components/doctypes.h"
#include "core/declaration/declarationmodel.h"

namespace qz::test {

// Chooses the representative's document type by its code ("01", "06"), as the window's list
// would; the model must be open. False when the list has no such type.
[[nodiscard]] inline bool chooseRepresentativeTypeCode(DeclarationModel &model, const QString &code)
{
    const QStringList &types = model.representativeTypes();
    for (int i = 0; i < types.size(); ++i) {
        if (entryTypeCode(types[i]) == code) {
            model.chooseRepresentativeType(i);
            return true;
        }
    }
    return false;
}

// Types a whole consistent declaration of 2009 on an open new model for the taxpayer at index
// in the list, as the user fills it in. False when a step cannot be taken.
[[nodiscard]] inline bool typeWholeDeclaration(DeclarationModel &m, int index = 0)
{
    m.chooseTaxpayer(index);
    m.setField(Field::Periodo, "2009");
    m.setField(Field::Telefono, "4455667");
    for (Answer a : {Answer::Rectifica, Answer::Liquid, Answer::Reorg, Answer::Coop}) {
        m.chooseAnswer(a, 0);
    }
    m.setText(101, "2,500,000"); // as the box shows it after the user leaves it
    m.setText(160, "1");
    m.setText(180, "6,000");
    m.setPaymentType("E");
    if (!chooseRepresentativeTypeCode(m, "01")) {
        return false;
    }
    m.setText(226, "12345678");
    m.setField(Field::ApellidoRepresentante, "DIAZ");
    return true;
}

} // namespace qz::test
