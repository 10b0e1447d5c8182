#include "Mp3Frames.h"

#include <QFile>

#include <algorithm>

namespace lurvo::test {

namespace {

struct Header {
    int versionBits = 0; // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int bitrateKbps = 0;
    int sampleRate = 0;
    int channels = 0;
    int size = 0;
    int samples = 0;
    int sideInfo = 0;
};

bool parseHeader(const unsigned char* p, Header& h) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return false;
    h.versionBits = (p[1] >> 3) & 3;
    const int layer = (p[1] >> 1) & 3;
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    const int padding = (p[2] >> 1) & 1;
    if (h.versionBits == 1 || layer != 1 || bitrateIndex == 0 || bitrateIndex == 15 ||
        rateIndex == 3)
        return false;
    static const int kMpeg1Rates[] = {0,   32,  40,  48,  56,  64,  80, 96,
                                      112, 128, 160, 192, 224, 256, 320};
    static const int kMpeg2Rates[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    static const int kSampleRates[] = {44100, 48000, 32000};
    const bool mpeg1 = h.versionBits == 3;
    h.bitrateKbps = mpeg1 ? kMpeg1Rates[bitrateIndex] : kMpeg2Rates[bitrateIndex];
    h.sampleRate = kSampleRates[rateIndex] / (mpeg1 ? 1 : h.versionBits == 2 ? 2 : 4);
    h.channels = (p[3] >> 6) == 3 ? 1 : 2;
    h.samples = mpeg1 ? 1152 : 576;
    h.size = (mpeg1 ? 144 : 72) * h.bitrateKbps * 1000 / h.sampleRate + padding;
    h.sideInfo = mpeg1 ? (h.channels == 1 ? 17 : 32) : (h.channels == 1 ? 9 : 17);
    return true;
}

int bigEndian(const unsigned char* p) {
    return int((unsigned(p[0]) << 24) | (unsigned(p[1]) << 16) | (unsigned(p[2]) << 8) | p[3]);
}

} // namespace

Mp3Frames scanMp3Frames(const QString& path) {
    Mp3Frames out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return out;
    const QByteArray data = file.readAll();
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    const qsizetype size = data.size();
    qsizetype at = 0;
    bool first = true;
    while (at + 4 <= size) {
        Header h;
        if (!parseHeader(bytes + at, h) || at + h.size > size)
            return out;
        const unsigned char* tag = bytes + at + 4 + h.sideInfo;
        if (first && at + 4 + h.sideInfo + 12 <= size &&
            (std::equal(tag, tag + 4, "Xing") || std::equal(tag, tag + 4, "Info"))) {
            out.tag = QByteArray(reinterpret_cast<const char*>(tag), 4);
            if (bigEndian(tag + 4) & 1)
                out.taggedFrames = bigEndian(tag + 8);
        } else {
            if (out.sampleRate == 0) {
                out.sampleRate = h.sampleRate;
                out.channels = h.channels;
                out.samplesPerFrame = h.samples;
            }
            if (h.sampleRate != out.sampleRate || h.channels != out.channels)
                return out;
            ++out.audioFrames;
            out.bitratesKbps.insert(h.bitrateKbps);
        }
        first = false;
        at += h.size;
    }
    out.readable = at == size && out.audioFrames > 0;
    return out;
}

} // namespace lurvo::test
