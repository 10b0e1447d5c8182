#pragma once

#include <QImage>

namespace lurvo::views {

// The product logo of the control panel, 125 by 60 pixels.
QImage logoImage();

} // namespace lurvo::views
