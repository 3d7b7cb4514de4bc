// A draft back into the model, in the order the loader uses: fields, answers, reorganization
// type, then the boxes, so every rule sees its inputs as it did when the user typed them.
#include "core/declaration/declarationmodel.h"

#include "core/declaration/boxes.h"
#include "core/declaration/draft.h"

namespace qz {

void DeclarationModel::restoreDraft(const DeclarationDraft &draft)
{
    // As while loading: the checks and reminders the user already saw while typing these
    // values are not shown again.
    bCargando_ = true;
    // The date before the answers, as the loader does, so that it is not checked against a
    // page that is not enabled yet.
    for (const auto &[f, text] : draft.fields) {
        setField(f, text);
    }
    for (const auto &[a, code] : draft.answers) {
        if (code == QLatin1String("0") || code == QLatin1String("1")) {
            chooseAnswer(a, code == QLatin1String("1") ? 1 : 0);
        } else if (!answer(a).isEmpty()) {
            answers_[a].clear();
            emit answerChanged(a);
        }
    }
    if (answer(Answer::Reorg) == QLatin1String("1") && !draft.tipoReorg.isEmpty()) {
        for (int i = 0; i < reorgTypes_.size(); ++i) {
            if (reorgTypes_[i].left(1).trimmed() == draft.tipoReorg) {
                chooseReorgType(i);
                break;
            }
        }
    }
    setRatioAmounts(draft.mtoDet, draft.mtoNet);
    replaceScratchCompanies(draft.companies);
    for (int n : kBoxList) {
        const auto it = draft.boxes.find(n);
        if (it != draft.boxes.end()) {
            setText(n, it->second);
        }
    }
    // The list entries of boxes 225 and 209, and the document length of box 226.
    representativeType_.clear();
    representativeTypeIndex_ = -1;
    selectRepresentativeType();
    setMaxLength(226, documentLength());
    payment_.setPaymentType(draft.paymentType);
    payment_.setBankCode(draft.bankCode);
    payment_.setChequeNumber(draft.chequeNumber);
    emit paymentChanged();
    bCargando_ = false;
    algunCambio_ = true;
    emit changed();
    emit identificationLoaded();
}

} // namespace qz
