#pragma once

#include "readalong/Destination.h"
#include "readalong/PitchPlot.h"
#include "readalong/ReadAlongMedia.h"
#include "subtitles/SentenceMode.h"
#include "views/RubyText.h"

#include <QFont>
#include <QMainWindow>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QToolBar;

namespace lurvo::app {
struct Settings;
}
namespace lurvo::media {
class MediaPlayer;
class Recorder;
} // namespace lurvo::media
namespace lurvo::pitch {
class PitchAnalyser;
struct PitchOutcome;
} // namespace lurvo::pitch
namespace lurvo::subtitles {
class SubtitleDocument;
}

namespace lurvo::readalong {

class DevicePanel;
class StatePanel;

enum class ReadAlongState { Ready = 0, PlayingLesson = 1, PlayingRecording = 2, Recording = 3 };

// The state panel's text for a state: "就绪", "正在播放原声…", ...
QString stateText(ReadAlongState state);

// What the window reads from the main window's lesson and asks of it.
struct ReadAlongHost {
    // follow_aDevId, follow_bAutoPlay, follow_destFile; speedPercent, read at every play
    app::Settings* settings = nullptr;
    std::function<QString()> lessonPath;
    std::function<const subtitles::SubtitleDocument*()> document;
    std::function<subtitles::SentenceMode()> mode;
    std::function<int()> currentLine;
    std::function<QString()> sentenceText; // the current sentence as the main window shows it
    std::function<QFont()> sentenceFont;   // the main window's sentence font
    std::function<int()> channel;
    std::function<int()> volume;
    std::function<std::int64_t()> lessonLengthMs; // as the main window's player reports it
    std::function<void(int command)> mainCommand; // the main window's sentence navigation
    std::function<void()> invalidInputSound;
    std::function<void()> closed; // the window has closed; the main window takes over again
};

// A small window beside the lesson that plays the current sentence, records the learner reading
// it, and plays the recording back, one activity at a time.
class ReadAlongWindow : public QMainWindow {
public:
    static constexpr int kTickMs = 10;
    static constexpr std::int64_t kRecordingLimitBytes = 15 * 1024 * 1024;

    // Opens the window on the saved capture device, or on the first one when that is gone.
    // Without any capture device it says so and returns null.
    static std::unique_ptr<ReadAlongWindow> open(ReadAlongHost host, ReadAlongMedia media,
                                                 QWidget* owner);
    ~ReadAlongWindow() override;

    // The window's commands by id (its menu, keys and toolbar).
    void dispatch(int command);

    void PlayLessonSentence();
    void PlayRecording();
    // The lesson's sentence, then the learner's recording of it.
    void PlayLessonThenRecording();
    void ToggleRecording();
    void GoPreviousSentence();
    void GoNextSentence();
    void CloseReadAlong();
    void ChooseDevice();
    void ChooseDestination();
    void ShowProperties();
    // Folds the pitch plot out under the state panel, or back in.
    void TogglePitch();
    // Saves the pitch plot as a PNG of the learner's choosing.
    void ExportPitchImage();
    void OnReadAlongTick();
    void OnReadAlongGraphEvent();
    // Where the sentence's readings come from; none shows the characters alone. The window
    // grows or shrinks to hold the syllables. Setting it again asks again.
    void setAnnotator(views::Annotator annotator);

    ReadAlongState state() const { return state_; }
    QString deviceName() const { return device_.name; }
    QString statusText() const;
    QAction* toolbarAction(int command) const;
    QToolBar* toolbar() const { return toolbar_; }
    DevicePanel* devicePanel() const { return devicePanel_; }
    StatePanel* statePanel() const { return statePanel_; }
    PitchPlot* pitchPlot() const { return pitchPlot_; }
    bool pitchShown() const;
    bool ticking() const { return tick_.isActive(); }
    // The size at which a recording stops by itself; tests make it small.
    void setRecordingLimit(std::int64_t bytes) { recordingLimit_ = bytes; }
    // The recording graph once built, for diagnostics and tests; null before.
    media::Recorder* recorder() const { return recorder_.get(); }
    // The file the recording under way is written to until it is kept; empty when none.
    QString takePath() const { return take_.path(); }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    ReadAlongWindow(ReadAlongHost host, ReadAlongMedia media, media::CaptureDevice device);
    void buildMenu();
    void buildToolbar();
    void fitSize();
    void StopActivity();
    void changeSentence(int mainCommand);
    void UpdateButtons();
    void RefreshState();
    void SetRecordingLook(bool on);
    void showSentenceNumber();
    double lessonRate() const;
    QFont sentenceFont() const;
    void startTick();
    void fail(const QString& format, const QString& detail);
    int currentSentence() const;
    // The lines of the current sentence; needs a document with lines.
    subtitles::LineRange currentLines() const;
    void setPitchShown(bool shown);
    // Asks for the current sentence's pitch, with the recording when it is of that sentence.
    void requestPitch();
    void showPitch(const pitch::PitchOutcome& outcome);

    ReadAlongHost host_;
    ReadAlongMedia media_;
    media::CaptureDevice device_;
    ReadAlongState state_ = ReadAlongState::Ready;
    RecordingTake take_; // before the recorder, so that the graph writing it goes first
    std::unique_ptr<media::Recorder> recorder_;
    std::unique_ptr<media::MediaPlayer> recordingPlayer_;
    std::unique_ptr<media::MediaPlayer> lessonPlayer_;
    DevicePanel* devicePanel_ = nullptr;
    StatePanel* statePanel_ = nullptr;
    PitchPlot* pitchPlot_ = nullptr;
    std::unique_ptr<pitch::PitchAnalyser> analyser_; // made when the plot first folds out
    views::Annotator annotator_;
    // The sentence the recording holds a reading of, made in this window; -1 for none known.
    int recordedSentence_ = -1;
    QList<PitchPlotData::Syllable> pitchSyllables_; // the readings asked to be placed, in order
    QToolBar* toolbar_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer tick_;
    std::int64_t recordingLimit_ = kRecordingLimitBytes;
    bool closed_ = false;
    bool recordingNext_ = false; // the recording follows the lesson's sentence
};

} // namespace lurvo::readalong
