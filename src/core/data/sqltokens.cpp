// Tokens of the host dialect and the call rewriting both translations share.
#include "core/data/sqltokens.h"

namespace qz::sql {

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

class Translator {
public:
    Translator(const std::vector<Token> &tokens, const CallRewriter &rewrite,
               const std::function<QString(const QString &)> &renameIdent)
        : t_(tokens), rewrite_(rewrite), renameIdent_(renameIdent)
    {
    }

    // Translated text of tokens [from, to).
    QString range(size_t from, size_t to) const
    {
        QString out;
        for (size_t i = from; i < to; ++i) {
            const Token &tok = t_[i];
            if (tok.kind == Tok::Word) {
                size_t open = nextSignificant(t_, i + 1);
                if (open < to && isPunct(t_[open], u'(')) {
                    size_t close = matching(open, to);
                    if (close < to) {
                        QString call;
                        if (rewrite_(tok.text, arguments(open, close), &call)) {
                            out += call;
                            i = close;
                            continue;
                        }
                    }
                }
                if (isWord(tok, "DELETE")) {
                    size_t star = nextSignificant(t_, i + 1);
                    if (star < to && isPunct(t_[star], u'*')) {
                        out += tok.text;
                        i = star; // drop "*" of "DELETE * FROM"
                        continue;
                    }
                }
            }
            if (tok.kind == Tok::Ident && renameIdent_) {
                out += renameIdent_(tok.text);
                continue;
            }
            out += tok.text;
        }
        return out;
    }

private:
    size_t matching(size_t open, size_t to) const
    {
        int depth = 0;
        for (size_t i = open; i < to; ++i) {
            if (isPunct(t_[i], u'(')) {
                ++depth;
            } else if (isPunct(t_[i], u')') && --depth == 0) {
                return i;
            }
        }
        return to;
    }

    // Translated arguments of a call whose parentheses are at open and close.
    QStringList arguments(size_t open, size_t close) const
    {
        QStringList args;
        int depth = 0;
        size_t start = open + 1;
        for (size_t i = open + 1; i < close; ++i) {
            if (isPunct(t_[i], u'(')) {
                ++depth;
            } else if (isPunct(t_[i], u')')) {
                --depth;
            } else if (depth == 0 && isPunct(t_[i], u',')) {
                args << range(start, i);
                start = i + 1;
            }
        }
        args << range(start, close);
        if (args.size() == 1 && args.front().trimmed().isEmpty()) {
            args.clear();
        }
        return args;
    }

    const std::vector<Token> &t_;
    const CallRewriter &rewrite_;
    const std::function<QString(const QString &)> &renameIdent_;
};

} // namespace

std::vector<Token> tokenize(const QString &sql)
{
    std::vector<Token> out;
    const int n = static_cast<int>(sql.size());
    int i = 0;
    while (i < n) {
        QChar c = sql.at(i);
        int start = i;
        if (c.isSpace()) {
            while (i < n && sql.at(i).isSpace()) {
                ++i;
            }
            out.push_back({Tok::Space, sql.mid(start, i - start)});
        } else if (c == u'\'' || c == u'"') {
            // Quoted text or name; a doubled quote stays inside.
            ++i;
            while (i < n) {
                if (sql.at(i) == c) {
                    if (i + 1 < n && sql.at(i + 1) == c) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            out.push_back({c == u'\'' ? Tok::String : Tok::Ident, sql.mid(start, i - start)});
        } else if (c == u'[') {
            int close = sql.indexOf(u']', i);
            if (close < 0) {
                close = n - 1;
            }
            QString name = sql.mid(i + 1, close - i - 1);
            name.replace(u'"', QStringLiteral("\"\""));
            out.push_back({Tok::Ident, u'"' + name + u'"'});
            i = close + 1;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && sql.at(i + 1).isDigit())) {
            while (i < n && (sql.at(i).isLetterOrNumber() || sql.at(i) == u'.')) {
                ++i;
            }
            out.push_back({Tok::Number, sql.mid(start, i - start)});
        } else if (isWordChar(c)) {
            while (i < n && isWordChar(sql.at(i))) {
                ++i;
            }
            out.push_back({Tok::Word, sql.mid(start, i - start)});
        } else {
            ++i;
            out.push_back({Tok::Punct, QString(c)});
        }
    }
    return out;
}

bool isWord(const Token &t, const char *word)
{
    return t.kind == Tok::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isPunct(const Token &t, char16_t c)
{
    return t.kind == Tok::Punct && t.text.size() == 1 && t.text.at(0) == c;
}

size_t nextSignificant(const std::vector<Token> &t, size_t i)
{
    while (i < t.size() && t[i].kind == Tok::Space) {
        ++i;
    }
    return i;
}

QString joined(const std::vector<Token> &t)
{
    QString out;
    for (const Token &tok : t) {
        out += tok.text;
    }
    return out;
}

bool rewriteIsNull(const QStringList &args, QString *out)
{
    if (args.size() != 1) {
        return false;
    }
    *out = QStringLiteral("((") + args[0] + QStringLiteral(") IS NULL)");
    return true;
}

QString rewriteCalls(const std::vector<Token> &tokens, const CallRewriter &rewrite,
                     const std::function<QString(const QString &)> &renameIdent)
{
    return Translator(tokens, rewrite, renameIdent).range(0, tokens.size());
}

} // namespace qz::sql
