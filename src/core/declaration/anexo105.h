// The box-105 assistant without widgets: the eleven deduction amounts of a declaration (DET
// rows 546 to 556), their running total under the amount limit, the opening from the stored
// rows and the accept that replaces those rows at once, plus the row writer that stores one
// box of a declaration with its record control code.
#pragma once

#include "core/data/database.h"

#include <QString>

#include <array>

namespace qz {

class Anexo105 final {
public:
    static constexpr int kFields = 11;
    static constexpr int kFirstBox = 546; // field i is DET box 546 + i
    // Display patterns of an amount: while it is edited, after it is left, and of the total.
    static constexpr const char *kEditPattern = "##########0";
    static constexpr const char *kShownPattern = "##,###,###,##0";
    static constexpr const char *kLoadPattern = "#,###,###,##0";
    static constexpr int kEditLength = 11;
    static constexpr int kShownLength = 14;
    // The highest total of the eleven amounts.
    static constexpr double kLimit = 999999999999.0;

    // What a change of one amount did to the total.
    enum class Change {
        Counted,       // the amount is in the total
        OverLimit,     // the total would pass the limit: the amount is to be removed
        TooManyDigits, // 12 or more digits: the amount stays but is not in the total
    };

    // The amount texts as the fields show them (index 0 to 10).
    QString amount(int field) const { return amounts_.at(static_cast<size_t>(field)); }
    // The total as shown, "##,###,###,##0" (empty until an amount changes).
    QString totalText() const { return totalText_; }
    // dTotal: the shown total read as a whole number (0 for an empty total).
    double total() const;

    // A field's text changed (typed, reformatted or emptied): stores it and recomputes the
    // total from the ten others plus this one. On OverLimit and TooManyDigits the total
    // leaves this amount out; the caller shows its message, and on OverLimit empties the field
    // (which is a further change).
    Change change(int field, const QString &text);

    // The opening: reads rows 546 to 556 of the declaration (from HDET with its sending number
    // when bHistorico) into the fields, formatted "#,###,###,##0"; the other fields are empty
    // and the total is recomputed. Throws DbError.
    void load(Database &db, const QString &ruc, const QString &periodo, const QString &formulario,
              bool bHistorico, const QString &sCorrel);

    // "&Aceptar": in a new declaration (iAccion 0) adds the provisional header (cNumero "0")
    // when the declaration has none; deletes rows 546 to 556 and writes one row per non-empty
    // amount. All of it in one transaction: on a DbError nothing has changed and the error is
    // rethrown. Returns dTotal.
    double accept(Database &db, const QString &ruc, const QString &periodo,
                  const QString &formulario, int iAccion) const;

    // The row writer: stores box casilla of the declaration with value valor as
    // "###########0" (idcasilla "05" for box 180, "01" otherwise) and its record control code
    // over 6 key columns, adding the row or editing the one found. Writes nothing and returns
    // false when valor is empty after trimming or "________". Throws DbError.
    static bool writeRow(Database &db, const QString &casilla, const QString &valor,
                         const QString &ruc, const QString &periodo, const QString &formulario);

private:
    std::array<QString, kFields> amounts_;
    QString totalText_;
};

} // namespace qz
