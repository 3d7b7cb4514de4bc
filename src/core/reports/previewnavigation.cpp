// Moving through the preview's images.
#include "core/reports/previewnavigation.h"

#include <algorithm>

namespace qz {

void PreviewNavigation::setPageCount(int pageCount)
{
    pageCount_ = std::max(1, pageCount);
    iNroHoja_ = 0;
}

bool PreviewNavigation::pMostrar(int nroHoja)
{
    const int before = iNroHoja_;
    if (nroHoja == kMostrarPrimera) {
        iNroHoja_ = 0;
    } else if (nroHoja == kMostrarAnterior && iNroHoja_ > 0) {
        --iNroHoja_;
    } else if (nroHoja == kMostrarSiguiente && iNroHoja_ + 1 < pageCount_) {
        ++iNroHoja_;
    }
    return iNroHoja_ != before;
}

} // namespace qz
