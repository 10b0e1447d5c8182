#include "pitch/AubioHandles.h"
#include "pitch/Contour.h"
#include "pitch/PitchAnalysis.h"

#include <algorithm>
#include <cmath>

namespace lurvo::pitch {

namespace {

// Below this the estimator is guessing: noise, breath, the edge of a consonant.
constexpr float kMinConfidence = 0.5f;
// Voiced frames are within this much of the sentence's loud frames, so that a quiet recording
// is judged by its own loudness; nothing below the floor counts, however quiet the rest is.
constexpr float kVoicedBelowLoud = 30.0f;
constexpr float kSpeechBelowLoud = 35.0f;
constexpr float kFloorDb = -60.0f;
// The range of voices the contour accepts.
constexpr float kMinHz = 60.0f;
constexpr float kMaxHz = 600.0f;
// The median filter's length, in frames.
constexpr int kMedianFrames = 5;
// Runs of voiced frames shorter than this are clicks or noise, not a syllable.
constexpr int kMinRunFrames = 3;
// Between neighbouring frames a voice never moves this far; such a step is an octave error.
constexpr float kJumpSemitones = 9.0f;
// A whole run this far from the sentence's middle was found an octave off.
constexpr float kRunOffSemitones = 10.0f;
constexpr int kMfccCoefficients = 13;
constexpr int kMfccFilters = 40;
// How much the level counts in the alignment beside the spectrum.
constexpr float kLevelWeight = 1.0f;

float semitonesOf(float hz) {
    return 12.0f * std::log2(hz);
}
float hzOf(float semitones) {
    return std::exp2(semitones / 12.0f);
}

float medianOf(std::vector<float> values) {
    if (values.empty())
        return std::nanf("");
    const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The smallest power of two at least `n`.
unsigned powerOfTwoAtLeast(double n) {
    unsigned size = 64;
    while (size < n)
        size *= 2;
    return size;
}

// Fills `block` with the samples from `first` on, zeros outside the recording.
void fillBlock(const std::vector<float>& samples, std::int64_t first, fvec_t* block) {
    for (unsigned i = 0; i < block->length; ++i) {
        const std::int64_t at = first + i;
        block->data[i] = at >= 0 && at < std::int64_t(samples.size()) ? samples[at] : 0.0f;
    }
}

// RMS level in dBFS of `length` samples centred on `centre`.
float levelAround(const std::vector<float>& samples, std::int64_t centre, int length) {
    double sum = 0;
    for (std::int64_t i = centre - length / 2; i < centre - length / 2 + length; ++i)
        if (i >= 0 && i < std::int64_t(samples.size()))
            sum += double(samples[i]) * samples[i];
    return float(10.0 * std::log10(sum / length + 1e-12));
}

// The runs of voiced (non-NaN) frames, as [first, last].
std::vector<FrameSpan> voicedRuns(const std::vector<float>& values) {
    std::vector<FrameSpan> runs;
    for (int i = 0; i < int(values.size()); ++i) {
        if (std::isnan(values[i]))
            continue;
        if (!runs.empty() && runs.back().last == i - 1)
            runs.back().last = i;
        else
            runs.push_back({i, i});
    }
    return runs;
}

} // namespace

void foldOctaves(std::vector<float>& st) {
    const std::vector<FrameSpan> runs = voicedRuns(st);
    for (const FrameSpan& run : runs) {
        std::vector<int> shift(std::size_t(run.last - run.first + 1), 0);
        float previous = st[run.first];
        for (int i = run.first + 1; i <= run.last; ++i) {
            int k = 0;
            while (st[i] + 12.0f * k - previous > kJumpSemitones)
                --k;
            while (st[i] + 12.0f * k - previous < -kJumpSemitones)
                ++k;
            shift[i - run.first] = k;
            previous = st[i] + 12.0f * k;
        }
        // The commonest shift is the run's own octave.
        std::vector<int> sorted = shift;
        std::sort(sorted.begin(), sorted.end());
        int best = sorted.front(), bestCount = 0;
        for (std::size_t i = 0; i < sorted.size();) {
            std::size_t j = i;
            while (j < sorted.size() && sorted[j] == sorted[i])
                ++j;
            if (int(j - i) > bestCount) {
                best = sorted[i];
                bestCount = int(j - i);
            }
            i = j;
        }
        for (int i = run.first; i <= run.last; ++i)
            st[i] += 12.0f * float(shift[i - run.first] - best);
    }
    std::vector<float> all;
    for (float v : st)
        if (!std::isnan(v))
            all.push_back(v);
    const float middle = medianOf(all);
    for (const FrameSpan& run : runs) {
        const float runMiddle =
            medianOf(std::vector<float>(st.begin() + run.first, st.begin() + run.last + 1));
        float fold = 0;
        while (runMiddle + fold - middle > kRunOffSemitones)
            fold -= 12.0f;
        while (runMiddle + fold - middle < -kRunOffSemitones)
            fold += 12.0f;
        for (int i = run.first; i <= run.last; ++i)
            st[i] += fold;
    }
}

std::vector<float> medianFiltered(const std::vector<float>& st, int length) {
    std::vector<float> out(st.size(), std::nanf(""));
    std::vector<float> window;
    for (int i = 0; i < int(st.size()); ++i) {
        if (std::isnan(st[i]))
            continue;
        window.clear();
        for (int j = std::max(0, i - length / 2); j <= std::min(int(st.size()) - 1, i + length / 2);
             ++j)
            if (!std::isnan(st[j]))
                window.push_back(st[j]);
        out[i] = medianOf(window);
    }
    return out;
}

VoiceTrack analyseVoice(const Pcm& pcm) {
    VoiceTrack voice;
    if (pcm.rate <= 0 || pcm.samples.empty())
        return voice;
    const int rate = pcm.rate;
    const unsigned hop = unsigned(rate * kFrameMs / 1000);
    // Two periods of the lowest voice, and a little more.
    const unsigned window = powerOfTwoAtLeast(rate * 0.06);
    const unsigned spectrumWindow = powerOfTwoAtLeast(rate * 0.025);
    const int frames = int((pcm.samples.size() + hop - 1) / hop);

    AubioPtr<aubio_pitch_t> detector(new_aubio_pitch("yinfft", window, hop, uint_t(rate)));
    AubioPtr<aubio_pvoc_t> vocoder(new_aubio_pvoc(spectrumWindow, hop));
    AubioPtr<aubio_mfcc_t> mfcc(
        new_aubio_mfcc(spectrumWindow, kMfccFilters, kMfccCoefficients, uint_t(rate)));
    AubioPtr<fvec_t> block(new_fvec(hop));
    AubioPtr<fvec_t> spectrumBlock(new_fvec(hop));
    AubioPtr<fvec_t> found(new_fvec(1));
    AubioPtr<cvec_t> spectrum(new_cvec(spectrumWindow));
    AubioPtr<fvec_t> coefficients(new_fvec(kMfccCoefficients));
    if (!detector || !vocoder || !mfcc)
        return voice;
    aubio_pitch_set_unit(detector.get(), "Hz");
    // The confidence is 1 less the estimator's normalised difference at its best lag. The library
    // reports it only for the highest voices (for a lag above its short-period limit it reads the
    // function at lag 0, always giving 0), so it is applied as the estimator's tolerance instead: a
    // frame whose best lag is not deep enough gives 0 Hz.
    aubio_pitch_set_tolerance(detector.get(), 1.0f - kMinConfidence);
    // Silence is judged here, against the sentence's own loudness.
    aubio_pitch_set_silence(detector.get(), -120.0f);

    // Each block completes a window that ends with it; starting the input later by half a window
    // less half a hop centres frame i's window on its own 10 ms.
    const std::int64_t pitchLead = window / 2 - hop / 2;
    const std::int64_t spectrumLead = spectrumWindow / 2 - hop / 2;
    std::vector<float> rawHz(std::size_t(frames), 0.0f);
    voice.levelDb.resize(std::size_t(frames));
    voice.features.resize(std::size_t(frames));
    for (int i = 0; i < frames; ++i) {
        const std::int64_t start = std::int64_t(i) * hop;
        fillBlock(pcm.samples, start + pitchLead, block.get());
        aubio_pitch_do(detector.get(), block.get(), found.get());
        rawHz[i] = found->data[0];
        fillBlock(pcm.samples, start + spectrumLead, spectrumBlock.get());
        aubio_pvoc_do(vocoder.get(), spectrumBlock.get(), spectrum.get());
        aubio_mfcc_do(mfcc.get(), spectrum.get(), coefficients.get());
        // The first coefficient is the loudness, which the level carries better.
        voice.features[i].assign(coefficients->data + 1, coefficients->data + kMfccCoefficients);
        voice.levelDb[i] = levelAround(pcm.samples, start + hop / 2, int(2 * hop));
    }

    // The loud frames, not the single loudest, so that a click does not set the scale.
    std::vector<float> sortedLevels = voice.levelDb;
    std::sort(sortedLevels.begin(), sortedLevels.end());
    const float loud = sortedLevels[std::size_t(0.95 * (sortedLevels.size() - 1))];
    const float speechFloor = std::max(loud - kSpeechBelowLoud, kFloorDb);
    const float voicedFloor = std::max(loud - kVoicedBelowLoud, kFloorDb);

    for (int i = 0; i < frames; ++i)
        if (voice.levelDb[i] >= speechFloor) {
            if (voice.speechLast < voice.speechFirst)
                voice.speechFirst = i;
            voice.speechLast = i;
        }

    std::vector<float> st(std::size_t(frames), std::nanf(""));
    for (int i = 0; i < frames; ++i)
        if (voice.levelDb[i] >= voicedFloor && rawHz[i] >= kMinHz && rawHz[i] <= kMaxHz)
            st[i] = semitonesOf(rawHz[i]);
    for (const FrameSpan& run : voicedRuns(st))
        if (run.last - run.first + 1 < kMinRunFrames)
            std::fill(st.begin() + run.first, st.begin() + run.last + 1, std::nanf(""));
    foldOctaves(st);
    st = medianFiltered(st, kMedianFrames);

    std::vector<float> voicedSt;
    for (float v : st)
        if (!std::isnan(v))
            voicedSt.push_back(v);
    voice.hz.assign(std::size_t(frames), std::nanf(""));
    voice.semitones.assign(std::size_t(frames), std::nanf(""));
    if (!voicedSt.empty()) {
        const float middle = medianOf(voicedSt);
        voice.medianHz = hzOf(middle);
        for (int i = 0; i < frames; ++i)
            if (!std::isnan(st[i])) {
                voice.hz[i] = hzOf(st[i]);
                voice.semitones[i] = st[i] - middle;
            }
    }

    // Features as differences from the speech's own average, so that another microphone or
    // another voice's timbre moves them less than the syllables do; then the level, in tens of
    // dB below the loud frames.
    // Digital silence has no spectrum (its coefficients are not finite); it stands at the
    // average and is told apart by its level.
    const auto finite = [](const std::vector<float>& v) {
        return std::all_of(v.begin(), v.end(), [](float x) { return std::isfinite(x); });
    };
    std::vector<double> mean(kMfccCoefficients - 1, 0.0);
    int averaged = 0;
    for (int i = voice.speechFirst; i <= voice.speechLast; ++i) {
        if (!finite(voice.features[i]))
            continue;
        for (int c = 0; c < kMfccCoefficients - 1; ++c)
            mean[c] += voice.features[i][c];
        ++averaged;
    }
    for (double& m : mean)
        m /= std::max(averaged, 1);
    for (int i = 0; i < frames; ++i)
        if (!finite(voice.features[i]))
            std::copy(mean.begin(), mean.end(), voice.features[i].begin());
    for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < kMfccCoefficients - 1; ++c)
            voice.features[i][c] -= float(mean[c]);
        voice.features[i].push_back(kLevelWeight * std::clamp((voice.levelDb[i] - loud) / 10.0f,
                                                              -kSpeechBelowLoud / 10.0f, 1.0f));
    }
    return voice;
}

} // namespace lurvo::pitch
