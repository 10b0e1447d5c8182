#include "LessonAccuracy.h"

#include "subtitles/SubtitleDocument.h"

#include <QProcess>

#include <cmath>

namespace lurvo::test {

namespace {
// Sentences are at least 0.8 s long, so a found start further than this from every true one
// stands for none of them.
constexpr int kPairingMs = 400;
} // namespace

void Accuracy::add(const Accuracy& other) {
    const int pairs = truth - missing;
    const int otherPairs = other.truth - other.missing;
    if (pairs + otherPairs > 0)
        meanMs = (meanMs * pairs + other.meanMs * otherPairs) / (pairs + otherPairs);
    truth += other.truth;
    within += other.within;
    missing += other.missing;
    extra += other.extra;
    worstMs = std::max(worstMs, other.worstMs);
}

Accuracy compareStarts(const QList<int>& trueStartsMs, const QList<pauses::Span>& found,
                       int toleranceMs, bool written) {
    Accuracy result;
    result.truth = int(trueStartsMs.size());
    QList<bool> paired(trueStartsMs.size(), false);
    double sum = 0;
    int pairs = 0;
    for (const pauses::Span& span : found) {
        const int at = written ? span.startMs : span.voiceMs;
        qsizetype nearest = -1;
        for (qsizetype i = 0; i < trueStartsMs.size(); ++i)
            if (nearest < 0 ||
                std::abs(trueStartsMs[i] - at) < std::abs(trueStartsMs[nearest] - at))
                nearest = i;
        const int distance = nearest < 0 ? kPairingMs : at - trueStartsMs[nearest];
        if (std::abs(distance) >= kPairingMs || paired[nearest]) {
            ++result.extra;
            continue;
        }
        paired[nearest] = true;
        ++pairs;
        sum += distance;
        result.worstMs = std::max(result.worstMs, double(std::abs(distance)));
        if (std::abs(distance) <= toleranceMs)
            ++result.within;
    }
    result.missing = int(paired.count(false));
    result.meanMs = pairs ? sum / pairs : 0;
    return result;
}

QList<int> subtitleStarts(const QString& lrcPath) {
    subtitles::SubtitleDocument document;
    QList<int> starts;
    if (document.load(lrcPath) != 1)
        return starts;
    for (int i = 0; i < document.lineCount(); ++i)
        starts.append(document.line(i).startMs);
    return starts;
}

QString makeLesson(const QString& textPath, const QString& outBase, const QStringList& options) {
    QProcess tool;
    tool.start(QStringLiteral(LURVO_SOURCE_DIR "/tools/make-lesson"),
               QStringList{textPath, outBase} + options);
    if (!tool.waitForFinished(300000) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0)
        return QStringLiteral("make-lesson failed: ") +
               QString::fromUtf8(tool.readAllStandardError());
    return {};
}

} // namespace lurvo::test
