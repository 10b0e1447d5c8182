#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace lurvo::test {

// A learner at the keys: random sentence navigation and subtitle offsets at random intervals,
// on a real lesson playing to the sound server, with the 10 ms tick running between commands.
struct StressOptions {
    QString mp3;
    QString lrc;
    int commands = 100;
    unsigned seed = 1;
    int minGapMs = 20;
    int maxGapMs = 800;
    int maxOffsetMs = 2000; // offsets are drawn from [-maxOffsetMs, maxOffsetMs]
    QByteArray renderer;    // empty: the default audio output
    bool verbose = false;   // a line per failure on stderr as it happens
};

struct StressReport {
    int commands = 0;
    // Commands followed by 500 ms or more without the audio moving on.
    int lateStarts = 0;
    // Spells of over a second in which the player said Playing and the position stood still.
    int standstills = 0;
    // Graphs the player built anew after a stall.
    int recoveries = 0;
    std::int64_t slowestStartMs = 0; // longest wait from a command to the audio moving on
    QStringList failures;            // what went wrong, and after which command
    bool opened = false;
};

StressReport runPlaybackStress(const StressOptions& options);

} // namespace lurvo::test
