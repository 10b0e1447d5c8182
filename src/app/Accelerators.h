#pragma once

#include <QObject>

#include <functional>

namespace lurvo::app {

// The two key tables: the main window's, and the read-along window's while that window exists.
enum class AcceleratorTable { Main = 109, ReadAlong = 168 };

// The command of an unmodified key in a table, or 0.
int acceleratorCommand(AcceleratorTable table, int key);

// Turns keys into commands by the active table before any widget sees them, so that arrows,
// Tab and the rest act on the lesson even while the subtitle list has the focus. Keys reach
// widgets as usual while a modal dialog is open or another window is active.
class AcceleratorFilter : public QObject {
public:
    struct Target {
        std::function<QWidget*()> mainWindow;
        std::function<QWidget*()> readAlongWindow; // null while closed
        std::function<void(int)> dispatchMain;
        std::function<void(int)> dispatchReadAlong;
    };
    explicit AcceleratorFilter(Target target, QObject* parent = nullptr)
        : QObject(parent), target_(std::move(target)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Target target_;
};

} // namespace lurvo::app
