// The file test on std::filesystem, which reports why a test failed.
#include "core/data/filetest.h"

#include <QDir>

#include <filesystem>
#include <system_error>

namespace qz {

bool ExisteArchivo(const QString &path, Messenger &messenger)
{
    namespace fs = std::filesystem;
    const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    const QString folder = cut >= 0 ? path.left(cut + 1) : QStringLiteral(".");
    const QString name = path.mid(cut + 1);

    auto report = [&messenger](int number, const QString &description) {
        messenger.show(MessageIcon::Critical, QStringLiteral("Error de Ejecución"),
                       QStringLiteral("Error ") + QString::number(number) + u'\n' + description);
        return false;
    };
    auto numberOf = [](const std::error_code &ec) {
        return ec == std::errc::permission_denied ? 75 : 57;
    };
    auto descriptionOf = [](const std::error_code &ec) {
        return ec == std::errc::permission_denied
                   ? QStringLiteral("Error de acceso a la ruta o el archivo")
                   : QStringLiteral("Error de E/S en el dispositivo: ") +
                         QString::fromStdString(ec.message());
    };

    std::error_code ec;
    const fs::path dir = QDir::toNativeSeparators(folder).replace(u'\\', u'/').toStdString();
    const fs::file_status st = fs::status(dir, ec);
    if (ec || !fs::is_directory(st)) {
        // A folder that is not there is "path not found" (76), which passes silently.
        if (!ec || ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory) {
            return false;
        }
        return report(numberOf(ec), descriptionOf(ec));
    }
    if (name.isEmpty()) {
        return false;
    }
    if (fs::exists(dir / name.toStdString(), ec)) {
        return true;
    }
    // The host's directory search ignores case, as its file system does.
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const QString entry = QString::fromStdString(it->path().filename().string());
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    if (ec) {
        return report(numberOf(ec), descriptionOf(ec));
    }
    return false;
}

} // namespace qz
