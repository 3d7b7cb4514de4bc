// Fuzz target of the QZ000.INI reader and writer: any bytes are read without failing, the
// file's content is stable once read, and a key written reads back while every other key of
// the file keeps its value.
#include "core/data/inifile.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    qz::IniFile ini;
    ini.setContent(bytes);
    const QByteArray content = ini.content();
    qz::IniFile again;
    again.setContent(content);
    require(again.content() == content);

    const QString section = QStringLiteral("Options");
    const QString dbName = ini.value(section, QStringLiteral("DBName"));
    ini.setValue(section, QStringLiteral("SystemDB"), QStringLiteral("C:\\ZEB\\QZ000.MDW"));
    require(ini.value(section, QStringLiteral("SystemDB")) == QStringLiteral("C:\\ZEB\\QZ000.MDW"));
    // Another key of the same section reads the same after the write.
    require(ini.value(section, QStringLiteral("DBName")) == dbName);
    return 0;
}
