// The text-utility component: file test, taxpayer-number (RUC) check, fixed-width and report
// field layout, document-number character rules, the numeric and letters key filters and the
// recovery approval. No window and no state; the program creates one instance at start and keeps
// it for the whole run.
//
// RUC rule: 11 ASCII digits; the first two are one of the prefixes 10, 15, 16, 17, 20; the 11th
// is a modulus-11 check digit over the first ten with weights 5,4,3,2,7,6,5,4,3,2: with S the
// weighted sum, d = 11 - (S mod 11), where d = 10 becomes 0 and d = 11 becomes 1. Example:
// 2010007970 gives S = 105, d = 11 - 6 = 5, so 20100079705 is valid.
//
// Key codes are character codes as the fields deliver them (8 Backspace, 13 Enter). The letters
// the forms accept beyond A-Z (Ñ and the accented vowels Á É Í Ó Ú Ü, upper and lower case) have
// the same code in Windows-1252, Latin-1 and Unicode, so one code serves all three. A filter
// rejects a key by returning 0.
#pragma once

#include <QString>

namespace qz {

// Key codes of Enter and Backspace as the fields' key handlers receive them.
inline constexpr int kEnterKey = 13;
inline constexpr int kBackspaceKey = 8;

class TextUtility final {
public:
    TextUtility() = default;

    // True when path names an existing file (a symbolic link counts when its target is a file).
    // A folder, a missing path and an empty path give false.
    bool fileExists(const QString &path) const;

    // True when ruc is a valid taxpayer number by the rule in the file comment. The caller passes
    // trimmed text: blanks anywhere, letters, other digits than ASCII 0-9 and any length other
    // than 11 make the number invalid.
    bool isValidRuc(const QString &ruc) const;

    // tenDigits followed by its RUC check digit, for making valid numbers (demo data, tests).
    // Empty when tenDigits is not exactly ten ASCII digits. The prefix is not checked: the result
    // passes isValidRuc only when its first two digits are a valid prefix.
    static QString completeRuc(const QString &tenDigits);

    // text laid out in a field of exactly width characters: cut on the right when longer, padded
    // with blanks on the right when shorter. A width of 0 or less gives an empty text.
    QString fixedWidth(const QString &text, int width) const;

    // text right-justified in a field of width characters, blanks on the left. A text longer than
    // the field is returned whole and unpadded: an amount must never lose digits, so the layout
    // of the line gives way instead. A width of 0 or less returns text unchanged.
    QString reportField(const QString &text, int width) const;

    // Character rule of a document number whose type has a numeric data kind (any kind but
    // "0", the kinds whose numbers the forms let the user type in digits only): one or more
    // ASCII digits. Blanks around the number are ignored (the length rule also works on the trimmed
    // number); blanks inside, signs and letters make it invalid.
    bool isValidDocNumberNumeric(const QString &number) const;

    // Character rule of a document number whose type has data kind "0" (passports, foreigners'
    // cards, typed with letters too): one or more of the letters
    // A-Z (either case), ASCII digits and '-', with at least one letter or digit. Blanks around
    // the number are ignored; blanks inside and any other character make it invalid.
    bool isValidDocNumberAlnum(const QString &number) const;

    // Numeric key filter: returns keyCode when the key may reach the field, else 0. Digits 0-9,
    // Backspace (8) and Enter (13) always pass (Enter reaches the filter after the field has
    // treated it as Tab, and a line edit ignores it). The options widen the set:
    //   allowDecimalPoint  '.' passes (the percentage field);
    //   allowMinus         '-' passes;
    //   allowBlank         ' ' passes.
    // Every caller but the percentage field passes false for all three. Without the field's text
    // this form cannot refuse a second point; the overload below can.
    int numericKeyFilter(int keyCode, bool allowDecimalPoint, bool allowMinus,
                         bool allowBlank) const;

    // As above, knowing the field's current text: '.' passes only while currentText holds no
    // point, and '-' only while currentText is empty (so it can only lead the number).
    int numericKeyFilter(int keyCode, const QString &currentText, bool allowDecimalPoint,
                         bool allowMinus, bool allowBlank) const;

    // Letters key filter for names and surnames: letters A-Z and a-z, Ñ ñ, Á É Í Ó Ú Ü and their
    // lower-case forms, the blank, Backspace (8) and Enter (13) pass; lower-case letters come
    // back in upper case (names are stored in capitals). Everything else, the apostrophe, the
    // point and the dash included, gives 0: names hold letters and blanks only.
    int lettersKeyFilter(int keyCode) const;

    // Recovery approval for a sent declaration: always true, nothing further is asked.
    bool approveRecovery() const;
};

} // namespace qz
