// Window placement arithmetic.
#include "core/components/windowgeometry.h"

#include <algorithm>
#include <cmath>

namespace qz {

int twipsToPixels(double twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

double pixelsToTwips(int pixels, double dpi)
{
    return dpi > 0 ? pixels * kTwipsPerInch / dpi : 0.0;
}

TwipsPoint centredPosition(double mainWidth, double mainHeight, double width, double height,
                           bool raise)
{
    TwipsPoint p;
    // The host takes Int of the half, which rounds down; the top keeps its half twip.
    p.left = std::floor((mainWidth - width) / 2.0);
    p.top = (mainHeight - height) / 2.0 - (raise ? kDeclarationFormRaiseTwips : 0.0);
    return p;
}

QSize placedSize(QSize defined, QSize least, QSize room, QMargins frame)
{
    const int leastWidth = std::max(0, least.width());
    const int leastHeight = std::max(0, least.height());
    const int width = std::max(defined.width(), leastWidth);
    const int height = std::max(defined.height(), leastHeight);
    const int roomWidth = room.width() - frame.left() - frame.right();
    const int roomHeight = room.height() - frame.top() - frame.bottom();
    return {std::max(std::min(width, roomWidth), leastWidth),
            std::max(std::min(height, roomHeight), leastHeight)};
}

namespace {

// One axis of keptInside: the start of a span of length inside [first, first + room).
int keptStart(int wanted, int length, int first, int room)
{
    if (length >= room) {
        return first;
    }
    return std::clamp(wanted, first, first + room - length);
}

} // namespace

QPoint keptInside(QPoint wanted, QSize frameSize, const QRect &available)
{
    return {keptStart(wanted.x(), frameSize.width(), available.left(), available.width()),
            keptStart(wanted.y(), frameSize.height(), available.top(), available.height())};
}

int dropDownWidth(int alphabetWidth, int characters)
{
    return std::max(0, (alphabetWidth / 52) * (characters - 2));
}

} // namespace qz
