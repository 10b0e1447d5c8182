#include "app/WindowPlacement.h"

#include <algorithm>

namespace lurvo::app {

namespace {

// A frame size no larger than the screen, nor smaller than the window can be.
QSize fitted(const QSize& size, const QRect& screen, const QSize& minimum) {
    return size.boundedTo(screen.size()).expandedTo(minimum);
}

QRect centred(const QSize& size, const QRect& screen) {
    const int x = screen.x() + std::max(0, (screen.width() - size.width()) / 2);
    const int y = screen.y() + std::max(0, (screen.height() - size.height()) / 2);
    return {QPoint(x, y), size};
}

qint64 areaOf(const QRect& rect) {
    return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height();
}

// Moved only as far as needed to lie on the screen; the top left wins when it cannot.
QRect movedOnto(const QRect& rect, const QRect& screen) {
    const int x = std::max(screen.left(), std::min(rect.left(), screen.right() + 1 - rect.width()));
    const int y = std::max(screen.top(), std::min(rect.top(), screen.bottom() + 1 - rect.height()));
    return {QPoint(x, y), rect.size()};
}

} // namespace

QRect placeMainWindow(const QRect& saved, const QList<QRect>& screens, const QSize& minimum,
                      const QMargins& frame) {
    // Worked out on the outer rectangle: the title bar must be on the screen too.
    const QSize outerMinimum = minimum.grownBy(frame);
    const QRect outerSaved = saved.isEmpty() ? QRect() : saved.marginsAdded(frame);
    if (screens.isEmpty())
        return saved.isEmpty() ? QRect(QPoint(0, 0), kFirstStartSize) : saved;
    const QRect& primary = screens.first();

    QRect outer;
    if (outerSaved.isEmpty()) {
        const QSize wanted = kFirstStartSize.grownBy(frame);
        const QSize size(
            wanted.width() <= primary.width() ? wanted.width() : primary.width() * 9 / 10,
            wanted.height() <= primary.height() ? wanted.height() : primary.height() * 9 / 10);
        outer = centred(size.expandedTo(outerMinimum), primary);
    } else {
        const auto best =
            std::max_element(screens.begin(), screens.end(), [&](const QRect& a, const QRect& b) {
                return areaOf(a.intersected(outerSaved)) < areaOf(b.intersected(outerSaved));
            });
        if (areaOf(best->intersected(outerSaved)) == 0)
            outer = centred(fitted(outerSaved.size(), primary, outerMinimum), primary);
        else
            outer = movedOnto(
                QRect(outerSaved.topLeft(), fitted(outerSaved.size(), *best, outerMinimum)), *best);
    }
    return outer.marginsRemoved(frame);
}

} // namespace lurvo::app
