#pragma once

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>

// Where the main window opens, worked out from the screens alone so that any arrangement of
// screens can be tried without them.
namespace lurvo::app {

// A first start shows every panel, the logo and the web page included.
inline constexpr QSize kFirstStartSize{1100, 720};

// The window's geometry (without its frame) at start.
//   saved    its last geometry when not maximised; empty when none was stored
//   screens  the available area of every screen, the primary first
//   minimum  the smallest size the window takes
//   frame    the window manager's frame around it, as far as known
// Without a saved geometry: kFirstStartSize when the primary screen has room for it, else 90%
// of that screen, centred on it. A saved geometry is kept on the screen that shows most of it,
// made smaller and moved only as far as needed to lie wholly on it; one that no screen shows
// any of keeps its size (made to fit) and is centred on the primary screen.
QRect placeMainWindow(const QRect& saved, const QList<QRect>& screens, const QSize& minimum,
                      const QMargins& frame);

} // namespace lurvo::app
