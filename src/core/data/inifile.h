// A private-profile (INI) file kept as its original lines and bytes.
//
// The file is Windows-1252 with CR LF (LF alone is read too). Section and key names compare
// case-insensitively, the first duplicate wins, values are trimmed and one pair of surrounding
// quotes removed, nothing is escaped, ";" inside a value is text, values are cut at 255
// characters and a missing key reads as empty text. Writing one key edits only its line, or
// appends the key at the end of its section (a new section at the end of the file), and
// replaces the file in one step; every other line keeps its bytes.
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace qz {

class IniFile final {
public:
    // Loads a file; a missing file is an empty file. Returns false when it exists but cannot
    // be read.
    bool load(const QString &path);
    // Parses the bytes of a file's content.
    void setContent(const QByteArray &bytes);
    QByteArray content() const;

    QString value(const QString &section, const QString &key) const;
    bool contains(const QString &section, const QString &key) const;
    void setValue(const QString &section, const QString &key, const QString &value);
    // Writes the file atomically to the path it was loaded from (or the given one).
    bool save(const QString &path = {}) const;

    QString path() const { return path_; }

private:
    struct Located {
        int sectionLine = -1; // header line of the section, -1 when absent
        int lastLine = -1;    // last non-blank line of the section
        int keyLine = -1;     // line of the key, -1 when absent
    };
    Located locate(const QString &section, const QString &key) const;

    QString path_;
    std::vector<QByteArray> lines_; // without their line ends
    QByteArray eol_ = "\r\n";
    bool finalEol_ = true;
    QByteArray finalTail_; // "\r" when the file ends in a CR without its LF
};

// One-call helpers on a path, as the host's profile functions.
QString readProfileString(const QString &path, const QString &section, const QString &key);
bool writeProfileString(const QString &path, const QString &section, const QString &key,
                        const QString &value);

} // namespace qz
