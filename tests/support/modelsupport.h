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

} // namespace qz::test
