#include "split/BusyIndicator.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lurvo::split {

namespace {

constexpr int kDots = 8;
constexpr int kFrameMs = 100;

} // namespace

BusyIndicator::BusyIndicator(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(sizeHint());
    frames_.setInterval(kFrameMs);
    connect(&frames_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % kDots;
        update();
    });
}

void BusyIndicator::start() {
    frames_.start();
    update();
}

void BusyIndicator::stop() {
    frames_.stop();
    update();
}

void BusyIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QPointF centre = QRectF(rect()).center();
    const double side = std::min(width(), height());
    const double radius = side * 0.35;
    const double dot = side * 0.08;
    QColor colour = palette().color(QPalette::WindowText);
    for (int i = 0; i < kDots; ++i) {
        // The leading dot is darkest and the trail fades; a stopped indicator is evenly faint.
        const int behind = (frame_ - i + kDots) % kDots;
        colour.setAlphaF(isRunning() ? 1.0 - 0.85 * behind / (kDots - 1) : 0.2);
        painter.setBrush(colour);
        const double angle = 2 * std::numbers::pi * i / kDots;
        painter.drawEllipse(centre + QPointF(radius * std::sin(angle), -radius * std::cos(angle)),
                            dot, dot);
    }
}

} // namespace lurvo::split
