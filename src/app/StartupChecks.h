#pragma once

#include <QString>

#include <functional>

namespace lurvo::app {

// The repair and splitting programs must be there: beside the program, else on PATH.
bool CheckRequiredFiles(const QString& resourceFolder);

// The GStreamer elements of the playback graph. -1 when the decoder or the parse chain tried
// first is missing, 0 when the other parse chain or the file source is, 1 when all are there.
// `hasElement` answers whether a factory of that name is installed.
int CheckMediaComponents(const std::function<bool(const char*)>& hasElement);
int CheckMediaComponents();

} // namespace lurvo::app
