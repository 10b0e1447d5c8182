#include "SyntheticVoices.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryFile>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lurvo::test {

namespace {

constexpr int kRate = 16000;
constexpr int kFrame = kRate / 100;

struct Vowel {
    float formants[3];
};
// Roughly a, i, u, e, o.
constexpr Vowel kVowels[] = {{{800, 1200, 2500}},
                             {{300, 2300, 3000}},
                             {{350, 800, 2400}},
                             {{500, 1900, 2600}},
                             {{500, 900, 2500}}};

float resonance(const Vowel& vowel, float hz) {
    float gain = 0.02f;
    for (float f : vowel.formants)
        gain += 1.0f / (1.0f + ((hz - f) / 90.0f) * ((hz - f) / 90.0f));
    return gain;
}

} // namespace

QString runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return program + QStringLiteral(" failed: ") +
               QString::fromLocal8Bit(process.readAllStandardError());
    return {};
}

QString writeWav(const std::vector<float>& samples, const QString& path,
                 const QStringList& effects) {
    const QString raw = path + QStringLiteral(".f32");
    QFile file(raw);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write ") + raw;
    file.write(reinterpret_cast<const char*>(samples.data()),
               qint64(samples.size() * sizeof(float)));
    file.close();
    return runTool(QStringLiteral("sox"),
                   QStringList{"-t", "raw", "-e", "floating-point", "-b", "32", "-r",
                               QString::number(kRate), "-c", "1", raw, "-b", "16", path} +
                       effects);
}

SyllableVoice syllableVoice(const std::vector<Tone>& tones, float baseHz) {
    SyllableVoice voice;
    const auto pause = [&](int ms) {
        voice.samples.resize(voice.samples.size() + ms * kRate / 1000, 0.0f);
    };
    pause(200);
    double phase = 0;
    for (std::size_t s = 0; s < tones.size(); ++s) {
        const Vowel& vowel = kVowels[(s * 3) % std::size(kVowels)];
        const int length = (220 + int(s % 3) * 40) * kRate / 1000;
        const float fromSt = float(tones[s].from - 1) * 2.0f;
        const float toSt = float(tones[s].to - 1) * 2.0f;
        const int attack = kRate * 20 / 1000, release = kRate * 50 / 1000;
        const std::size_t first = voice.samples.size();
        for (int n = 0; n < length; ++n) {
            const float x = float(n) / float(length - 1);
            const float hz = baseHz * std::exp2((fromSt + (toSt - fromSt) * x) / 12.0f);
            phase += 2.0 * std::numbers::pi * hz / kRate;
            float sample = 0;
            for (int k = 1; k * hz < 5000.0f; ++k)
                sample += resonance(vowel, k * hz) / float(k) * float(std::sin(k * phase));
            float envelope = 1.0f;
            if (n < attack)
                envelope = 0.5f - 0.5f * std::cos(float(std::numbers::pi) * n / attack);
            else if (n > length - release)
                envelope = 0.5f - 0.5f * std::cos(float(std::numbers::pi) * (length - n) / release);
            voice.samples.push_back(0.25f * envelope * sample);
        }
        voice.syllables.push_back(
            {int(first / kFrame), int((first + std::size_t(length)) / kFrame) - 1});
        pause(60 + int(s % 2) * 30);
    }
    pause(200);

    // The truth at the middle of each frame.
    voice.trueHz.assign(voice.samples.size() / kFrame, 0.0f);
    for (std::size_t s = 0; s < tones.size(); ++s) {
        const pitch::FrameSpan span = voice.syllables[s];
        const float fromSt = float(tones[s].from - 1) * 2.0f;
        const float toSt = float(tones[s].to - 1) * 2.0f;
        for (int f = span.first; f <= span.last; ++f) {
            const float x = float(f - span.first) / float(std::max(1, span.last - span.first));
            voice.trueHz[std::size_t(f)] =
                baseHz * std::exp2((fromSt + (toSt - fromSt) * x) / 12.0f);
        }
    }
    return voice;
}

ContourError contourError(const pitch::VoiceTrack& voice, const std::vector<float>& trueHz,
                          int skipAroundChanges) {
    std::vector<float> errors;
    const int n = std::min(voice.frameCount(), int(trueHz.size()));
    const auto steady = [&](int i) {
        for (int j = std::max(0, i - skipAroundChanges);
             j <= std::min(int(trueHz.size()) - 1, i + skipAroundChanges); ++j) {
            if (trueHz[std::size_t(j)] <= 0)
                return false;
            // A step: more than half a semitone between neighbouring frames.
            if (j > 0 && trueHz[std::size_t(j - 1)] > 0 &&
                std::abs(std::log2(trueHz[std::size_t(j)] / trueHz[std::size_t(j - 1)])) >
                    0.5f / 12)
                return false;
        }
        return true;
    };
    for (int i = 0; i < n; ++i) {
        const float hz = voice.hz[std::size_t(i)];
        if (std::isnan(hz) || trueHz[std::size_t(i)] <= 0 || !steady(i))
            continue;
        errors.push_back(std::abs(12.0f * std::log2(hz / trueHz[std::size_t(i)])));
    }
    ContourError result;
    result.compared = int(errors.size());
    if (errors.empty())
        return result;
    std::sort(errors.begin(), errors.end());
    result.p95 = errors[std::size_t(0.95 * (errors.size() - 1))];
    result.worst = errors.back();
    return result;
}

} // namespace lurvo::test
