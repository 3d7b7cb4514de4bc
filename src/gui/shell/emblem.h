// declmod's own pictures, drawn in code: the emblem of the about box and the fixed background
// picture of the main window's client area.
#pragma once

#include <QPixmap>
#include <QSize>

namespace qz {

// The emblem: a shield with the form number, size x size pixels.
QPixmap emblemPixmap(int size);

// The background picture for a client area of the given size: a pale gradient with the
// emblem and the names of the form and the tax, drawn the same way whatever the size.
QPixmap backgroundPixmap(const QSize &size);

} // namespace qz
