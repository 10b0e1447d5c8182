#pragma once

#include "pitch/PitchAnalysis.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace lurvo::test {

// Runs a tool to its end; empty on success, else what went wrong.
QString runTool(const QString& program, const QStringList& arguments);

// Writes 16 kHz mono samples to a WAV file through sox, with sox effects after it (such as
// "tempo 0.8"); empty on success.
QString writeWav(const std::vector<float>& samples, const QString& path,
                 const QStringList& effects = {});

// A tone as the Cantonese tone letters give it: the pitch level at its start and at its end,
// 1 (low) to 5 (high).
struct Tone {
    int from = 3;
    int to = 3;
};

// A sentence of voiced syllables, one per tone: harmonics of a gliding F0 through a vowel's
// resonances, each syllable shaped by a rise and a fall in level and followed by a short pause;
// the vowels and the lengths follow the syllable's place, so that two sentences with other
// tones have the same syllables. Level 1 is at `baseHz`, each level two semitones above.
struct SyllableVoice {
    std::vector<float> samples;
    std::vector<float> trueHz;               // per 10 ms frame; 0 in the pauses
    std::vector<pitch::FrameSpan> syllables; // the frames of each syllable
};
SyllableVoice syllableVoice(const std::vector<Tone>& tones, float baseHz = 120.0f);

// How far the voiced frames' F0 lies from the truth, in semitones, over the frames that have a
// truth (non-zero) and lie at least `skipAroundChanges` frames from where it starts, stops or
// steps.
struct ContourError {
    float p95 = 0;
    float worst = 0;
    int compared = 0;
};
ContourError contourError(const pitch::VoiceTrack& voice, const std::vector<float>& trueHz,
                          int skipAroundChanges = 0);

} // namespace lurvo::test
