#pragma once

#include "app/MainWindow.h"

#include <QStringList>
#include <QVector>

namespace lurvo::test {

// Stands in for the application object and records what the window asks of it.
class FakeHost : public app::MainWindowHost {
public:
    State current;
    QVector<int> commands;
    QStringList opened;
    int invalidInputs = 0;
    bool allowExit = true;

    void dispatch(int command) override { commands.append(command); }
    State state() const override { return current; }
    void openDroppedLesson(const QString& path) override { opened.append(path); }
    void invalidInput() override { ++invalidInputs; }
    bool exitRequested() override { return allowExit; }
    void graphNotified() override {}
};

} // namespace lurvo::test
