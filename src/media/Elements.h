#pragma once

#include "media/GstHandles.h"
#include "media/MediaResult.h"

#include <QByteArray>

#include <span>

namespace lurvo::media {

// Initialises GStreamer once for the process, before anything of it is used.
void ensureGstInitialized();

// Makes a GStreamer element under a name; a missing plug-in is reported in `result`.
GstElement* makeElement(const char* factory, const char* name, MediaResult& result);

// Links the elements one after another; the first pair that will not link is named in the
// failure.
MediaResult linkChain(std::span<GstElement* const> chain);

// The two MP3 parse chains, each a bin named "mp3Parser" with one sink and one source pad.
//  - Secondary: id3demux ! mpegaudioparse. The ID3v2 tag is taken off before the parser sees
//    the stream, so seeks land exactly even behind a large tag (bare mpegaudioparse misses by
//    about 0.8 s there).
//  - Mpeg1: parsebin, which finds the stream type and plugs its own demuxer and parser; a chain
//    of other elements, so that a file one chain refuses can still play through the other.
enum class ParserKind { Mpeg1, Secondary };
GstElement* makeParserStage(ParserKind kind, MediaResult& result);

// The default audio output as a new sink element, or null when no sound server or device can
// be opened (an automatic choice that would fall back to a silent sink counts as none).
GstElementPtr FindDefaultAudioRenderer();

// An element from a gst-launch description such as "fakesink sync=true", named `name`.
GstElement* makeElementFromDescription(const QByteArray& description, const char* name,
                                       MediaResult& result);

} // namespace lurvo::media
