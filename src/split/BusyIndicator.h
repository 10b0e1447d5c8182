#pragma once

#include <QTimer>
#include <QWidget>

namespace lurvo::split {

// A small looping animation of dots running round a circle, drawn on a transparent background:
// shows that work goes on while its progress cannot be measured.
class BusyIndicator : public QWidget {
public:
    explicit BusyIndicator(QWidget* parent = nullptr);

    void start();
    void stop();
    bool isRunning() const { return frames_.isActive(); }

    QSize sizeHint() const override { return {32, 32}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer frames_;
    int frame_ = 0;
};

} // namespace lurvo::split
