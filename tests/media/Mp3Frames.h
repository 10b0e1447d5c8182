#pragma once

#include <QByteArray>
#include <QString>

#include <set>

namespace lurvo::test {

// What the frame headers of an MPEG audio layer III file say, read byte by byte so that the
// check does not depend on the decoder's leniency.
struct Mp3Frames {
    bool readable = false; // frames from the first byte to the last, nothing else
    int audioFrames = 0;   // not counting the Xing/Info frame
    int sampleRate = 0;
    int channels = 0;
    int samplesPerFrame = 0;
    std::set<int> bitratesKbps; // of the audio frames
    QByteArray tag;             // "Xing" or "Info" when the first frame carries one
    int taggedFrames = -1;      // the frame count the tag gives, -1 when absent

    double durationMs() const {
        return sampleRate ? 1000.0 * audioFrames * samplesPerFrame / sampleRate : 0.0;
    }
};

Mp3Frames scanMp3Frames(const QString& path);

} // namespace lurvo::test
