// Which page image the preview shows (iNroHoja) and how pMostrar moves through the images.
// Every call of pMostrar, whether or not it changes the image, also puts both vertical scroll
// bars of the page area back at 0; the window does that part.
#pragma once

namespace qz {

// The codes pMostrar takes.
constexpr int kMostrarPrimera = 0;    // the first image
constexpr int kMostrarSiguiente = -1; // the next image ("Pag Sgt")
constexpr int kMostrarAnterior = -2;  // the previous image ("Pag Anterior")

class PreviewNavigation final {
public:
    // A reading drew pageCount images (at least image 0 always exists); the first is shown.
    void setPageCount(int pageCount);
    int pageCount() const { return pageCount_; }
    int iNroHoja() const { return iNroHoja_; }

    // 0 shows image 0; -1 the next image while there is one; -2 the previous one while the
    // shown image is not the first. Any other code changes nothing. Returns true when the
    // image shown changed.
    bool pMostrar(int nroHoja);

private:
    int pageCount_ = 1;
    int iNroHoja_ = 0;
};

} // namespace qz
