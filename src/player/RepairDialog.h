#pragma once

#include <QDialog>
#include <QProcess>
#include <QTimer>

namespace lurvo::player {

// The wait while the repair program works on an MP3: a busy animation, no buttons, and no way
// to dismiss it; the program's end, polled every 200 ms, closes it.
class RepairDialog : public QDialog {
public:
    RepairDialog(const QString& program, const QStringList& arguments, QWidget* parent);
    // Runs the program under the dialog and returns when it has ended.
    static void run(const QString& program, const QStringList& arguments, QWidget* parent);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override {}

private:
    QProcess process_;
    QTimer poll_;
};

} // namespace lurvo::player
