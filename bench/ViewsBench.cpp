// The subtitle list with as many lines as the largest subtitle file holds: filling it, moving
// the current sentence, and painting it.
#include "subtitles/SubtitleDocument.h"
#include "subtitles/TimeText.h"
#include "views/ListPanel.h"

#include <QApplication>
#include <QTableView>

#include <benchmark/benchmark.h>

using namespace lurvo;

namespace {

constexpr int kLines = 8000; // short lines in a 100 KB UTF-8 file

struct ListFixture {
    subtitles::SubtitleDocument document;
    int currentLine = 0;
    QWidget window;
    views::ListPanel* panel = new views::ListPanel(&window);

    ListFixture() {
        QString text;
        for (int i = 0; i < kLines; ++i)
            text += QStringLiteral("[%1]第%2句\r\n").arg(subtitles::formatLrcTime(i * 450)).arg(i);
        document.parse(text);
        panel->setSource({[this] { return &document; }, [this] { return currentLine; },
                          [] { return subtitles::SentenceMode::TwoLinesOddHead; },
                          [] { return false; }, [] {}, [](int) {}, [] {}, [] {}});
        window.resize(1000, 400);
        panel->setGeometry(window.rect());
        window.show();
        QApplication::processEvents();
    }
};

void FillAndClear(benchmark::State& state) {
    ListFixture f;
    for (auto _ : state) {
        f.panel->fill();
        f.panel->clear();
    }
    state.counters["lines"] = kLines;
}
BENCHMARK(FillAndClear)->Unit(benchmark::kMillisecond);

// One sentence on, with the repaint it asks for: the mark, two sentences' rows, and a page
// scroll every few steps.
void PosRefreshAndPaint(benchmark::State& state) {
    ListFixture f;
    f.panel->fill();
    for (auto _ : state) {
        f.currentLine = (f.currentLine + 2) % kLines;
        f.panel->posRefresh();
        QApplication::processEvents();
    }
}
BENCHMARK(PosRefreshAndPaint)->Unit(benchmark::kMicrosecond);

void PaintWholeView(benchmark::State& state) {
    ListFixture f;
    f.panel->fill();
    for (auto _ : state)
        benchmark::DoNotOptimize(f.panel->table()->viewport()->grab());
}
BENCHMARK(PaintWholeView)->Unit(benchmark::kMicrosecond);

void RenumberAfterModeChange(benchmark::State& state) {
    ListFixture f;
    f.panel->fill();
    for (auto _ : state) {
        f.panel->renumberSentences();
        QApplication::processEvents();
    }
}
BENCHMARK(RenumberAfterModeChange)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
