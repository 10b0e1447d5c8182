#pragma once

#include "pauses/PauseAnalysis.h"

#include <QList>

namespace lurvo::test {

// A measured lesson as the analysis would give it: half a second of silence, then voiceMs of
// speech at -20 dBFS after each of the given pauses (near silence at -80 dBFS), and half a
// second of silence at the end.
inline pauses::Envelope speechEnvelope(const QList<int>& pausesMs, int voiceMs = 2000) {
    pauses::Envelope envelope;
    const auto add = [&](int ms, float db) {
        for (int i = 0; i < ms / envelope.hopMs; ++i)
            envelope.levelsDb << db;
    };
    add(500, -80);
    add(voiceMs, -20);
    for (const int pause : pausesMs) {
        add(pause, -80);
        add(voiceMs, -20);
    }
    add(500, -80);
    envelope.durationMs = qint64(envelope.levelsDb.size()) * envelope.hopMs;
    return envelope;
}

} // namespace lurvo::test
