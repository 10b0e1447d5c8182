#pragma once

#include <QIcon>

namespace lurvo::app {

// The program's icon, drawn: a speech bubble with a repeat arrow.
QIcon appIcon();

} // namespace lurvo::app
