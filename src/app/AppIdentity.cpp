#include "app/AppIdentity.h"

#include <QGuiApplication>

namespace lurvo::app {

void setApplicationIdentity() {
    QGuiApplication::setApplicationName(QStringLiteral("lurvo-repeater"));
    QGuiApplication::setDesktopFileName(QStringLiteral("lurvo-repeater"));
}

} // namespace lurvo::app
