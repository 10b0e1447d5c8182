#include "player/LessonLoader.h"

#include "app/StringTable.h"
#include "media/MediaPlayer.h"
#include "platform/FileOps.h"
#include "platform/ResourceFolder.h"
#include "player/SentencePlayer.h"
#include "subtitles/OffsetStore.h"
#include "subtitles/Recovery.h"
#include "subtitles/SubtitleDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace lurvo::player {

namespace {

QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

QString subtitlePathFor(const QString& mp3Path) {
    return mp3Path.chopped(3) + QStringLiteral("lrc");
}

namespace {

// The existing file beside the MP3 with this extension (three lower-case letters) in any case.
QString findBeside(const QString& mp3Path, const QString& extension) {
    // File names differ by case here, unlike where lessons often come from: a lesson copied
    // as "X.MP3" beside "X.LRC" is still one lesson.
    const QString stem = mp3Path.chopped(3);
    const QString mp3Extension = mp3Path.right(3);
    QString mirrored = extension;
    if (mp3Extension.size() == 3) {
        // "3" has no case: the last letter follows the middle one.
        for (const int i : {0, 1})
            if (mp3Extension[i].isUpper())
                mirrored[i] = mirrored[i].toUpper();
        if (mp3Extension[1].isUpper())
            mirrored[2] = mirrored[2].toUpper();
    }
    QStringList candidates{extension, mirrored};
    for (int mask = 1; mask < 8; ++mask) {
        QString cased = extension;
        for (int i = 0; i < 3; ++i)
            if (mask & (1 << i))
                cased[i] = cased[i].toUpper();
        candidates << cased;
    }
    candidates.removeDuplicates();
    for (const QString& cased : candidates)
        if (QFileInfo::exists(stem + cased))
            return stem + cased;
    return {};
}

} // namespace

QString findSubtitleFile(const QString& mp3Path) {
    // An .lrc file, the learner's own corrections included, wins over the cue files it may have
    // been made from.
    for (const QString& extension :
         {QStringLiteral("lrc"), QStringLiteral("srt"), QStringLiteral("vtt")}) {
        const QString found = findBeside(mp3Path, extension);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

LessonLoader::LessonLoader(PlaybackState& state, SentencePlayer& sentences, PlaybackViews& views,
                           LessonUi& ui, LessonEnvironment environment,
                           std::function<LessonAudio()> audio)
    : state_(state), sentences_(sentences), views_(views), ui_(ui), env_(std::move(environment)),
      audio_(std::move(audio)) {}

LessonLoader::~LessonLoader() {
    sentences_.attach(nullptr, nullptr);
}

LessonLoader::BuiltPlayer LessonLoader::buildPlayer(const QString& mp3Path) {
    std::unique_ptr<media::MediaPlayer> built = env_.makePlayer();
    const media::MediaResult first =
        built->Open(mp3Path, env_.notify, media::ParserOrder::SecondaryFirst);
    if (first.ok())
        return {std::move(built), false};
    built.reset();
    // The output went away after the probe: the file is not at fault, nothing to repair.
    if (first.error == media::MediaError::NoAudioHardware)
        return {nullptr, false};
    // The repair program fixes the file in place (keeping a .bak); then one more try. Its
    // arguments go to it as they are, so no character of the file name can change them.
    QString mp3val = platform::findProgram(QStringLiteral("mp3val"), env_.resourceFolder);
    if (mp3val.isEmpty())
        mp3val = QStringLiteral("mp3val");
    ui_.runRepairTool(mp3val, {QStringLiteral("-f"), mp3Path});
    built = env_.makePlayer();
    const media::MediaResult second =
        built->Open(mp3Path, env_.notify, media::ParserOrder::SecondaryFirst);
    if (second.ok())
        return {std::move(built), false};
    ui_.showError(app::stringText(128, second.message.left(255)));
    return {nullptr, true};
}

QString LessonLoader::dialogFolder() const {
    return lessonPath.isEmpty() ? lastFolder_ : QFileInfo(lessonPath).absolutePath();
}

void LessonLoader::OpenLesson(const QString& givenPath) {
    QString mp3Path = givenPath;
    if (mp3Path.isEmpty()) {
        // Asked before the open lesson closes: a learner who cancels keeps it, still playing.
        mp3Path = ui_.askLessonPath(dialogFolder());
        if (mp3Path.isEmpty())
            return;
        lastFolder_ = QFileInfo(mp3Path).absolutePath();
    }
    if (!CloseLesson())
        return;
    // Without an audio output the lesson still opens, to be read and corrected.
    const bool audioOutput = env_.hasAudioOutput();
    QString subtitleFile = findSubtitleFile(mp3Path);
    if (subtitleFile.isEmpty()) {
        if (!ui_.askYesNo(app::stringText(2230))) {
            ui_.showError(app::stringText(131, QDir::toNativeSeparators(subtitlePathFor(mp3Path))));
            ui_.openUrl(env_.downloadPage);
            return;
        }
        // The new subtitles then open like any others: offset, recovery, list and playback.
        subtitleFile = subtitlePathFor(mp3Path);
        if (!makePauseSubtitles(mp3Path, subtitleFile))
            return;
    }
    auto doc = std::make_unique<subtitles::SubtitleDocument>();
    errno = 0;
    const int loaded = doc->load(subtitleFile);
    if (loaded == subtitles::kLoadTooLarge) {
        ui_.showError(app::stringText(2101, QDir::toNativeSeparators(subtitleFile)));
        return;
    }
    if (loaded < 0) {
        ui_.showError(app::stringText(129, errnoText(errno)));
        return;
    }
    if (loaded == 0) {
        ui_.showError(app::stringText(130, QDir::toNativeSeparators(subtitleFile)));
        return;
    }
    // The repair program keeps its backup beside the MP3 and rewrites the MP3; saving rewrites
    // the subtitles: none of them may stay read-only.
    for (const QString& file : {mp3Path + QStringLiteral(".bak"), mp3Path, doc->path})
        platform::makeWritable(file);
    std::unique_ptr<media::MediaPlayer> built;
    if (audioOutput) {
        BuiltPlayer attempt = buildPlayer(mp3Path);
        if (attempt.refused)
            return;
        built = std::move(attempt.player);
    }
    if (built) {
        const LessonAudio audio = audio_();
        built->SetChannel(audio.channel);
        built->SetVolume(audio.mute ? -10000 : audio.volume);
    }

    document = std::move(doc);
    player = std::move(built);
    state_.lessonLoaded = true;
    state_.playState = PlayState::Stopped;
    state_.currentLine = 0;
    lessonPath = mp3Path;
    subtitlePath = subtitleFile;
    lastFolder_ = QFileInfo(mp3Path).absolutePath();
    sentences_.attach(document.get(), player.get());

    lessonDigest = subtitles::computeLessonDigest(mp3Path);
    SetLessonOffset(subtitles::readStoredOffset(env_.dataFolder, lessonDigest));
    offerRecoveredEdits();

    ui_.fillList();
    views_.updateToolbarState();
    views_.setStatusText(0, app::stringText(121));
    views_.setStatusText(3, QDir::toNativeSeparators(mp3Path));
    sentences_.RefreshPlaybackViews();
    ui_.setCaption(QFileInfo(mp3Path).completeBaseName() + QStringLiteral(" - ") +
                   app::productTitle());
    if (!player) {
        // The sentence player draws nothing without audio: the first sentence is shown here.
        views_.refreshSentencePanel();
        views_.posRefreshList();
        views_.setStatusText(0, app::stringText(1202));
        ui_.showError(app::stringText(1201));
        return;
    }
    sentences_.TogglePlayPause();
}

bool LessonLoader::makePauseSubtitles(const QString& mp3Path, const QString& lrcPath) {
    const pauses::EnvelopeResult measured = ui_.measureLoudness(mp3Path);
    if (measured.cancelled)
        return false;
    if (!measured.error.isEmpty()) {
        ui_.showError(app::stringText(2231, measured.error));
        return false;
    }
    const std::optional<pauses::PauseOptions> options = ui_.askPauseOptions(measured.envelope);
    if (!options)
        return false;
    // Subtitles the learner put beside the lesson while the dialogs were open are theirs:
    // never replaced, in whatever case their extension is written.
    const QString arrived = findSubtitleFile(mp3Path);
    if (!arrived.isEmpty()) {
        ui_.showError(app::stringText(2232, QDir::toNativeSeparators(arrived)));
        return false;
    }
    const QString failed =
        pauses::writePauseSubtitles(lrcPath, pauses::findSentences(measured.envelope, *options));
    if (!failed.isEmpty()) {
        ui_.showError(app::stringText(2233, failed));
        return false;
    }
    return true;
}

void LessonLoader::offerRecoveredEdits() {
    restoredEdits_ = false;
    const QString recovery = subtitles::recoveryPathFor(document->path);
    if (!QFileInfo::exists(recovery))
        return;
    switch (ui_.askYesNoCancel(app::stringText(2104, QDir::toNativeSeparators(subtitlePath)))) {
    case Answer::Yes:
        // Kept until the lesson closes, so that a second abrupt end loses nothing either.
        restoredEdits_ = subtitles::restoreRecovery(*document, recovery) >= 0;
        break;
    case Answer::No:
        QFile::remove(recovery);
        break;
    case Answer::Cancel: // asked again next time
        break;
    }
}

void LessonLoader::EndSession() {
    if (!state_.lessonLoaded)
        return;
    subtitles::writeStoredOffset(env_.dataFolder, lessonDigest, lessonOffsetMs);
    if (document->modified)
        subtitles::writeRecovery(*document, subtitles::recoveryPathFor(document->path));
}

void LessonLoader::OpenSampleLesson() {
    OpenLesson(QDir(env_.resourceFolder).filePath(QStringLiteral("eg.mp3")));
}

void LessonLoader::SetLessonOffset(int offsetMs) {
    if (!document)
        return;
    lessonOffsetMs = offsetMs;
    document->applyOffset(offsetMs);
    ui_.setOffsetText(subtitles::offsetText(offsetMs, app::stringText(1053), app::stringText(1054)),
                      true);
}

bool LessonLoader::CloseLesson() {
    if (!state_.lessonLoaded)
        return true;
    if (document->modified) {
        // Paused, not stopped, while the learner decides: a cancelled close keeps the place.
        if (state_.playState == PlayState::Playing)
            sentences_.TogglePlayPause();
        // The file the edits go to: for subtitles read from a cue file, the .lrc beside it.
        const QString lrc = QDir::toNativeSeparators(document->path);
        switch (ui_.askYesNoCancel(app::stringText(145, lrc))) {
        case Answer::Cancel:
            return false;
        case Answer::No:
            break;
        case Answer::Yes: {
            const int error = env_.save ? env_.save(*document) : ENOSYS;
            if (error != 0) {
                ui_.showError(app::stringText(146, errnoText(error)));
                return false;
            }
            if (document->convertedToUtf8)
                ui_.showInfo(app::stringText(2103, lrc));
            subtitlePath = document->path;
            break;
        }
        }
    }
    sentences_.StopPlayback();
    // The recovered edits are saved or dropped with the others now.
    if (restoredEdits_)
        QFile::remove(subtitles::recoveryPathFor(document->path));
    restoredEdits_ = false;
    sentences_.attach(nullptr, nullptr);
    lessonPath.clear();
    subtitlePath.clear();
    document.reset();
    player.reset();
    state_.lessonLoaded = false;
    state_.playState = PlayState::Stopped;
    views_.refreshSentencePanel();
    ui_.clearList();
    views_.updateToolbarState();
    views_.setStatusText(0, app::stringText(120));
    for (const int part : {1, 2, 3})
        views_.setStatusText(part, {});
    subtitles::writeStoredOffset(env_.dataFolder, lessonDigest, lessonOffsetMs);
    ui_.setOffsetText(QStringLiteral("0"), false);
    ui_.setCaption(app::productTitle());
    return true;
}

} // namespace lurvo::player
