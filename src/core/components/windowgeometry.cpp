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

int dropDownWidth(int alphabetWidth, int characters)
{
    return std::max(0, (alphabetWidth / 52) * (characters - 2));
}

} // namespace qz
