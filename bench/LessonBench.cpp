// Real-time measurements of the sentence player on the sound server, on lessons that
// bench/run.sh generates in LURVO_BENCH_DATA:
//  - boundary overrun: how far past the next line's start the position is when the tick acts;
//  - open time: from OpenLesson to Playing, for one-hour CBR and VBR lessons, and the digest
//    time against md5sum's on the same file;
//  - navigation latency: from NextSentence or LastSentence to the position reading the new
//    sentence's start, 50 minutes into the one-hour VBR lesson.
#include "media/Elements.h"
#include "media/MediaPlayer.h"
#include "player/LessonLoader.h"
#include "player/SentencePlayer.h"
#include "subtitles/OffsetStore.h"
#include "subtitles/SubtitleDocument.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace lurvo;

namespace {

class SilentViews : public player::PlaybackViews, public player::LessonUi {
public:
    void refreshSentencePanel() override {}
    void posRefreshList() override {}
    void setPlayButtonImage(bool) override {}
    void updateToolbarState() override {}
    void setStatusText(int, const QString&) override {}
    void hideToolTip() override {}
    void startTick() override {}
    void stopTick() override {}
    void showError(const QString& text) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
    QString askLessonPath(const QString&) override { return {}; }
    void showInfo(const QString&) override {}
    player::Answer askYesNoCancel(const QString&) override { return player::Answer::No; }
    bool askYesNo(const QString&) override { return false; }
    pauses::EnvelopeResult measureLoudness(const QString&) override {
        pauses::EnvelopeResult none;
        none.cancelled = true;
        return none;
    }
    std::optional<pauses::PauseOptions> askPauseOptions(const pauses::Envelope&) override {
        return std::nullopt;
    }
    void openUrl(const QUrl&) override {}
    void runRepairTool(const QString&, const QStringList&) override {}
    void fillList() override {}
    void clearList() override {}
    void setOffsetText(const QString&, bool) override {}
    void setCaption(const QString&) override {}
};

struct Rig {
    QTemporaryDir data;
    player::PlaybackState state;
    player::PlaybackSettings settings;
    SilentViews views;
    player::SentencePlayer sentences{state, views, [this] { return settings; }};
    player::LessonLoader loader{state,         sentences,
                                views,         views,
                                environment(), [] { return player::LessonAudio{0, 0, false}; }};

    player::LessonEnvironment environment() {
        player::LessonEnvironment env;
        env.dataFolder = data.path();
        env.makePlayer = [] { return std::make_unique<media::MediaPlayer>(); };
        env.hasAudioOutput = [] { return media::FindDefaultAudioRenderer() != nullptr; };
        env.save = [](subtitles::SubtitleDocument&) { return 0; };
        return env;
    }
};

double percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t at =
        std::min(values.size() - 1, std::size_t(p * double(values.size() - 1) + 0.5));
    return values[at];
}

void report(const char* what, const std::vector<double>& ms) {
    std::printf("%-44s n=%3zu  p50 %6.1f ms  p95 %6.1f ms  max %6.1f ms\n", what, ms.size(),
                percentile(ms, 0.5), percentile(ms, 0.95),
                ms.empty() ? 0.0 : *std::max_element(ms.begin(), ms.end()));
}

QString benchFile(const char* name) {
    const char* dir = std::getenv("LURVO_BENCH_DATA");
    return QString::fromLocal8Bit(dir ? dir : ".") + "/" + name;
}

// Plays with the real 10 ms timer and notes the overrun at every tick that acted.
void boundaryOverrun(int totalCount) {
    Rig rig;
    rig.settings.totalCount = totalCount;
    rig.settings.fileLoop = false;
    rig.loader.OpenLesson(benchFile("boundaries.mp3"));
    if (!rig.state.lessonLoaded)
        return;
    std::vector<double> overruns;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(10);
    std::vector<std::int64_t> recent;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const auto& doc = *rig.loader.document;
        const int line = rig.state.currentLine;
        const int pass = rig.state.passCount;
        const std::int64_t position = rig.loader.player->PositionMs();
        recent.push_back(position);
        rig.sentences.OnPositionTick();
        if (line + 1 < doc.lineCount() &&
            (rig.state.currentLine != line || rig.state.passCount != pass))
            overruns.push_back(double(position - doc.line(line + 1).startMs));
        if (rig.state.playState != player::PlayState::Playing)
            QCoreApplication::quit();
    });
    tick.start();
    // Never more than the lesson's length and a little. The timer lives in this scope, so that
    // it cannot fire into a later run.
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [&] {
        media::GraphEvent event;
        const bool queued = rig.loader.player->GetEvent(event, 0);
        std::fprintf(stderr,
                     "boundary run timed out at line %d, pass %d, position %lld, state %d, at end "
                     "%d, event %d %s\n",
                     rig.state.currentLine, rig.state.passCount,
                     (long long)rig.loader.player->PositionMs(), int(rig.state.playState),
                     int(rig.loader.player->IsAtEnd()), queued ? event.code : -1,
                     qPrintable(event.text));
        for (std::size_t i = recent.size() > 30 ? recent.size() - 30 : 0; i < recent.size(); ++i)
            std::fprintf(stderr, "%lld ", (long long)recent[i]);
        std::fprintf(stderr, "\n");
        QCoreApplication::quit();
    });
    limit.start(int(rig.loader.player->LengthMs()) * totalCount + 10000);
    QCoreApplication::exec();
    report(totalCount == 1 ? "boundary overrun, 1 pass (advances)"
                           : "boundary overrun, 2 passes (repeats + advances)",
           overruns);
    std::printf("  stalled playback set going again: %d times\n",
                rig.loader.player ? rig.loader.player->stallRecoveries() : -1);
}

void openTime(const char* file, const char* label) {
    std::vector<double> opens;
    for (int i = 0; i < 5; ++i) {
        Rig rig;
        QElapsedTimer clock;
        clock.start();
        rig.loader.OpenLesson(benchFile(file));
        if (rig.state.playState != player::PlayState::Playing)
            return;
        opens.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    report(label, opens);
}

void digestRatio(const char* file) {
    QElapsedTimer clock;
    std::vector<double> ours;
    std::vector<double> theirs;
    for (int i = 0; i < 5; ++i) {
        clock.start();
        subtitles::computeLessonDigest(benchFile(file));
        ours.push_back(double(clock.nsecsElapsed()) / 1e6);
        clock.start();
        QProcess md5sum;
        md5sum.setStandardOutputFile(QProcess::nullDevice());
        md5sum.start("md5sum", {benchFile(file)});
        md5sum.waitForFinished();
        theirs.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("digest %-37s ours p50 %.1f ms, md5sum p50 %.1f ms, ratio %.2f\n", file,
                percentile(ours, 0.5), percentile(theirs, 0.5),
                percentile(ours, 0.5) / percentile(theirs, 0.5));
}

void navigationLatency() {
    Rig rig;
    rig.settings.totalCount = 0;
    rig.loader.OpenLesson(benchFile("hour-vbr.mp3"));
    if (!rig.state.lessonLoaded)
        return;
    const auto& doc = *rig.loader.document;
    rig.sentences.GoToLine(doc.lineIndexAt(50 * 60 * 1000));
    std::vector<double> next;
    std::vector<double> last;
    QElapsedTimer clock;
    for (int i = 0; i < 60; ++i) {
        const bool toLast = i % 5 == 4;
        clock.start();
        if (toLast)
            rig.sentences.LastSentence();
        else
            rig.sentences.NextSentence();
        const int target = doc.line(rig.state.currentLine).startMs;
        while (rig.loader.player->PositionMs() < target && clock.elapsed() < 2000)
            QCoreApplication::processEvents();
        (toLast ? last : next).push_back(double(clock.nsecsElapsed()) / 1e6);
        if (toLast)
            rig.sentences.GoToLine(doc.lineIndexAt(50 * 60 * 1000 + i * 3000));
    }
    report("navigation latency, NextSentence", next);
    report("navigation latency, LastSentence", last);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const QStringList only = app.arguments().mid(1);
    const auto wanted = [&](const char* part) { return only.isEmpty() || only.contains(part); };
    if (wanted("open")) {
        openTime("hour-cbr.mp3", "open to Playing, 60 min CBR (Info header)");
        openTime("hour-vbr.mp3", "open to Playing, 60 min VBR (Xing header)");
    }
    if (wanted("digest")) {
        digestRatio("hour-cbr.mp3");
        digestRatio("hour-vbr.mp3");
    }
    if (wanted("navigation"))
        navigationLatency();
    if (wanted("boundaries"))
        boundaryOverrun(1);
    if (wanted("boundaries") || wanted("repeats"))
        boundaryOverrun(2);
    return 0;
}
