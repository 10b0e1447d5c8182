// The pitch comparison of one sentence, as the practice window runs it after a recording: the
// sentence's 5 s span of a 25 s lesson and a 5 s recording (both MP3) decoded, both voices
// analysed, and the recording aligned to the lesson and scored (at most 150 ms in all).
#include "pitch/PitchAnalysis.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace lurvo::pitch;

namespace {

bool run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
        process.exitCode() == 0)
        return true;
    std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                 process.readAllStandardError().constData());
    return false;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString spoken = dir.filePath("spoken.wav"), sentence = dir.filePath("sentence.wav");
    const QString lessonWav = dir.filePath("lesson.wav"), lesson = dir.filePath("lesson.mp3");
    const QString readingWav = dir.filePath("reading.wav"), reading = dir.filePath("reading.mp3");
    const QString text = QStringLiteral("ngo5 dei6 jat1 cai4 heoi3 jam2 caa4, sik6 jyun4 zoi3 "
                                        "faan1 uk1 kei2, ting1 jat6 gin3");
    // A sentence of exactly 5 s at 10 s into the lesson; the reading a little slower and higher.
    if (!run("espeak-ng", {"-v", "yue-Latn-jyutping", "-w", spoken, text}) ||
        !run("sox", {spoken, "-r", "22050", sentence, "pad", "0", "3", "trim", "0", "5"}) ||
        !run("sox", {sentence, lessonWav, "pad", "10", "10"}) ||
        !run("lame", {"--quiet", "-m", "m", "-b", "32", lessonWav, lesson}) ||
        !run("sox", {spoken, "-r", "22050", readingWav, "tempo", "0.9", "pitch", "300", "pad", "0",
                     "3", "trim", "0", "5"}) ||
        !run("lame", {"--quiet", "-m", "m", "-b", "32", readingWav, reading}))
        return 1;

    std::vector<double> decodeMs, analyseMs, compareMs, totalMs;
    int score = -1;
    for (int round = 0; round < 21; ++round) {
        QElapsedTimer timer;
        timer.start();
        const DecodedPcm lessonPcm = decodeSpan(lesson, 10000, 15000);
        const DecodedPcm readingPcm = decodeSpan(reading, 0, -1);
        if (!lessonPcm.ok() || !readingPcm.ok()) {
            std::fprintf(stderr, "decoding failed: %s%s\n", qPrintable(lessonPcm.error),
                         qPrintable(readingPcm.error));
            return 1;
        }
        const qint64 decoded = timer.nsecsElapsed();
        const VoiceTrack lessonVoice = analyseVoice(lessonPcm.pcm);
        const VoiceTrack readingVoice = analyseVoice(readingPcm.pcm);
        const qint64 analysed = timer.nsecsElapsed();
        const Comparison comparison = compareVoices(lessonVoice, readingVoice);
        const qint64 compared = timer.nsecsElapsed();
        score = comparison.score.value_or(-1);
        if (round == 0)
            continue; // the first round loads the plug-ins
        decodeMs.push_back(double(decoded) / 1e6);
        analyseMs.push_back(double(analysed - decoded) / 1e6);
        compareMs.push_back(double(compared - analysed) / 1e6);
        totalMs.push_back(double(compared) / 1e6);
    }
    std::printf("decode the 5 s span and the 5 s reading   median %7.2f ms\n", median(decodeMs));
    std::printf("analyse both voices                       median %7.2f ms\n", median(analyseMs));
    std::printf("align and score                           median %7.2f ms\n", median(compareMs));
    std::printf("in all                                    median %7.2f ms  (target <= 150)\n",
                median(totalMs));
    std::printf("score of the reading: %d\n", score);
    return 0;
}
