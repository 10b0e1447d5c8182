#include "app/CenterWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace lurvo::app {

void CenterWindow(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect desktop = screen->geometry();
    const QSize size = window->frameGeometry().size();
    const int x = std::max(0, (desktop.width() - size.width()) / 2);
    const int y = std::max(0, (desktop.height() - size.height()) / 2);
    window->move(desktop.x() + x, desktop.y() + y);
}

} // namespace lurvo::app
