// The page-range dialog's caption, key rule and checks.
#include "core/reports/pagerangecheck.h"

#include "core/data/numbertext.h"

#include <cmath>
#include <limits>

namespace qz {

QString pageRangeCaption(int pages)
{
    return QStringLiteral("Impresión de %1 páginas").arg(pages);
}

bool pageFieldAccepts(int keyCode)
{
    return (keyCode >= '0' && keyCode <= '9') || keyCode == '.' || keyCode == ' ' || keyCode == 8;
}

int pageNumber(const QString &text)
{
    // nearbyint rounds in the default mode: to nearest, halves to even.
    const double rounded = std::nearbyint(val(text));
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    if (std::isnan(rounded)) {
        return 0;
    }
    if (rounded <= lowest) {
        return std::numeric_limits<int>::min();
    }
    if (rounded >= highest) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(rounded);
}

PageRangeCheck checkPageRange(const QString &first, const QString &last, int totalPages)
{
    const auto refused = [](const char *message) {
        return PageRangeCheck{std::nullopt, QString::fromUtf8(message)};
    };
    if (first.trimmed().isEmpty()) {
        return refused("Ingrese página de inicio.");
    }
    const int from = pageNumber(first);
    if (from <= 0) {
        return refused("Página inicial debe ser a partir de 1.");
    }
    if (from > totalPages) {
        return refused("Página inicial no debe ser mayor a total de páginas del reporte.");
    }
    if (last.trimmed().isEmpty()) {
        return refused("Ingrese página de Fin.");
    }
    const int to = pageNumber(last);
    if (to < from) {
        // The message has "Inicio" and "Fin" the wrong way round; it is the defined text.
        return refused("Página de Inicio debe ser mayor a página de Fin.");
    }
    return PageRangeCheck{PageRange{from, to}, {}};
}

} // namespace qz
