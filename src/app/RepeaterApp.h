#pragma once

#include "app/MainWindow.h"
#include "app/PlayState.h"
#include "app/Settings.h"
#include "app/UiLanguage.h"
#include "app/WindowViews.h"
#include "player/LessonLoader.h"
#include "player/PlaybackState.h"
#include "player/SentencePlayer.h"
#include "pronunciation/ReadingChoices.h"
#include "readalong/ReadAlongMedia.h"
#include "views/RubyText.h"

#include <QFont>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <vector>

class QMenu;
class QTranslator;

namespace lurvo::readalong {
class ReadAlongWindow;
}
namespace lurvo::pronunciation {
class Pronouncer;
}

namespace lurvo::app {

class AcceleratorFilter;

// The one application object: owns the main window, the settings, and while a lesson is open
// its subtitle document and player, with the playback state the panels read.
class RepeaterApp : public MainWindowHost {
public:
    // What the application needs from its surroundings, replaceable so that tests run it on a
    // temporary data folder, without message boxes, sounds or a browser.
    struct Environment {
        QString resourceFolder;
        // The system locale's name ("zh_HK"); the interface language follows it unless the
        // learner chose one.
        QString systemLocale = QStringLiteral("zh_CN");
        QString dataFolder;
        std::function<int()> checkMediaComponents;
        // An error box with the product title as caption.
        std::function<void(const QString& text)> showError;
        std::function<void(const QString& text)> showInfo;
        // 是, 否 or 取消; Escape and closing the box are 取消.
        std::function<player::Answer(const QString& text)> askYesNoCancel;
        // 是 or 否; Escape and closing the box are 否. Unset: always 否.
        std::function<bool(const QString& text)> askYesNo;
        // The pause analysis under its progress and settings dialogs; unset, never asked for.
        std::function<pauses::EnvelopeResult(const QString& mp3Path)> measureLoudness;
        std::function<std::optional<pauses::PauseOptions>(const pauses::Envelope&)> askPauseOptions;
        std::function<QString(const QString& folder)> askOpenPath;
        // Where to save a file, starting at suggestedPath; empty when the learner cancels.
        std::function<QString(const QString& suggestedPath)> askSavePath;
        // Hands an address to the desktop (browser, or the program for a file); false when
        // nothing could be started for it.
        std::function<bool(const QUrl&)> openUrl;
        std::function<void(const QString& program, const QStringList& arguments)> runRepairTool;
        std::function<void()> invalidInputSound;
        std::function<std::unique_ptr<media::MediaPlayer>()> makePlayer;
        std::function<bool()> hasAudioOutput;
        readalong::ReadAlongMedia readAlongMedia;
        // The Jyutping readings' source; none shows the characters alone.
        std::function<std::unique_ptr<pronunciation::Pronouncer>()> makePronouncer;
    };
    static Environment systemEnvironment();

    explicit RepeaterApp(Environment environment);
    ~RepeaterApp() override;
    RepeaterApp(const RepeaterApp&) = delete;
    RepeaterApp& operator=(const RepeaterApp&) = delete;

    // Start-up: settings, the main window, then the checks. False when the program must end;
    // the settings are written even then.
    bool InitInstance();
    // Stores the settings and closes the main window; the event loop then ends.
    void Shutdown();
    // The exit command and closing the main window.
    void ExitApplication();
    // The desktop session ends: the settings and the lesson's offset are stored, unsaved subtitle
    // edits go to their recovery file; nobody is asked and the lesson stays open.
    void OnEndSession();
    // SIGTERM, SIGHUP or SIGINT: what OnEndSession stores, then the program ends without asking.
    void OnTerminationSignal();

    MainWindow* mainWindow() const { return mainWindow_.get(); }
    player::SentencePlayer* sentences() const { return sentences_.get(); }
    player::LessonLoader* lessons() const { return lessons_.get(); }
    const Environment& environment() const { return env_; }

    void ToggleTopmost();
    void SetFontSize(int size);
    void ChangeChannel(int channel);
    // The playback speed in percent, put on its step within range; heard at once, and shown by
    // the control panel.
    void SetSpeed(int percent);
    // Stores the interface language ("" follows the system); it applies from the next start,
    // which a message says.
    void ChooseLanguage(const QString& setting);
    // The interface language of this run.
    UiLanguage uiLanguage() const { return uiLanguage_; }
    // Where the readings over the sentences come from: the pronunciation dictionary's lookup;
    // none shows the characters alone. Set it again when the readings changed (the dictionary
    // became ready): every view asks again.
    void setAnnotator(views::Annotator annotator);
    // Shows or hides the readings everywhere at once; the choice is stored.
    void ToggleJyutping();
    // Writes the open lesson's subtitles with a line of Jyutping under each, where the learner
    // says.
    void ExportJyutping();
    // The menu a right-click on piece `piece` of the sentence panel's sentence opens: the
    // dictionary's other readings of its character and of the word it is part of, and "恢复默认"
    // when the learner chose one there. Picking one shows it everywhere the line shows and keeps
    // it for the lesson. Null when there is nothing to offer.
    std::unique_ptr<QMenu> makeReadingMenu(int piece);
    void ViewSubtitleFile();
    // The read-along window for the open lesson; the main window waits while it is open.
    void OpenReadAlong();
    readalong::ReadAlongWindow* readAlongWindow() const { return readAlong_.get(); }
    // The read-along window has closed: the main window takes over again.
    void ReadAlongClosed();
    // Cuts the open lesson into smaller lessons of a few sentences each.
    void SplitLesson();
    // A page of the bundled product web site, by its path ("/", "/down", "/soft/help.html").
    void OpenWebPage(const QString& page);
    // Any web address in the learner's browser; without one, a message shows the address.
    void OpenUrl(const QUrl& url);
    void ShowAbout();

    // Why the readings cannot be shown (a package to install); empty when they can.
    QString readingsNotice() const;

    // The text of the sentence being played: its head line, and its tail line below.
    QString currentSentenceText() const;

    // Where a page of the product web site is found.
    QUrl webPageUrl(const QString& page) const;

    // MainWindowHost
    void dispatch(int command) override;
    State state() const override;
    void openDroppedLesson(const QString& path) override;
    void invalidInput() override;
    bool exitRequested() override;
    void graphNotified() override;

    // A lesson is open without an audio output: for reading and correcting only.
    bool audioMissing() const;

    player::PlaybackState playback;
    bool topmost = false;

    Settings settings;
    QFont displayFont;

private:
    void createWindows();
    void saveSettings();
    // Hands the readings, or none while they are switched off, to every view that shows them.
    void applyReadings();
    // Starts loading the Jyutping readings, when the surroundings give a source.
    void startReadings();
    // The open lesson's reading choices, read again when another lesson opened; none without one.
    const pronunciation::ReadingChoices& lessonChoices();
    // Stores the changed choices for the lesson and has every view ask for its readings again.
    void choicesChanged();

    Environment env_;
    UiLanguage uiLanguage_ = UiLanguage::Simplified;
    std::vector<std::unique_ptr<QTranslator>> translators_;
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<WindowViews> views_;
    std::unique_ptr<player::SentencePlayer> sentences_;
    std::unique_ptr<player::LessonLoader> lessons_;
    std::unique_ptr<AcceleratorFilter> accelerators_;
    std::unique_ptr<readalong::ReadAlongWindow> readAlong_;
    std::unique_ptr<pronunciation::Pronouncer> pronouncer_;
    QStringList readingsMissing_; // packages the readings need and that are not installed
    views::Annotator annotator_;
    pronunciation::ReadingChoices choices_;
    QByteArray choicesDigest_; // the lesson choices_ belong to; empty for none
    bool shutDown_ = false;
};

// The commands that play the lesson, refused while it has no audio output.
bool needsAudio(int command);

// The sentence display's font for a size setting (0 small, 1 medium, 2 large).
QFont displayFontFor(int fs);

} // namespace lurvo::app
