#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <cstdlib>

namespace lurvo::test {

// Whether two colours are alike, allowing for the blending at the edges of antialiased type.
inline bool nearColour(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue()) <
           40;
}

// Whether some pixel of `area` (the part inside the image) is near `colour`.
inline bool colourIn(const QImage& image, const QRect& area, const QColor& colour) {
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (nearColour(image.pixelColor(x, y), colour))
                return true;
    return false;
}

} // namespace lurvo::test
