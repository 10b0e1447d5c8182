#include "MeasureLessons.h"

#include "media/GstHandles.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <gst/app/gstappsrc.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace lurvo::test {

namespace {

// LAME's encoder delay plus the decoder's: decoded audio comes this much later than the
// samples given to the encoder, and the subtitles are timed on the decoded audio.
constexpr int kCodecDelaySamples = 1105;

// One sentence's samples: filtered noise of its own seed under a slow, uneven swell, with a
// tone of its own pitch; never silent, never repeating.
std::vector<std::int16_t> sentenceSamples(int index, int count, int rate, unsigned seed) {
    std::mt19937 random(seed * 7919u + unsigned(index) * 104729u + 17u);
    std::normal_distribution<double> noise(0.0, 1.0);
    const double pitch = 170.0 + 53.0 * ((index * 7) % 23);
    const double swell = 0.21 + 0.04 * (index % 5);
    const double phase = 0.7 * index;
    std::vector<std::int16_t> out(std::size_t(count), 0);
    double low = 0;
    for (int n = 0; n < count; ++n) {
        const double t = double(n) / rate;
        low = 0.55 * low + 0.45 * noise(random);
        const double envelope = 0.6 + 0.25 * std::sin(2 * std::numbers::pi * t / swell + phase) +
                                0.1 * std::sin(2 * std::numbers::pi * t / 0.13 + 2 * phase);
        const double v =
            envelope * (0.28 * low + 0.22 * std::sin(2 * std::numbers::pi * pitch * t));
        out[std::size_t(n)] = std::int16_t(std::clamp(v, -0.95, 0.95) * 32767);
    }
    return out;
}

// xingmux (GStreamer 1.22) overflows when it writes the table of contents of a file past
// 16 MB: the entries wrap, and seeks there start from the file's head. The table is written
// anew from the frames: entry i is where the frame at i percent of the length starts, in
// 256ths of the file. MPEG-1 layer III frames only, as lamemp3enc writes them here.
bool rewriteXingTable(const QString& mp3) {
    QFile file(mp3);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray data = file.readAll();
    static constexpr int kKbps[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                      112, 128, 160, 192, 224, 256, 320, 0};
    static constexpr int kRates[4] = {44100, 48000, 32000, 0};
    std::vector<qint64> frames;
    for (qint64 at = 0; at + 4 <= data.size();) {
        const auto b = [&](qint64 i) { return quint8(data[i]); };
        if (b(at) != 0xFF || (b(at + 1) & 0xFE) != 0xFA)
            return false;
        const int kbps = kKbps[b(at + 2) >> 4];
        const int rate = kRates[(b(at + 2) >> 2) & 3];
        if (kbps == 0 || rate == 0)
            return false;
        frames.push_back(at);
        at += 144000 * kbps / rate + ((b(at + 2) >> 1) & 1);
    }
    const qsizetype tag = data.left(200).indexOf("Xing");
    if (frames.size() < 2 || tag < 0)
        return false;
    const quint8 flags = quint8(data[tag + 7]);
    if (!(flags & 4))
        return true;
    const qint64 toc = tag + 8 + ((flags & 1) ? 4 : 0) + ((flags & 2) ? 4 : 0);
    QByteArray table(100, 0);
    const auto audioFrames = qint64(frames.size()) - 1; // the first carries the tag
    for (int i = 0; i < 100; ++i) {
        const qint64 at = frames[std::size_t(1 + audioFrames * i / 100)];
        table[i] = char(std::min<qint64>(255, at * 256 / data.size()));
    }
    return file.seek(toc) && file.write(table) == 100;
}

QString lrcTime(int ms) {
    return QString::asprintf("[%02d:%02d.%02d]", ms / 60000, ms / 1000 % 60, ms / 10 % 100);
}

} // namespace

bool xingTableRises(const QString& mp3) {
    QFile file(mp3);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(4096);
    qsizetype at = head.indexOf("Xing");
    if (at < 0)
        at = head.indexOf("Info");
    if (at < 0 || at + 8 > head.size())
        return false;
    const auto byteAt = [&](qsizetype i) { return quint8(head[i]); };
    const quint32 flags = quint32(byteAt(at + 4)) << 24 | quint32(byteAt(at + 5)) << 16 |
                          quint32(byteAt(at + 6)) << 8 | byteAt(at + 7);
    if (!(flags & 4u))
        return true; // no table: seeks estimate from the bitrate
    const qsizetype toc = at + 8 + ((flags & 1u) ? 4 : 0) + ((flags & 2u) ? 4 : 0);
    if (toc + 100 > head.size())
        return false;
    for (int i = 1; i < 100; ++i)
        if (byteAt(toc + i) < byteAt(toc + i - 1))
            return false;
    return true;
}

std::optional<MeasureLesson> makeMeasureLesson(const QString& folder, const QString& name,
                                               Mp3Kind kind, const MeasureLessonShape& shape,
                                               QString* error) {
    const auto fail = [&](const QString& why) -> std::optional<MeasureLesson> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QDir().mkpath(folder);
    MeasureLesson lesson;
    lesson.mp3 = QDir(folder).filePath(name + ".mp3");
    lesson.lrc = QDir(folder).filePath(name + ".lrc");

    // Lines on whole hundredths, as the subtitles can say no finer.
    std::mt19937 random(shape.seed);
    std::uniform_int_distribution<int> lengthOf(shape.minSentenceMs / 10, shape.maxSentenceMs / 10);
    QList<int> bounds{shape.leadMs};
    for (int i = 0; i < shape.sentences; ++i)
        bounds << bounds.last() + 10 * lengthOf(random);
    lesson.startsMs = bounds.first(shape.sentences);

    const QString encoder =
        kind == Mp3Kind::Cbr
            ? QStringLiteral("lamemp3enc target=bitrate bitrate=128 cbr=true")
            : QStringLiteral("lamemp3enc target=quality quality=%1").arg(shape.vbrQuality);
    const QString description =
        QStringLiteral("appsrc name=in format=time block=true caps=audio/x-raw,format=S16LE,layout="
                       "interleaved,channels=1,rate=%1 ! audioconvert ! %2 ! xingmux ! "
                       "filesink name=out")
            .arg(shape.sampleRate)
            .arg(encoder);
    GError* parseError = nullptr;
    media::GstElementPtr pipeline =
        media::adoptElement(gst_parse_launch(description.toUtf8().constData(), &parseError));
    if (parseError) {
        const QString text = QString::fromUtf8(parseError->message);
        g_error_free(parseError);
        return fail(text);
    }
    media::GstElementPtr source(gst_bin_get_by_name(GST_BIN(pipeline.get()), "in"));
    media::GstElementPtr sink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "out"));
    g_object_set(sink.get(), "location", QFile::encodeName(lesson.mp3).constData(), nullptr);
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);

    const auto push = [&](std::vector<std::int16_t> samples) {
        const gsize bytes = samples.size() * sizeof(std::int16_t);
        GstBuffer* buffer = gst_buffer_new_allocate(nullptr, bytes, nullptr);
        gst_buffer_fill(buffer, 0, samples.data(), bytes);
        return gst_app_src_push_buffer(GST_APP_SRC(source.get()), buffer) == GST_FLOW_OK;
    };
    // Sample positions of the lines on the encoder's side, earlier by the codec's delay.
    const auto encoderSample = [&](int ms) {
        return std::max<std::int64_t>(0, std::int64_t(ms) * shape.sampleRate / 1000 -
                                             kCodecDelaySamples);
    };
    bool pushed = push(std::vector<std::int16_t>(std::size_t(encoderSample(bounds[0])), 0));
    for (int i = 0; pushed && i < shape.sentences; ++i) {
        const auto count = encoderSample(bounds[i + 1]) - encoderSample(bounds[i]);
        pushed = push(sentenceSamples(i, int(count), shape.sampleRate, shape.seed));
    }
    gst_app_src_end_of_stream(GST_APP_SRC(source.get()));
    media::GstBusPtr bus(gst_element_get_bus(pipeline.get()));
    media::GstMessagePtr done(gst_bus_timed_pop_filtered(
        bus.get(), 600 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    if (!pushed || !done || GST_MESSAGE_TYPE(done.get()) != GST_MESSAGE_EOS)
        return fail(QStringLiteral("encoding %1 failed").arg(lesson.mp3));

    if (kind == Mp3Kind::Vbr && !rewriteXingTable(lesson.mp3))
        return fail(QStringLiteral("cannot rewrite the Xing table of %1").arg(lesson.mp3));
    if (!xingTableRises(lesson.mp3))
        return fail(QStringLiteral("%1 has a broken Xing table of contents").arg(lesson.mp3));

    QString text = QStringLiteral("[ti:%1]\r\n").arg(name);
    for (int i = 0; i < shape.sentences; ++i)
        text += lrcTime(bounds[i]) + QStringLiteral("sentence %1\r\n").arg(i + 1);
    QSaveFile lrc(lesson.lrc);
    if (!lrc.open(QIODevice::WriteOnly) || lrc.write(text.toUtf8()) < 0 || !lrc.commit())
        return fail(QStringLiteral("cannot write %1").arg(lesson.lrc));
    return lesson;
}

} // namespace lurvo::test
