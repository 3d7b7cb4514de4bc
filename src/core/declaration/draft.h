// A draft of the declaration on the window: everything the user can type or choose (the 25
// boxes as shown, the typed fields, the five answers, the reorganization type, the payment
// data, the box-110 assistant's amounts and the companies of the scratch list), the
// declaration it belongs to and the time it was written.
//
// On disk a draft is a small JSON object ("format" "0731-draft", "version" 1). Enumerations
// are written by name, not by number, so that a later reordering of them cannot move a value
// into another field. A text that is not such an object, or holds a value of the wrong type,
// is refused as a whole: a draft restored halfway would be worse than none.
#pragma once

#include "core/declaration/declarationmodel.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace qz {

// Whose declaration a draft holds: the user, the taxpayer, the exercise and the form.
struct DraftKey {
    QString user;
    QString ruc;
    QString exercise;
    QString form;

    bool operator==(const DraftKey &) const = default;
};

struct DeclarationDraft {
    DraftKey key;
    QDateTime written;
    std::map<int, QString> boxes;      // every box of the box list, as shown
    std::map<Field, QString> fields;   // the fields of draftFields()
    std::map<Answer, QString> answers; // "1", "0" or empty
    QString tipoReorg;                 // one character or empty
    QString paymentType;
    QString bankCode;
    QString chequeNumber;
    QString mtoDet; // the box-110 assistant's amounts
    QString mtoNet;
    std::vector<CompanyRow> companies;

    bool operator==(const DeclarationDraft &) const = default;
};

// The fields a draft keeps: the typed ones that are not the declaration's key (the taxpayer
// and the exercise) nor a sent declaration's order number.
const std::vector<Field> &draftFields();

// The model's state as a draft stamped with now(). Reads the scratch companies list: throws
// DbError when it cannot.
DeclarationDraft captureDraft(DeclarationModel &model, const DraftKey &key);

QByteArray draftToJson(const DeclarationDraft &draft);
// The draft in text, or nothing (with the reason in why) when the text is not a draft of
// this format and version.
std::optional<DeclarationDraft> draftFromJson(const QByteArray &text, QString *why = nullptr);

} // namespace qz
