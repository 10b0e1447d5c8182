// Loading the largest subtitle file the reader takes, in the encodings it detects.
#include "subtitles/SubtitleDocument.h"
#include "subtitles/TimeText.h"

#include <QFile>

#include <QStringEncoder>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace lurvo::subtitles;

namespace {

QString largeLesson() {
    QString text = QStringLiteral("[ti:長課文]\r\n");
    for (int i = 0; text.size() < 40000; ++i)
        text += QStringLiteral("[%1]唔該，請問去尖沙咀點行？第%2句\r\n")
                    .arg(formatLrcTime(i * 2500))
                    .arg(i);
    return text;
}

void loadFile(benchmark::State& state, const char* encoding) {
    QTemporaryDir dir;
    const QString path = dir.filePath("large.lrc");
    QStringEncoder encoder(encoding);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    const QByteArray bytes = encoder(largeLesson());
    file.write(bytes.left(102399));
    file.close();
    int lines = 0;
    for (auto _ : state) {
        SubtitleDocument doc;
        benchmark::DoNotOptimize(doc.load(path));
        lines = doc.lineCount();
    }
    state.counters["lines"] = lines;
    state.counters["bytes"] = double(std::min<qsizetype>(bytes.size(), 102399));
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
BENCHMARK(BM_LineIndexAtLastLine)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
