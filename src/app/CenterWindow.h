#pragma once

class QWidget;

namespace lurvo::app {

// Moves a window to the middle of its screen without resizing it, never past the top left.
void CenterWindow(QWidget* window);

} // namespace lurvo::app
