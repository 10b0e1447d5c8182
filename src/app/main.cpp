// The program: one application object, its start-up, the event loop, and its shutdown.
#include "app/AnnotateCommand.h"
#include "app/AppIdentity.h"
#include "app/CommandLine.h"
#include "app/DataFolder.h"
#include "app/MakeSubtitlesCommand.h"
#include "app/RepeaterApp.h"
#include "platform/TerminationSignals.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QProxyStyle>
#include <QSessionManager>
#include <QUrl>

#include <cstdio>
#include <cstring>

namespace {

// Tooltips of the toolbar come up after 50 ms.
class RepeaterStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay)
            return 50;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// "--annotate LESSON.lrc OUT.lrc": no window, so no QApplication (which would need a display);
// a QCoreApplication runs while the dictionary loads. 0 on success, else a message on standard
// error.
int runAnnotate(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lurvo-repeater"));
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4) {
        std::fputs("usage: lurvo-repeater --annotate LESSON.lrc OUT.lrc\n", stderr);
        return 2;
    }
    const QString error =
        lurvo::app::annotateLesson(arguments.at(2), arguments.at(3), lurvo::app::annotateSources(),
                                   lurvo::app::appDataFolder());
    if (error.isEmpty())
        return 0;
    std::fputs((error + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    return 1;
}

// "--make-subtitles LESSON.mp3 [--min-pause MS]": no window either. Progress and the outcome
// on standard error; 0 on success, 1 when it failed, 2 when the arguments are wrong.
int runMakeSubtitles(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lurvo-repeater"));
    const auto say = [](const QString& text) {
        std::fputs(text.toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
    };
    const lurvo::app::MakeSubtitlesRequest request =
        lurvo::app::parseMakeSubtitles(QCoreApplication::arguments().mid(2));
    if (!request.error.isEmpty()) {
        say(request.error +
            QStringLiteral(
                "\nusage: lurvo-repeater --make-subtitles LESSON.mp3 [--min-pause MS]\n"));
        return 2;
    }
    int shownPercent = -1;
    const auto progress = [&](int perMille) {
        if (perMille / 10 == shownPercent)
            return;
        shownPercent = perMille / 10;
        say(QLatin1Char('\r') +
            QCoreApplication::translate("MakeSubtitlesCommand", "正在分析停顿：%1%")
                .arg(shownPercent));
    };
    QString written;
    const QString error = lurvo::app::makeSubtitles(request, progress, &written);
    if (shownPercent >= 0)
        say(QStringLiteral("\n"));
    say((error.isEmpty() ? written : error) + QLatin1Char('\n'));
    return error.isEmpty() ? 0 : 1;
}

// "--help" and "--version" answer on standard output before anything needs a display.
int printText(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--annotate") == 0)
        return runAnnotate(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--make-subtitles") == 0)
        return runMakeSubtitles(argc, argv);
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))
        return printText(lurvo::app::helpText());
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0)
        return printText(lurvo::app::versionText());
    QApplication application(argc, argv);
    lurvo::app::setApplicationIdentity();
    QApplication::setStyle(new RepeaterStyle);
    // The window decides when the program ends: after the settings are stored.
    QApplication::setQuitOnLastWindowClosed(false);

    lurvo::app::RepeaterApp app(lurvo::app::RepeaterApp::systemEnvironment());
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &application,
                     [&app](QSessionManager&) { app.OnEndSession(); });
    // Asked to end by a signal (log-out without a session manager, kill, Ctrl+C): nothing of
    // the learner's is lost.
    lurvo::platform::TerminationSignals endSignals([&app](int) { app.OnTerminationSignal(); });
    if (!app.InitInstance())
        return 0;
    // File managers pass the lesson (or its subtitles) to open; it is taken as a dropped file
    // would be.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        app.mainWindow()->handleDroppedUrls({QUrl::fromLocalFile(
            QFileInfo(lurvo::app::lessonForArgument(arguments.at(1))).absoluteFilePath())});
    return QApplication::exec();
}
