// Private-profile files kept line by line, so that writing one key leaves every other byte.
#include "core/data/inifile.h"

#include "core/data/wholefile.h"

#include "core/data/cp1252.h"

#include <QFile>
#include <QSaveFile>

namespace qz {

namespace {

constexpr int kMaxValueLength = 255;

QString decoded(const QByteArray &line)
{
    return fromCp1252(line);
}

// Section name of a header line "[name]" (blanks around allowed), or null when not a header.
QString sectionName(const QString &line)
{
    QString t = line.trimmed();
    if (!t.startsWith(u'[')) {
        return {};
    }
    int close = t.indexOf(u']');
    QString name = close < 0 ? t.mid(1) : t.mid(1, close - 1);
    return name.trimmed().isNull() ? QStringLiteral("") : name.trimmed();
}

bool isComment(const QString &line)
{
    return line.trimmed().startsWith(u';');
}

QString keyOf(const QString &line)
{
    int eq = line.indexOf(u'=');
    return eq < 0 ? QString() : line.left(eq).trimmed();
}

QString cleanValue(QString v)
{
    v = v.trimmed();
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front()) {
        v = v.mid(1, v.size() - 2);
    }
    return v.left(kMaxValueLength);
}

} // namespace

bool IniFile::load(const QString &path)
{
    path_ = path;
    QFile f(path);
    if (!f.exists()) {
        setContent({});
        return true;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        setContent({});
        return false;
    }
    setContent(f.readAll());
    return true;
}

void IniFile::setContent(const QByteArray &bytes)
{
    lines_.clear();
    eol_ = bytes.contains("\r\n") || !bytes.contains('\n') ? QByteArray("\r\n") : QByteArray("\n");
    finalEol_ = bytes.isEmpty() || bytes.endsWith('\n');
    finalTail_.clear();
    QList<QByteArray> parts = bytes.split('\n');
    if (finalEol_ && !parts.isEmpty()) {
        parts.removeLast();
    }
    for (QByteArray &p : parts) {
        if (p.endsWith('\r')) {
            p.chop(1);
        }
        lines_.push_back(p);
    }
    // A last line that ends in a CR without its LF keeps that CR when the file is written.
    if (!finalEol_ && bytes.endsWith('\r')) {
        finalTail_ = "\r";
    }
}

QByteArray IniFile::content() const
{
    QByteArray out;
    for (size_t i = 0; i < lines_.size(); ++i) {
        out += lines_[i];
        if (i + 1 < lines_.size() || finalEol_) {
            out += eol_;
        } else {
            out += finalTail_;
        }
    }
    return out;
}

IniFile::Located IniFile::locate(const QString &section, const QString &key) const
{
    Located where;
    bool inside = false;
    for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
        QString line = decoded(lines_[i]);
        QString name = sectionName(line);
        if (!name.isNull()) {
            if (inside) {
                break; // the first section of that name is the one that counts
            }
            if (name.compare(section, Qt::CaseInsensitive) == 0) {
                inside = true;
                where.sectionLine = i;
                where.lastLine = i;
            }
            continue;
        }
        if (!inside) {
            continue;
        }
        if (!line.trimmed().isEmpty()) {
            where.lastLine = i;
        }
        if (where.keyLine < 0 && !isComment(line) &&
            keyOf(line).compare(key, Qt::CaseInsensitive) == 0 && !keyOf(line).isEmpty()) {
            where.keyLine = i;
        }
    }
    return where;
}

QString IniFile::value(const QString &section, const QString &key) const
{
    Located where = locate(section, key);
    if (where.keyLine < 0) {
        return QString();
    }
    QString line = decoded(lines_[where.keyLine]);
    return cleanValue(line.mid(line.indexOf(u'=') + 1));
}

bool IniFile::contains(const QString &section, const QString &key) const
{
    return locate(section, key).keyLine >= 0;
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    Located where = locate(section, key);
    if (where.keyLine >= 0) {
        // Keep the key as it is spelled in the file, with its leading blanks.
        const QByteArray old = lines_[where.keyLine];
        lines_[where.keyLine] = old.left(old.indexOf('=')).trimmed() + '=' + toCp1252(value);
        if (old.startsWith(' ') || old.startsWith('\t')) {
            int lead = 0;
            while (lead < old.size() && (old[lead] == ' ' || old[lead] == '\t')) {
                ++lead;
            }
            lines_[where.keyLine].prepend(old.left(lead));
        }
        return;
    }
    QByteArray line = toCp1252(key) + '=' + toCp1252(value);
    if (where.sectionLine >= 0) {
        lines_.insert(lines_.begin() + where.lastLine + 1, line);
        return;
    }
    lines_.push_back('[' + toCp1252(section) + ']');
    lines_.push_back(line);
    finalEol_ = true;
    finalTail_.clear();
}

bool IniFile::save(const QString &path) const
{
    QSaveFile f(path.isEmpty() ? path_ : path);
    if (!f.open(QIODevice::WriteOnly)) {
        return false;
    }
    QByteArray bytes = content();
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    // A full disk must leave the old file, never a truncated one.
    return commitWhole(f);
}

QString readProfileString(const QString &path, const QString &section, const QString &key)
{
    IniFile ini;
    ini.load(path);
    return ini.value(section, key);
}

bool writeProfileString(const QString &path, const QString &section, const QString &key,
                        const QString &value)
{
    IniFile ini;
    if (!ini.load(path)) {
        return false;
    }
    ini.setValue(section, key, value);
    return ini.save();
}

} // namespace qz
