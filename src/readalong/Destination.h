#pragma once

#include <QString>

// Where a recording may be written.
namespace lurvo::readalong {

// The chosen path with ".mp3" after it unless it already ends so (in any letter case): the
// recording is always an MP3, whatever the learner typed.
QString recordingPathFor(const QString& chosen);

// Whether writing the recording there would overwrite the lesson itself: the same path in any
// letter case, or the same file reached another way.
bool overwritesLesson(const QString& recordingPath, const QString& lessonPath);

// A recording being made: written under a hidden name of its own in the destination's folder,
// it takes the destination's place only when kept, so a take that fails never costs the
// learner the last recording. A take neither kept nor discarded is discarded when destroyed.
class RecordingTake {
public:
    RecordingTake() = default;
    ~RecordingTake();
    RecordingTake(const RecordingTake&) = delete;
    RecordingTake& operator=(const RecordingTake&) = delete;

    // Picks the file to record into beside `destination` (discarding a take begun before);
    // false, with the reason, when that folder cannot hold it.
    bool begin(const QString& destination, QString* reason);
    // Where the recording is written; empty when no take is under way.
    QString path() const { return path_; }
    QString destination() const { return destination_; }

    // Puts the take in the destination's place, read-only or not. An empty or missing take is
    // discarded instead and the destination stays. False when the destination was not
    // replaced; `reason` then says why, or is empty when there was nothing to keep.
    bool keep(QString* reason);
    // Removes the take; the destination stays as it was.
    void discard();

private:
    QString path_;
    QString destination_;
};

} // namespace lurvo::readalong
