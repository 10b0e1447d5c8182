#pragma once

#include <QIcon>

namespace lurvo::app {

// The toolbar's pictures, 48 by 16 pixels each, drawn rather than shipped.
enum class ToolbarImage { Open, Play, Pause, Stop, Previous, Next, Repeat, ReadAlong };

QIcon toolbarIcon(ToolbarImage image);

} // namespace lurvo::app
