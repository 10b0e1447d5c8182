#pragma once

#include "pauses/PauseAnalysis.h"
#include "player/PlaybackState.h"
#include "player/PlaybackViews.h"

#include <QByteArray>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QObject;

namespace lurvo::subtitles {
class SubtitleDocument;
}
namespace lurvo::media {
class MediaPlayer;
}

namespace lurvo::player {

class SentencePlayer;

// The learner's answer to a question: 是, 否, or 取消 (also Escape and closing the box).
enum class Answer { Yes, No, Cancel };

// What opening and closing a lesson asks of the window beyond the playback views.
class LessonUi {
public:
    virtual ~LessonUi() = default;
    // The open dialog, starting in folder (none: the dialog's own choice); an empty path when
    // the learner cancels.
    virtual QString askLessonPath(const QString& folder) = 0;
    virtual void showError(const QString& text) = 0;
    // A notice (information icon).
    virtual void showInfo(const QString& text) = 0;
    // A question (question icon) with the buttons 是, 否 and 取消.
    virtual Answer askYesNoCancel(const QString& text) = 0;
    // A question with only 是 and 否; Escape and closing the box answer 否.
    virtual bool askYesNo(const QString& text) = 0;
    // Measures the lesson's loudness in a worker while a progress dialog lets the learner
    // cancel it.
    virtual pauses::EnvelopeResult measureLoudness(const QString& mp3Path) = 0;
    // The learner's settings for finding sentences in a measured lesson; none on 取消.
    virtual std::optional<pauses::PauseOptions>
    askPauseOptions(const pauses::Envelope& envelope) = 0;
    virtual void openUrl(const QUrl& url) = 0;
    // Runs the repair program under the modal wait dialog and returns when it has ended.
    virtual void runRepairTool(const QString& program, const QStringList& arguments) = 0;
    virtual void fillList() = 0;
    virtual void clearList() = 0;
    virtual void setOffsetText(const QString& text, bool buttonEnabled) = 0;
    virtual void setCaption(const QString& text) = 0;
};

// What a lesson is loaded with, replaceable for tests.
struct LessonEnvironment {
    QString resourceFolder;
    QString dataFolder; // where the per-lesson offsets are kept
    QUrl downloadPage;  // opened when a lesson has no subtitles
    QObject* notify = nullptr;
    std::function<std::unique_ptr<media::MediaPlayer>()> makePlayer;
    std::function<bool()> hasAudioOutput;
    // Writes edited subtitles back; 0 or the C library's error number.
    std::function<int(subtitles::SubtitleDocument&)> save;
};

// The audio settings a lesson starts with.
struct LessonAudio {
    int channel = 0;
    int volume = -500;
    bool mute = false;
};

// Opens a lesson (the MP3, its same-named .lrc, the player, the stored offset) and closes it,
// with the repair program as the fallback for an MP3 that will not play.
class LessonLoader {
public:
    LessonLoader(PlaybackState& state, SentencePlayer& sentences, PlaybackViews& views,
                 LessonUi& ui, LessonEnvironment environment, std::function<LessonAudio()> audio);
    ~LessonLoader();

    // Opens the MP3 at path, or asks for one when path is empty; cancelling the question keeps
    // the open lesson as it is.
    void OpenLesson(const QString& path = {});
    void OpenSampleLesson();
    // False when the lesson stays open: the learner cancelled the save question, or wanted
    // edited subtitles saved and that failed. Whatever asked for the close is then abandoned.
    bool CloseLesson();
    // The learner's new subtitle offset for the open lesson: applied to the lines at once,
    // stored when the lesson closes.
    void SetLessonOffset(int offsetMs);
    // The session ends without a close: the lesson's offset is stored, and unsaved subtitle
    // edits go to the recovery file beside the .lrc, offered again when the lesson next opens.
    void EndSession();

    QString lessonPath;
    QString subtitlePath; // the file the lines come from: an .lrc, or an .srt or .vtt until saved
    std::unique_ptr<subtitles::SubtitleDocument> document;
    // None while the lesson is open for reading only, without an audio output.
    std::unique_ptr<media::MediaPlayer> player;
    QByteArray lessonDigest = QByteArray(16, '\0'); // all zero before the first lesson
    int lessonOffsetMs = 0;

    const LessonEnvironment& environment() const { return env_; }

private:
    struct BuiltPlayer {
        std::unique_ptr<media::MediaPlayer> player; // none without an audio output
        bool refused = false; // the MP3 would not play even after the repair; already said
    };
    BuiltPlayer buildPlayer(const QString& mp3Path);
    // Where the open dialog starts: the open lesson's folder, else the last one used.
    QString dialogFolder() const;
    void offerRecoveredEdits();
    // Subtitles for a lesson that has none, from its pauses, written at lrcPath. False when
    // nothing was written: cancelled, failed (already said), or a subtitle file came meanwhile.
    bool makePauseSubtitles(const QString& mp3Path, const QString& lrcPath);

    PlaybackState& state_;
    SentencePlayer& sentences_;
    PlaybackViews& views_;
    LessonUi& ui_;
    LessonEnvironment env_;
    std::function<LessonAudio()> audio_;
    QString lastFolder_;
    bool restoredEdits_ = false; // the open lesson's recovery file was taken up
};

// The subtitle file of an MP3: its last three characters replaced by "lrc".
QString subtitlePathFor(const QString& mp3Path);

// The existing subtitle file of an MP3 whatever the case of its extension ("X.MP3" with
// "X.LRC", "x.mp3" with "x.Lrc"); empty when there is none. An .lrc file comes first, then an
// .srt, then a .vtt; for each the lower-case name wins, then the extension written in the MP3's
// own case, then any other.
QString findSubtitleFile(const QString& mp3Path);

} // namespace lurvo::player
