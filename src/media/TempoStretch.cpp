#include "media/TempoStretch.h"

#include "media/VerbatimEnd.h"

#include <gst/audio/audio.h>
#include <gst/gst.h>
#include <soundtouch/SoundTouch.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace lurvo::media {

namespace {

// Time-stretch settings for speech: sequences of 40 ms, matched within 15 ms, cross-faded over
// 8 ms. Longer sequences smear syllables; shorter ones make voices rough.
constexpr int kSequenceMs = 40;
constexpr int kSeekWindowMs = 15;
constexpr int kOverlapMs = 8;
constexpr int kMaxChannels = 8;
// At a segment's end the stretcher is fed the segment's own last milliseconds again, so that
// what it still owes is the sentence's own sound, lengthened as it lengthens everything: by
// playing pieces of it twice. Fed zeros, as its flush does, the last 5-10 ms of every pass
// come out silent.
constexpr int kTailMs = 10;
constexpr int kMostTailRounds = 25;
// The last output of a pass is held back until the pass ends, so that its end can go over into
// the lesson's own audio (see VerbatimEnd.h): long enough to hold a few of the stretcher's runs
// at any speed. Only near the segment's stop: at its start, output goes out at once, as a seek
// waits for it.
constexpr int kHoldMs = 160;
// How much longer than exact a pass may come out by ending on the lesson's own audio. The next
// pass makes up for it, and the sink joins buffers this far apart without a gap or a skip.
constexpr int kMostSlackMs = 20;
// Input kept beyond what the held output was made from: the stretcher's look-ahead and slack.
constexpr int kKeptInputMarginMs = 80;

// Everything the element keeps between buffers; touched only from the streaming thread, or
// while it is stopped.
struct Stretch {
    // Made at a segment's first audio, gone once the segment is given out.
    std::unique_ptr<soundtouch::SoundTouch> touch;
    int channels = 0;
    int sampleRate = 0;
    double speed = 1.0;
    bool stretching = false; // the segment plays at a rate other than 1
    bool holding = false;    // the input is near the segment's stop: the output's end is held
    GstSegment in{};
    GstSegment out{};
    GstClockTime firstPts = GST_CLOCK_TIME_NONE; // where the segment's output starts
    guint64 framesIn = 0;                        // taken in since then
    guint64 framesOut = 0;                       // made since then, held ones included
    std::vector<float> recent;                   // the last input taken in, interleaved
    std::vector<float> held;                     // the last output, not given out yet
    std::vector<float> scratch;                  // mono audio as two channels
    // Output made beyond the exact length since the last flush: a pass that ends on the
    // lesson's own audio comes out a little long, and the next one makes up for it.
    gint64 surplus = 0;

    // A new stretcher for every segment, so that every pass starts as the first one did,
    // whatever the one before left behind.
    void renew() {
        touch = std::make_unique<soundtouch::SoundTouch>();
        touch->setChannels(guint(workChannels()));
        touch->setSampleRate(guint(sampleRate));
        touch->setSetting(SETTING_SEQUENCE_MS, kSequenceMs);
        touch->setSetting(SETTING_SEEKWINDOW_MS, kSeekWindowMs);
        touch->setSetting(SETTING_OVERLAP_MS, kOverlapMs);
        touch->setTempo(speed);
    }

    // SoundTouch starts a mono stream 0.75 ms late, after near silence, and a stereo one on its
    // first sample: mono is stretched as two equal channels.
    int workChannels() const { return channels == 1 ? 2 : channels; }

    void feed(const float* data, guint frames) {
        if (channels != 1) {
            touch->putSamples(data, frames);
            return;
        }
        scratch.resize(std::size_t(frames) * 2);
        for (std::size_t i = 0; i < frames; ++i)
            scratch[2 * i] = scratch[2 * i + 1] = data[i];
        touch->putSamples(scratch.data(), frames);
    }

    unsigned take(float* data, unsigned frames) {
        if (channels != 1)
            return touch->receiveSamples(data, frames);
        scratch.resize(std::size_t(frames) * 2);
        const unsigned got = touch->receiveSamples(scratch.data(), frames);
        for (std::size_t i = 0; i < got; ++i)
            data[i] = scratch[2 * i];
        return got;
    }

    // Ready for the next segment; `surplus` stays, for the next pass to make up.
    void reset() {
        touch.reset();
        firstPts = GST_CLOCK_TIME_NONE;
        framesIn = 0;
        framesOut = 0;
        holding = false;
        recent.clear();
        held.clear();
    }

    std::size_t frames(const std::vector<float>& samples) const {
        return samples.size() / std::size_t(channels);
    }

    std::size_t msToFrames(double ms) const { return std::size_t(double(sampleRate) * ms / 1000); }

    // As long as the audio taken in lasts at this speed, less what passes before gave out too much.
    guint64 framesOwed() const {
        const gint64 exact = std::llround(double(framesIn) / speed);
        return guint64(std::max<gint64>(0, exact - surplus));
    }

    // The input the held output can have been made from.
    double recentMs() const { return kHoldMs * std::max(1.0, speed) + kKeptInputMarginMs; }

    void keepRecent(const float* data, guint count) {
        const std::size_t keep = msToFrames(recentMs()) * std::size_t(channels);
        recent.insert(recent.end(), data, data + std::size_t(count) * std::size_t(channels));
        if (recent.size() > keep)
            recent.erase(recent.begin(), recent.end() - std::ptrdiff_t(keep));
    }
};

} // namespace

struct LurvoTempo {
    GstElement parent;
    GstPad* sinkPad;
    GstPad* srcPad;
    Stretch* stretch;
};

struct LurvoTempoClass {
    GstElementClass parentClass;
};

namespace {

// GstElement's own class, which this one derives from.
GstElementClass* parentClass() {
    return GST_ELEMENT_CLASS(g_type_class_peek(GST_TYPE_ELEMENT));
}

#define LURVO_TEMPO_CAPS                                                                           \
    "audio/x-raw, format=(string)" GST_AUDIO_NE(F32) ", layout=(string)interleaved, "              \
                                                     "rate=(int)[1,MAX], channels=(int)[1,8]"

GstStaticPadTemplate sinkTemplate = GST_STATIC_PAD_TEMPLATE("sink", GST_PAD_SINK, GST_PAD_ALWAYS,
                                                            GST_STATIC_CAPS(LURVO_TEMPO_CAPS));
GstStaticPadTemplate srcTemplate =
    GST_STATIC_PAD_TEMPLATE("src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS(LURVO_TEMPO_CAPS));

LurvoTempo* asTempo(GstObject* object) {
    return reinterpret_cast<LurvoTempo*>(object);
}

GstClockTime framesToTime(guint64 frames, int sampleRate) {
    return gst_util_uint64_scale_int(frames, GST_SECOND, sampleRate);
}

// Gives out the buffer of `count` frames from the front of what is held, timed on from the
// segment's first output sample so that rounding never piles up into drift.
GstFlowReturn pushHeld(LurvoTempo* self, std::size_t count) {
    Stretch& s = *self->stretch;
    if (count == 0)
        return GST_FLOW_OK;
    const std::size_t samples = count * std::size_t(s.channels);
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, samples * sizeof(float), nullptr);
    gst_buffer_fill(buffer, 0, s.held.data(), samples * sizeof(float));
    s.held.erase(s.held.begin(), s.held.begin() + std::ptrdiff_t(samples));
    const guint64 given = s.framesOut - s.frames(s.held) - count;
    const GstClockTime start = s.firstPts + framesToTime(given, s.sampleRate);
    GST_BUFFER_PTS(buffer) = start;
    GST_BUFFER_DURATION(buffer) = s.firstPts + framesToTime(given + count, s.sampleRate) - start;
    return gst_pad_push(self->srcPad, buffer);
}

// Takes what the stretcher has ready, never more than the segment lasts at its speed, and gives
// out all of it but the last kHoldMs.
GstFlowReturn pushReady(LurvoTempo* self) {
    Stretch& s = *self->stretch;
    const guint64 owed = s.framesOwed() > s.framesOut ? s.framesOwed() - s.framesOut : 0;
    const auto ready = unsigned(std::min<guint64>(s.touch->numSamples(), owed));
    if (ready > 0) {
        const std::size_t had = s.held.size();
        s.held.resize(had + std::size_t(ready) * std::size_t(s.channels));
        const unsigned got = s.take(s.held.data() + had, ready);
        s.held.resize(had + std::size_t(got) * std::size_t(s.channels));
        s.framesOut += got;
    }
    const std::size_t hold = s.holding ? s.msToFrames(kHoldMs) : 0;
    const std::size_t heldFrames = s.frames(s.held);
    return heldFrames > hold ? pushHeld(self, heldFrames - hold) : GST_FLOW_OK;
}

// Ends the pass on the lesson's own last samples where the held output allows it, and keeps
// count of how far from exact that leaves the pass.
void endOnTheLesson(Stretch& s) {
    const gint64 exact = std::llround(double(s.framesIn) / s.speed);
    const auto join =
        findVerbatimEnd(s.held, s.recent, s.channels, s.msToFrames(1), s.msToFrames(kMostSlackMs));
    if (join) {
        const auto ch = std::size_t(s.channels);
        const std::size_t before = s.frames(s.held);
        s.held.resize(join->keep * ch);
        s.held.insert(s.held.end(), s.recent.begin() + std::ptrdiff_t(join->from * ch),
                      s.recent.end());
        s.framesOut = s.framesOut - before + s.frames(s.held);
    }
    s.surplus += gint64(s.framesOut) - exact;
}

// The end of what was given in: all of it out, and the stretcher empty for what comes next.
GstFlowReturn drain(LurvoTempo* self) {
    Stretch& s = *self->stretch;
    // Nothing taken in since the last drain: no stretcher.
    if (!s.stretching || !s.touch)
        return GST_FLOW_OK;
    GstFlowReturn flow = pushReady(self);
    // The stretcher gives out what it owes only when more comes in after it.
    const std::size_t tailFrames = std::min(s.frames(s.recent), s.msToFrames(kTailMs));
    const float* tail = s.recent.data() + s.recent.size() - tailFrames * std::size_t(s.channels);
    for (int round = 0; round < kMostTailRounds && flow == GST_FLOW_OK && tailFrames > 0 &&
                        s.framesOut < s.framesOwed();
         ++round) {
        s.feed(tail, guint(tailFrames));
        flow = pushReady(self);
    }
    // A segment shorter than the stretcher's window: its flush fills with silence.
    if (flow == GST_FLOW_OK && s.framesOut < s.framesOwed()) {
        s.touch->flush();
        flow = pushReady(self);
    }
    if (flow == GST_FLOW_OK) {
        endOnTheLesson(s);
        flow = pushHeld(self, s.frames(s.held));
    }
    s.touch.reset();
    s.recent.clear();
    s.held.clear();
    return flow;
}

// The lesson position pts is heard at this output time.
GstClockTime outputTime(const Stretch& s, GstClockTime pts) {
    if (!GST_CLOCK_TIME_IS_VALID(pts) || pts <= s.in.start)
        return s.out.start;
    return s.out.start + GstClockTime(double(pts - s.in.start) / s.speed);
}

GstFlowReturn chain(GstPad*, GstObject* parent, GstBuffer* buffer) {
    LurvoTempo* self = asTempo(parent);
    Stretch& s = *self->stretch;
    if (!s.stretching || s.channels == 0)
        return gst_pad_push(self->srcPad, buffer);
    const GstClockTime pts = GST_BUFFER_PTS(buffer);
    if (!s.touch)
        s.renew();
    if (!GST_CLOCK_TIME_IS_VALID(s.firstPts))
        s.firstPts = outputTime(s, pts);
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READ)) {
        gst_buffer_unref(buffer);
        return GST_FLOW_ERROR;
    }
    const auto frames = guint(map.size / (sizeof(float) * gsize(s.channels)));
    s.feed(reinterpret_cast<const float*>(map.data), frames);
    s.keepRecent(reinterpret_cast<const float*>(map.data), frames);
    s.framesIn += frames;
    gst_buffer_unmap(buffer, &map);
    gst_buffer_unref(buffer);
    // The decoder cuts the segment's audio at its stop: the last buffer ends there. Half a
    // sample of slack for the rounding of its timestamps.
    const GstClockTime halfSample = framesToTime(1, s.sampleRate) / 2;
    const bool atStop = s.in.stop != GST_CLOCK_TIME_NONE && GST_CLOCK_TIME_IS_VALID(pts) &&
                        pts + framesToTime(frames, s.sampleRate) + halfSample >= s.in.stop;
    if (s.in.stop != GST_CLOCK_TIME_NONE && GST_CLOCK_TIME_IS_VALID(pts) &&
        pts + framesToTime(frames, s.sampleRate) + GstClockTime(s.recentMs() * GST_MSECOND) >=
            s.in.stop)
        s.holding = true;
    GstFlowReturn flow = pushReady(self);
    if (flow == GST_FLOW_OK && atStop)
        flow = drain(self);
    return flow;
}

bool takeCaps(Stretch& s, GstCaps* caps) {
    GstAudioInfo info;
    if (!gst_audio_info_from_caps(&info, caps) || GST_AUDIO_INFO_CHANNELS(&info) < 1 ||
        GST_AUDIO_INFO_CHANNELS(&info) > kMaxChannels || GST_AUDIO_INFO_RATE(&info) < 1)
        return false;
    s.channels = GST_AUDIO_INFO_CHANNELS(&info);
    s.sampleRate = GST_AUDIO_INFO_RATE(&info);
    s.reset();
    s.surplus = 0;
    return true;
}

// A new segment: the one before is given out whole first. At a rate other than 1 the segment
// sent on plays at 1 and says it was applied, so the sink reports positions in lesson time.
gboolean takeSegment(LurvoTempo* self, GstEvent* event) {
    Stretch& s = *self->stretch;
    drain(self);
    GstSegment segment;
    gst_event_copy_segment(event, &segment);
    s.reset();
    s.stretching = segment.format == GST_FORMAT_TIME && segment.rate > 0 &&
                   std::abs(segment.rate - 1.0) > 1e-9 && s.channels > 0;
    if (!s.stretching)
        return gst_pad_push_event(self->srcPad, event);
    s.speed = segment.rate;
    s.in = segment;
    segment.applied_rate = segment.applied_rate * segment.rate;
    segment.rate = 1.0;
    // A pass may run past its exact length by its slack, and by as much again when the pass
    // before it fell short: the sinks must not cut its last samples off.
    if (segment.stop != GST_CLOCK_TIME_NONE && segment.stop > segment.start)
        segment.stop = segment.start +
                       GstClockTime(double(segment.stop - segment.start) / s.speed) +
                       2 * kMostSlackMs * GST_MSECOND;
    s.out = segment;
    GstEvent* stretched = gst_event_new_segment(&segment);
    gst_event_set_seqnum(stretched, gst_event_get_seqnum(event));
    gst_event_unref(event);
    return gst_pad_push_event(self->srcPad, stretched);
}

gboolean sinkEvent(GstPad* pad, GstObject* parent, GstEvent* event) {
    LurvoTempo* self = asTempo(parent);
    Stretch& s = *self->stretch;
    switch (GST_EVENT_TYPE(event)) {
    case GST_EVENT_CAPS: {
        GstCaps* caps = nullptr;
        gst_event_parse_caps(event, &caps);
        if (!takeCaps(s, caps)) {
            gst_event_unref(event);
            return FALSE;
        }
        break;
    }
    case GST_EVENT_SEGMENT:
        return takeSegment(self, event);
    case GST_EVENT_FLUSH_STOP:
        s.reset();
        s.surplus = 0;
        break;
    case GST_EVENT_EOS:
    case GST_EVENT_SEGMENT_DONE:
        drain(self);
        break;
    case GST_EVENT_GAP:
        if (s.stretching) {
            // Silence in the lesson lasts longer or shorter too.
            GstClockTime timestamp = 0;
            GstClockTime duration = GST_CLOCK_TIME_NONE;
            gst_event_parse_gap(event, &timestamp, &duration);
            const GstClockTime start = outputTime(s, timestamp);
            if (GST_CLOCK_TIME_IS_VALID(duration))
                duration = GstClockTime(double(duration) / s.speed);
            gst_event_unref(event);
            event = gst_event_new_gap(start, duration);
        }
        break;
    default:
        break;
    }
    return gst_pad_event_default(pad, parent, event);
}

GstStateChangeReturn changeState(GstElement* element, GstStateChange transition) {
    const GstStateChangeReturn result = parentClass()->change_state(element, transition);
    if (transition == GST_STATE_CHANGE_PAUSED_TO_READY) {
        Stretch& s = *asTempo(GST_OBJECT(element))->stretch;
        s.reset();
        s.surplus = 0;
        s.stretching = false;
        gst_segment_init(&s.in, GST_FORMAT_UNDEFINED);
        gst_segment_init(&s.out, GST_FORMAT_UNDEFINED);
    }
    return result;
}

void finalize(GObject* object) {
    delete asTempo(GST_OBJECT(object))->stretch;
    G_OBJECT_CLASS(parentClass())->finalize(object);
}

void classInit(gpointer klass, gpointer) {
    G_OBJECT_CLASS(klass)->finalize = &finalize;
    auto* elementClass = GST_ELEMENT_CLASS(klass);
    elementClass->change_state = &changeState;
    gst_element_class_add_static_pad_template(elementClass, &sinkTemplate);
    gst_element_class_add_static_pad_template(elementClass, &srcTemplate);
    gst_element_class_set_static_metadata(
        elementClass, "Lurvo tempo", "Filter/Effect/Audio",
        "Plays audio slower or faster at the same pitch, each segment given out whole",
        "Lurvo Repeater");
}

void instanceInit(GTypeInstance* instance, gpointer) {
    auto* self = reinterpret_cast<LurvoTempo*>(instance);
    self->stretch = new Stretch;
    self->sinkPad = gst_pad_new_from_static_template(&sinkTemplate, "sink");
    self->srcPad = gst_pad_new_from_static_template(&srcTemplate, "src");
    gst_pad_set_chain_function(self->sinkPad, &chain);
    gst_pad_set_event_function(self->sinkPad, &sinkEvent);
    for (GstPad* pad : {self->sinkPad, self->srcPad}) {
        GST_PAD_SET_PROXY_CAPS(pad);
        GST_PAD_SET_PROXY_ALLOCATION(pad);
        gst_element_add_pad(GST_ELEMENT(self), pad);
    }
}

GType tempoType() {
    static const GType type = [] {
        const GTypeInfo info{
            sizeof(LurvoTempoClass), nullptr, nullptr,       &classInit, nullptr, nullptr,
            sizeof(LurvoTempo),      0,       &instanceInit, nullptr};
        return g_type_register_static(GST_TYPE_ELEMENT, "LurvoTempo", &info, GTypeFlags(0));
    }();
    return type;
}

} // namespace

bool registerTempoStretch() {
    return gst_element_register(nullptr, "lurvotempo", GST_RANK_NONE, tempoType());
}

} // namespace lurvo::media
