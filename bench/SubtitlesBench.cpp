// Loading a very long subtitle file in the encodings the reader detects, and saving one edit.
#include "subtitles/SubtitleDocument.h"
#include "subtitles/TimeText.h"

#include <QFile>

#include <QStringEncoder>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace lurvo::subtitles;

namespace {

// A long bilingual lesson of about 2 MB in UTF-8 (31,558 lines), longer than any real one.
QString largeLesson() {
    QString text = QStringLiteral("[ti:長課文]\r\n");
    for (int i = 0; text.size() < 1'600'000; ++i)
        text +=
            QStringLiteral("[%1]唔該，請問去尖沙咀點行？第%2句\r\n[%3]Excuse me, how do I get to "
                           "Tsim Sha Tsui? Sentence %2\r\n")
                .arg(formatLrcTime(i * 2500))
                .arg(i)
                .arg(formatLrcTime(i * 2500 + 1200));
    return text;
}

QString writeLesson(const QTemporaryDir& dir, const char* encoding, qsizetype& size) {
    const QString path = dir.filePath("large.lrc");
    QStringEncoder encoder(encoding);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    const QByteArray bytes = encoder(largeLesson());
    file.write(bytes);
    size = bytes.size();
    return path;
}

void loadFile(benchmark::State& state, const char* encoding) {
    QTemporaryDir dir;
    qsizetype size = 0;
    const QString path = writeLesson(dir, encoding, size);
    int lines = 0;
    for (auto _ : state) {
        SubtitleDocument doc;
        benchmark::DoNotOptimize(doc.load(path));
        lines = doc.lineCount();
    }
    state.counters["lines"] = lines;
    state.counters["bytes"] = double(size);
}

void BM_LoadUtf8(benchmark::State& state) {
    loadFile(state, "UTF-8");
}
void BM_LoadGb18030(benchmark::State& state) {
    loadFile(state, "GB18030");
}
void BM_LoadBig5(benchmark::State& state) {
    loadFile(state, "Big5-HKSCS");
}

// Saving one edited line of the large lesson: every other line copied as it stands.
void BM_SaveOneEdit(benchmark::State& state) {
    QTemporaryDir dir;
    qsizetype size = 0;
    const QString path = writeLesson(dir, "UTF-8", size);
    SubtitleDocument doc;
    doc.load(path);
    for (auto _ : state) {
        doc.setLineText(doc.lineCount() / 2, QStringLiteral("edited"));
        benchmark::DoNotOptimize(doc.save());
    }
    state.counters["bytes"] = double(size);
}

void BM_LineIndexAtLastLine(benchmark::State& state) {
    SubtitleDocument doc;
    for (int i = 0; i < 3000; ++i)
        doc.lines.append(SubtitleLine{i * 1000, {}});
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.lineIndexAt(2'999'500));
}

BENCHMARK(BM_LoadUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadGb18030)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBig5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveOneEdit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineIndexAtLastLine)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
