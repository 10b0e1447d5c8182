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

// Whether a picture drawn for a screen scale of 2 is only a blown-up picture of scale 1: every
// 2 by 2 block of its pixels one colour. A picture drawn in the screen's own pixels has edges
// that fall inside blocks.
inline bool blownUp(const QImage& image) {
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y + 1 < pixels.height(); y += 2)
        for (int x = 0; x + 1 < pixels.width(); x += 2) {
            const QRgb c = pixels.pixel(x, y);
            if (pixels.pixel(x + 1, y) != c || pixels.pixel(x, y + 1) != c ||
                pixels.pixel(x + 1, y + 1) != c)
                return false;
        }
    return true;
}

} // namespace lurvo::test
