// Tokens of a statement in the host dialect, and the rewriting both engines' translations
// share: calls are rewritten with their arguments translated first, "DELETE * FROM" loses its
// "*", and nothing inside quoted text is ever touched.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace qz::sql {

enum class Tok { Space, Word, Number, String, Ident, Punct };

struct Token {
    Tok kind;
    QString text;
};

// Splits a statement into tokens. A bracketed name [x] becomes the quoted identifier "x"; a
// quoted text or name keeps its doubled quotes inside one token.
std::vector<Token> tokenize(const QString &sql);

bool isWord(const Token &t, const char *word);
bool isPunct(const Token &t, char16_t c);
// Index of the next token at or after i that is not blank; size when none.
size_t nextSignificant(const std::vector<Token> &t, size_t i);
// Text of the tokens joined again.
QString joined(const std::vector<Token> &t);

// Rewrites a call: given the name as written and the arguments already translated, returns
// true and sets *out to the call's replacement, or returns false to keep the call as written
// (its arguments are still translated).
using CallRewriter =
    std::function<bool(const QString &name, const QStringList &args, QString *out)>;

// The host's ISNULL(x), the same on every engine: ((x) IS NULL). False for another number of
// arguments (the call is kept).
bool rewriteIsNull(const QStringList &args, QString *out);

// Rewrites every call of the statement through rewrite and drops the "*" of "DELETE * FROM";
// identifier tokens go through renameIdent when it is set.
QString rewriteCalls(const std::vector<Token> &tokens, const CallRewriter &rewrite,
                     const std::function<QString(const QString &)> &renameIdent = {});

} // namespace qz::sql
