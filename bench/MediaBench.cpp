// Opening and seeking in one-hour lessons. Needs the files bench/run.sh makes:
// LURVO_BENCH_DATA/hour-tagless.mp3 (no length header) and hour-info.mp3 (with one).
#include "media/MediaPlayer.h"

#include <QString>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace lurvo::media;

namespace {

QString benchFile(const char* name) {
    const char* dir = std::getenv("LURVO_BENCH_DATA");
    return QString::fromLocal8Bit(dir ? dir : ".") + "/" + name;
}

void open(benchmark::State& state, const char* file, ParserOrder order) {
    for (auto _ : state) {
        MediaPlayer player("fakesink sync=true");
        const MediaResult result = player.Open(benchFile(file), nullptr, order);
        if (!result.ok()) {
            state.SkipWithError(result.message.toUtf8().constData());
            break;
        }
        state.counters["lengthMs"] = double(player.LengthMs());
    }
}

void BM_OpenHourTaglessId3(benchmark::State& s) {
    open(s, "hour-tagless.mp3", ParserOrder::SecondaryFirst);
}
void BM_OpenHourTaglessParsebin(benchmark::State& s) {
    open(s, "hour-tagless.mp3", ParserOrder::Mpeg1First);
}
void BM_OpenHourInfoId3(benchmark::State& s) {
    open(s, "hour-info.mp3", ParserOrder::SecondaryFirst);
}

// A seek while playing, as the sentence player does at every repeat; the target moves through
// the file so that parts not yet indexed are reached too.
void BM_SeekWhilePlaying(benchmark::State& state) {
    MediaPlayer player("fakesink sync=true");
    if (!player.Open(benchFile("hour-tagless.mp3"), nullptr, ParserOrder::SecondaryFirst).ok()) {
        state.SkipWithError("cannot open");
        return;
    }
    player.Play();
    int target = 0;
    for (auto _ : state) {
        target = (target + 61'000) % 3'500'000;
        player.SeekMs(target);
    }
}

BENCHMARK(BM_OpenHourTaglessId3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenHourTaglessParsebin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenHourInfoId3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeekWhilePlaying)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
