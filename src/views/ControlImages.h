#pragma once

#include <QSize>

class QPainter;

namespace lurvo::views {

// The product logo of the control panel, 125 by 60 pixels.
inline constexpr QSize kLogoSize(125, 60);

// Draws the logo with its top left at the painter's origin, in the painter's own pixels: sharp
// on a scaled screen.
void paintLogo(QPainter& p);

} // namespace lurvo::views
