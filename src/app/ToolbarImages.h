#pragma once

#include <QIcon>

namespace lurvo::app {

// The toolbar's pictures, 48 by 16 pixels each, drawn rather than shipped: the icon holds them
// drawn for the common screen scales, so a scaled screen shows them sharp.
enum class ToolbarImage { Open, Play, Pause, Stop, Previous, Next, Repeat, ReadAlong };

QIcon toolbarIcon(ToolbarImage image);

} // namespace lurvo::app
