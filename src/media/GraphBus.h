#pragma once

#include "media/GraphEvent.h"
#include "media/GstHandles.h"
#include "media/MediaResult.h"

#include <QString>

// What the player and the recorder share of their graphs' message queues.
namespace lurvo::media {

// The result an error message of the bus carries.
MediaResult errorResult(GstMessage* error);

// Takes the next waiting message of the pipeline's bus, waiting up to timeoutMs; false when
// none came. An error arrives as kEventErrorAbort with its kind and text.
bool popGraphEvent(GstElement* pipeline, GraphEvent& event, int timeoutMs);

// Waits up to timeout for the pipeline to settle after a state change or a seek. Empty on
// success; else timeoutText, or errorFormat with "%1" replaced by the error's own text.
QString waitForSettled(GstElement* pipeline, GstClockTime timeout, const QString& timeoutText,
                       const QString& errorFormat);

// An error waiting on the pipeline's bus, as errorFormat with "%1" replaced by its own text;
// empty when there is none.
QString pendingBusError(GstElement* pipeline, const QString& errorFormat);

// An element of the pipeline by name; null when there is no pipeline or no such element.
GstElementPtr elementByName(GstElement* pipeline, const char* name);

} // namespace lurvo::media
