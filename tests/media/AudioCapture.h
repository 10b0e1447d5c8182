#pragma once

#include "media/GstHandles.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace lurvo::test {

// A renderer description for MediaPlayer that hands the audio to the test as 16-bit stereo.
inline constexpr const char* kCaptureRenderer =
    "appsink caps=audio/x-raw,format=S16LE,channels=2,layout=interleaved sync=false "
    "max-buffers=0 emit-signals=false";

struct StereoSamples {
    std::vector<std::int16_t> left;
    std::vector<std::int16_t> right;
    std::int64_t firstPtsNs = -1;
    int rate = 0;
};

// Pulls up to `frames` frames from a capture renderer (the preroll sample first when paused).
StereoSamples pullFrames(GstElement* appsink, std::size_t frames, bool fromPreroll);

// Every sample of an audio file decoded to mono 16-bit by GStreamer's own automatic chain.
std::vector<std::int16_t> decodeReference(const QString& path, int* rate = nullptr);

double rms(const std::vector<std::int16_t>& samples, std::size_t from = 0,
           std::size_t count = SIZE_MAX);

} // namespace lurvo::test
