// The long run of the playback stress test: 500 random navigation commands and offsets at
// random 20-800 ms intervals, per seed, on the sample lesson and a VBR lesson, on the sound
// server. Prints each run's late starts, standstills, graph rebuilds and slowest start.
// Arguments: [commands per run] [runs per lesson].
#include "PlaybackStress.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const int commands = argc > 1 ? std::atoi(argv[1]) : 500;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 2;
    const QString source = QStringLiteral(LURVO_SOURCE_DIR);
    const struct {
        const char* name;
        QString mp3;
        QString lrc;
    } lessons[] = {
        {"sample", source + "/resources/eg.mp3", source + "/resources/eg.lrc"},
        {"vbr", source + "/tests/data/lessons/vbr.mp3", source + "/tests/data/lessons/vbr.lrc"},
    };
    int failed = 0;
    std::printf("%-8s %5s %9s %10s %12s %11s %10s\n", "lesson", "seed", "commands", "late",
                "standstills", "rebuilds", "slowest ms");
    for (const auto& lesson : lessons) {
        for (int seed = 1; seed <= runs; ++seed) {
            lurvo::test::StressOptions options;
            options.mp3 = lesson.mp3;
            options.lrc = lesson.lrc;
            options.commands = commands;
            options.seed = unsigned(seed) * 7919u;
            options.verbose = true;
            const auto report = lurvo::test::runPlaybackStress(options);
            std::printf("%-8s %5d %9d %10d %12d %11d %10lld\n", lesson.name, seed, report.commands,
                        report.lateStarts, report.standstills, report.recoveries,
                        static_cast<long long>(report.slowestStartMs));
            std::fflush(stdout);
            failed += report.opened ? report.lateStarts + report.standstills : 1;
        }
    }
    return failed == 0 ? 0 : 1;
}
