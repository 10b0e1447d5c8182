#include "media/MediaPlayer.h"

#include "media/GraphBus.h"
#include "media/LengthScan.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <optional>

namespace lurvo::media {

namespace {

// How long Open waits for the graph to preroll.
constexpr GstClockTime kPrerollTimeout = 5 * GST_SECOND;
// Without a set latency a flushing seek while playing loses the first milliseconds of audio at
// the target, so every repeated sentence would lose the onset of its first syllable.
constexpr GstClockTime kPipelineLatency = 20 * GST_MSECOND;
// How long a seek may take to land before positions are read again.
constexpr GstClockTime kSeekTimeout = 2 * GST_SECOND;
// Playing, the audio must move on by kProgressStepMs at least every kStallMs, or the graph
// counts as stalled. After a seek the audio moves on within 100 ms; a rebuild takes about 50,
// so a learner hears the sentence within half a second of a key even when the sink stalls.
constexpr qint64 kStallMs = 200;
constexpr std::int64_t kProgressStepMs = 40;

GstMessagePtr firstError(GstBus* bus) {
    return GstMessagePtr(gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR));
}

bool isMp3(GstElement* decoder) {
    GstPadPtr pad(gst_element_get_static_pad(decoder, "sink"));
    GstCapsPtr caps(pad ? gst_pad_get_current_caps(pad.get()) : nullptr);
    if (!caps || gst_caps_is_empty(caps.get()))
        return false;
    const GstStructure* s = gst_caps_get_structure(caps.get(), 0);
    int version = 0;
    int layer = 0;
    return gst_structure_has_name(s, "audio/mpeg") &&
           gst_structure_get_int(s, "mpegversion", &version) && version == 1 &&
           gst_structure_get_int(s, "layer", &layer) && layer == 3;
}

} // namespace

// Shared by the player and GStreamer's threads, which join the queued pass on when a segment
// ends: done there, the next pass is asked for about 100 ms before the last one is heard out,
// whatever the window's event loop is busy with.
struct SegmentLink {
    struct Pass {
        std::int64_t startNs;
        std::int64_t stopNs; // -1: the file's end
        int tag;
    };
    std::mutex mutex;
    unsigned generation = 0; // every flushing seek starts a new one: older segment ends are stale
    bool active = false;     // the graph plays a segment, not on to the end
    std::int64_t stopNs = -1;
    std::optional<Pass> queued;
    double rate = 1.0;
    std::atomic<int> joins{0};
    std::atomic<int> lastTag{-1};
    std::atomic<bool> done{false};
};

namespace {

// A seek's stop: "none" must be said, or the stop of the segment before stays in force.
gint64 stopOrEnd(std::int64_t stopNs) {
    return stopNs < 0 ? gint64(GST_CLOCK_TIME_NONE) : stopNs;
}

struct JoinRequest {
    std::shared_ptr<SegmentLink> link;
    unsigned generation;
};

// In GStreamer's thread pool: a segment ended; the queued pass follows without a flush, so it
// is heard right after the last sample of the one before.
void joinQueuedPass(GstElement* pipeline, gpointer data) {
    const auto* request = static_cast<const JoinRequest*>(data);
    SegmentLink& link = *request->link;
    std::lock_guard lock(link.mutex);
    if (request->generation != link.generation || !link.active)
        return;
    if (!link.queued) {
        link.done = true;
        return;
    }
    const SegmentLink::Pass next = *link.queued;
    link.queued.reset();
    link.stopNs = next.stopNs;
    // Told before the seek: with little audio buffered the joined pass can be heard, and the
    // position read back at its start, before the seek call returns.
    link.lastTag = next.tag;
    ++link.joins;
    if (!gst_element_seek(pipeline, link.rate, GST_FORMAT_TIME,
                          GstSeekFlags(GST_SEEK_FLAG_ACCURATE | GST_SEEK_FLAG_SEGMENT),
                          GST_SEEK_TYPE_SET, next.startNs, GST_SEEK_TYPE_SET,
                          stopOrEnd(next.stopNs)))
        link.done = true; // the owner goes on from a seek of its own
}

} // namespace

MediaPlayer::MediaPlayer(QByteArray rendererDescription)
    : link_(std::make_shared<SegmentLink>()), rendererDescription_(std::move(rendererDescription)) {
    ensureGstInitialized();
}

MediaPlayer::~MediaPlayer() {
    Close();
}

MediaResult MediaPlayer::Open(const QString& path, QObject* notify, ParserOrder order) {
    Close();
    notify_ = notify;
    const ParserKind first =
        order == ParserOrder::SecondaryFirst ? ParserKind::Secondary : ParserKind::Mpeg1;
    const ParserKind second =
        first == ParserKind::Secondary ? ParserKind::Mpeg1 : ParserKind::Secondary;
    parser_ = first;
    MediaResult result = build(path, first);
    if (!result.ok()) {
        parser_ = second;
        result = build(path, second);
    }
    if (result.ok())
        path_ = path;
    return result;
}

MediaResult MediaPlayer::build(const QString& path, ParserKind parser, std::int64_t knownLengthNs) {
    MediaResult result;
    GstElementPtr pipeline = adoptElement(gst_pipeline_new("player"));
    GstElementPtr renderer;
    if (rendererDescription_.isEmpty())
        renderer = FindDefaultAudioRenderer();
    else
        renderer =
            adoptElement(makeElementFromDescription(rendererDescription_, "renderer", result));
    if (!renderer && result.ok())
        result = MediaResult::noAudioHardware();
    GstElement* chain[] = {
        makeElement("filesrc", "source", result),
        makeParserStage(parser, result),
        makeElement("mpg123audiodec", "decoder", result),
        makeElement("audioconvert", "convert", result),
        makeElement("lurvotempo", "tempo", result),
        makeElement("audiopanorama", "balance", result),
        makeElement("volume", "volume", result),
        makeElement("audioconvert", "convertOut", result),
        makeElement("audioresample", "resample", result),
        renderer.get(),
    };
    for (GstElement* e : chain)
        if (e)
            gst_bin_add(GST_BIN(pipeline.get()), e);
    if (!result.ok())
        return result;
    if (const MediaResult linked = linkChain(chain); !linked.ok())
        return linked;

    GstElement* source = chain[0];
    g_object_set(source, "location", QFile::encodeName(path).constData(), nullptr);
    gst_util_set_object_arg(G_OBJECT(chain[5]), "method", "simple");
    // The tempo stage works in floats: made integers again for the output, silence stays
    // silence and a muted channel stays muted, with no dither noise.
    gst_util_set_object_arg(G_OBJECT(chain[7]), "dithering", "none");
    gst_pipeline_set_latency(GST_PIPELINE(pipeline.get()), kPipelineLatency);

    const auto fail = [&](MediaResult failure) {
        gst_element_set_state(pipeline.get(), GST_STATE_NULL);
        return failure;
    };
    GstBusPtr bus(gst_element_get_bus(pipeline.get()));
    gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
    const GstStateChangeReturn prerolled =
        gst_element_get_state(pipeline.get(), nullptr, nullptr, kPrerollTimeout);
    if (GstMessagePtr error = firstError(bus.get()))
        return fail(errorResult(error.get()));
    if (prerolled == GST_STATE_CHANGE_FAILURE)
        return fail(
            MediaResult::failure(MediaError::StateChange,
                                 QCoreApplication::translate("MediaPlayer", "无法打开音频文件。")));
    if (prerolled == GST_STATE_CHANGE_ASYNC)
        return fail(MediaResult::failure(
            MediaError::Timeout, QCoreApplication::translate("MediaPlayer", "打开音频文件超时。")));
    // A WAV or other file renamed .mp3 can preroll on a false frame sync: insist on layer 3.
    if (!isMp3(chain[2]))
        return fail(MediaResult::failure(
            MediaError::NotMp3, QCoreApplication::translate("MediaPlayer", "文件不是 MP3 音频。")));
    gint64 lengthNs = -1;
    std::int64_t scanned = -1;
    if (!gst_element_query_duration(pipeline.get(), GST_FORMAT_TIME, &lengthNs) || lengthNs <= 0) {
        // Files without a Xing or Info header do not tell their length before playing.
        scanned = knownLengthNs > 0 ? knownLengthNs : scanLengthNs(path, parser);
        if (scanned <= 0)
            return fail(MediaResult::failure(
                MediaError::UnknownDuration,
                QCoreApplication::translate("MediaPlayer", "无法确定音频的长度。")));
    }
    gst_bus_set_flushing(bus.get(), TRUE); // what prerolling said is of no further use
    gst_bus_set_flushing(bus.get(), FALSE);
    gst_bus_set_sync_handler(bus.get(), &MediaPlayer::onBusMessage, this, nullptr);

    pipeline_ = std::move(pipeline);
    panorama_ = chain[5];
    volume_ = chain[6];
    scannedLengthNs_ = scanned;
    endOfStream_ = false;
    applyMix();
    return MediaResult::success();
}

void MediaPlayer::teardown() {
    if (!pipeline_)
        return;
    {
        std::lock_guard lock(link_->mutex);
        ++link_->generation; // segment ends still on their way belong to this graph
    }
    GstBusPtr bus(gst_element_get_bus(pipeline_.get()));
    gst_bus_set_sync_handler(bus.get(), nullptr, nullptr, nullptr);
    gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
    pipeline_.reset();
    volume_ = nullptr;
    panorama_ = nullptr;
    playing_ = false;
    progressClock_.invalidate();
    progressAnchorMs_ = -1;
}

void MediaPlayer::Close() {
    teardown();
    notify_ = nullptr;
    path_.clear();
    scannedLengthNs_ = -1;
    rebuildFailure_.reset();
    std::lock_guard lock(link_->mutex);
    link_->active = false;
    link_->queued.reset();
    link_->done = false;
}

GstBusSyncReply MediaPlayer::onBusMessage(GstBus*, GstMessage* message, gpointer self) {
    auto* player = static_cast<MediaPlayer*>(self);
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
        // Queued for the owner, who is told to look.
        if (player->notify_ != nullptr)
            QCoreApplication::postEvent(player->notify_, new QEvent(kGraphNotifyEvent));
        return GST_BUS_PASS;
    case GST_MESSAGE_EOS:
        player->endOfStream_ = true;
        return GST_BUS_DROP;
    case GST_MESSAGE_SEGMENT_DONE: {
        // Seeking from the streaming thread that posts this would deadlock on its own task.
        unsigned generation = 0;
        {
            std::lock_guard lock(player->link_->mutex);
            generation = player->link_->generation;
        }
        gst_element_call_async(player->pipeline_.get(), &joinQueuedPass,
                               new JoinRequest{player->link_, generation},
                               [](gpointer data) { delete static_cast<JoinRequest*>(data); });
        return GST_BUS_DROP;
    }
    default:
        // Owners act on errors only; keeping the rest would only make them wait on the queue.
        return GST_BUS_DROP;
    }
}

MediaResult MediaPlayer::setState(GstState state) {
    if (!pipeline_)
        return MediaResult::failure(MediaError::StateChange,
                                    QCoreApplication::translate("MediaPlayer", "没有打开的音频。"));
    if (gst_element_set_state(pipeline_.get(), state) == GST_STATE_CHANGE_FAILURE)
        return MediaResult::failure(
            MediaError::StateChange,
            QCoreApplication::translate("MediaPlayer", "音频状态切换失败。"));
    return MediaResult::success();
}

MediaResult MediaPlayer::Play() {
    MediaResult result = setState(GST_STATE_PLAYING);
    playing_ = result.ok();
    progressClock_.invalidate(); // a fresh start gets the full time to begin
    progressAnchorMs_ = -1;
    return result;
}
MediaResult MediaPlayer::Pause() {
    playing_ = false;
    return setState(GST_STATE_PAUSED);
}
MediaResult MediaPlayer::Stop() {
    return Pause();
}

std::int64_t MediaPlayer::LengthMs() const {
    if (!pipeline_)
        return 0;
    if (scannedLengthNs_ >= 0)
        return scannedLengthNs_ / std::int64_t(GST_MSECOND);
    gint64 ns = 0;
    if (!gst_element_query_duration(pipeline_.get(), GST_FORMAT_TIME, &ns) || ns < 0)
        return 0;
    return ns / std::int64_t(GST_MSECOND);
}

std::int64_t MediaPlayer::PositionMs() const {
    gint64 ns = 0;
    if (!pipeline_ || !gst_element_query_position(pipeline_.get(), GST_FORMAT_TIME, &ns) || ns < 0)
        return 0;
    return ns / std::int64_t(GST_MSECOND);
}

bool MediaPlayer::RecoverStall() {
    // A pass that ended with nothing queued leaves the graph silent on purpose.
    if (!pipeline_ || !playing_ || endOfStream_ || link_->done) {
        progressClock_.invalidate();
        return false;
    }
    // A joined pass starts again from its sentence's start, and the position stands there
    // while the last pass's end is still heard: the time to move on counts from the join.
    if (const int joins = link_->joins; joins != joinsSeen_) {
        joinsSeen_ = joins;
        seekedSinceCheck_ = true;
        progressClock_.start();
    }
    gint64 ns = -1;
    const bool known = gst_element_query_position(pipeline_.get(), GST_FORMAT_TIME, &ns) && ns >= 0;
    const std::int64_t positionMs = known ? ns / std::int64_t(GST_MSECOND) : -1;
    // Only audio heard counts as moving on: the position some way past where it stood after
    // the last seek or the last step. A seek proves nothing, as the stalled sink takes seeks
    // and still plays nothing; a position wobbling in place is no progress either.
    if (known && (progressAnchorMs_ < 0 || seekedSinceCheck_))
        progressAnchorMs_ = positionMs;
    seekedSinceCheck_ = false;
    // The joined pass is heard from its sentence's start: the position went back a long way
    // by itself, which a stuck sink never does. Counted from the end of the last pass instead,
    // the sentence would have to be heard almost through before the audio counted as moving.
    if (known && positionMs + kProgressStepMs <= progressAnchorMs_) {
        progressClock_.start();
        progressAnchorMs_ = positionMs;
        return false;
    }
    if (!progressClock_.isValid() || (known && positionMs >= progressAnchorMs_ + kProgressStepMs)) {
        progressClock_.start();
        if (known)
            progressAnchorMs_ = positionMs;
        return false;
    }
    if (progressClock_.elapsed() <= kStallMs)
        return false;
    // The audio sink now and then stops for good after a flushing seek while playing: still
    // PLAYING, no error, the position stuck or wobbling in place, and neither seeking nor
    // pausing sets it going. A new graph, with a new stream on the sound server, does.
    rebuildAt(known ? positionMs : std::max<std::int64_t>(progressAnchorMs_, 0));
    return true;
}

void MediaPlayer::rebuildAt(std::int64_t positionMs) {
    ++stallRecoveries_;
    const QString path = path_;
    const std::int64_t lengthNs = scannedLengthNs_;
    teardown();
    const MediaResult built = build(path, parser_, lengthNs);
    if (!built.ok()) {
        // The owner hears of it as of any error that stopped playback.
        rebuildFailure_ = GraphEvent{kEventErrorAbort, built.error, built.message};
        if (notify_ != nullptr)
            QCoreApplication::postEvent(notify_, new QEvent(kGraphNotifyEvent));
        return;
    }
    const SeekLanding landing = seekAndWait(positionMs);
    playing_ = setState(GST_STATE_PLAYING).ok();
    progressClock_.start();
    progressAnchorMs_ = landing.targetMs;
}

MediaPlayer::SeekLanding MediaPlayer::seekAndWait(std::int64_t ms) {
    // Never before the start nor at the very end: a line moved before 0 by an offset starts at
    // 0, and the furthest target is the last millisecond.
    const std::int64_t target =
        std::clamp<std::int64_t>(ms, 0, std::max<std::int64_t>(0, LengthMs() - 1));
    bool segment = false;
    std::int64_t stopNs = -1;
    {
        std::lock_guard lock(link_->mutex);
        ++link_->generation;
        segment = link_->active;
        if (segment && link_->stopNs >= 0)
            stopNs = std::max(link_->stopNs, (target + 1) * std::int64_t(GST_MSECOND));
    }
    // The rate travels in every seek: the tempo stage plays the lesson at it. A pass is a segment,
    // so that it ends by itself, in time, where its sentence ends.
    const auto flags = GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE |
                                    (segment ? GST_SEEK_FLAG_SEGMENT : 0));
    gst_element_seek(pipeline_.get(), rate_, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET,
                     target * GST_MSECOND, GST_SEEK_TYPE_SET, stopOrEnd(stopNs));
    // Let the seek land, so that the position read next is the new one.
    const bool landed = gst_element_get_state(pipeline_.get(), nullptr, nullptr, kSeekTimeout) !=
                        GST_STATE_CHANGE_ASYNC;
    return {target, landed};
}

void MediaPlayer::SeekMs(int ms) {
    if (!pipeline_)
        return;
    {
        std::lock_guard lock(link_->mutex);
        link_->active = false; // on to the end, as before passes
        link_->queued.reset();
        link_->done = false;
    }
    seekOrRebuild(ms);
}

void MediaPlayer::seekOrRebuild(std::int64_t ms) {
    endOfStream_ = false;
    seekedSinceCheck_ = true;
    // A seek that has not landed in time has a sink that will not preroll: no further seek may
    // pile onto it.
    const SeekLanding landing = seekAndWait(ms);
    if (!landing.landed && playing_)
        rebuildAt(landing.targetMs);
}

void MediaPlayer::PlaySegment(int startMs, int stopMs) {
    if (!pipeline_)
        return;
    {
        std::lock_guard lock(link_->mutex);
        link_->active = true;
        link_->stopNs = stopMs < 0 ? -1 : std::int64_t(stopMs) * std::int64_t(GST_MSECOND);
        link_->queued.reset();
        link_->done = false;
    }
    seekOrRebuild(startMs);
}

void MediaPlayer::QueueSegment(int startMs, int stopMs, int tag) {
    std::lock_guard lock(link_->mutex);
    if (startMs < 0) {
        link_->queued.reset();
        return;
    }
    link_->queued = SegmentLink::Pass{
        std::int64_t(startMs) * std::int64_t(GST_MSECOND),
        stopMs < 0 ? -1 : std::int64_t(std::max(stopMs, startMs + 1)) * std::int64_t(GST_MSECOND),
        tag};
}

int MediaPlayer::SegmentJoins() const {
    return link_->joins;
}

int MediaPlayer::LastJoinTag() const {
    return link_->lastTag;
}

bool MediaPlayer::SegmentDone() const {
    return link_->done;
}

void MediaPlayer::SetRate(double rate) {
    rate = std::clamp(rate, 0.5, 2.0);
    if (rate == rate_)
        return;
    rate_ = rate;
    {
        std::lock_guard lock(link_->mutex);
        link_->rate = rate;
        // A pass heard out waits in silence: the next one starts at the new rate anyway.
        if (link_->done)
            return;
    }
    if (!pipeline_)
        return;
    // From where it is heard, to the same end, with the same pass to follow.
    seekOrRebuild(PositionMs());
}

bool MediaPlayer::IsAtEnd() const {
    if (!pipeline_ || endOfStream_)
        return true;
    gint64 ns = 0;
    if (!gst_element_query_position(pipeline_.get(), GST_FORMAT_TIME, &ns) || ns < 0)
        return true;
    return ns / std::int64_t(GST_MSECOND) >= LengthMs();
}

MediaResult MediaPlayer::SetVolume(int volume) {
    if (!volume_)
        return MediaResult::failure(MediaError::StateChange,
                                    QCoreApplication::translate("MediaPlayer", "没有打开的音频。"));
    volumeValue_ = std::clamp(volume, -10000, 0);
    applyMix();
    return MediaResult::success();
}

void MediaPlayer::SetChannel(int channel) {
    if (!panorama_)
        return;
    channelValue_ = channel;
    applyMix();
}

// Volume and balance as last set, also on a graph built anew.
void MediaPlayer::applyMix() {
    if (volume_) {
        const double gain = volumeValue_ <= -10000 ? 0.0 : std::pow(10.0, volumeValue_ / 2000.0);
        g_object_set(volume_, "volume", gain, nullptr);
    }
    if (panorama_) {
        const float balance = channelValue_ == 1 ? -1.0f : channelValue_ == 2 ? 1.0f : 0.0f;
        g_object_set(panorama_, "panorama", balance, nullptr);
    }
}

bool MediaPlayer::GetEvent(GraphEvent& event, int timeoutMs) {
    if (rebuildFailure_) {
        event = *rebuildFailure_;
        rebuildFailure_.reset();
        return true;
    }
    return popGraphEvent(pipeline_.get(), event, timeoutMs);
}

GstElementPtr MediaPlayer::element(const char* name) const {
    return elementByName(pipeline_.get(), name);
}

} // namespace lurvo::media
