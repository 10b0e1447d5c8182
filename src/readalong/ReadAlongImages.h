#pragma once

#include <QIcon>

namespace lurvo::readalong {

// The read-along toolbar's eight pictures, 50 by 32 pixels, in the order of its buttons.
enum class ReadAlongImage {
    Previous,
    Next,
    PlayLesson,
    PlayRecording,
    PlayBoth,
    Record,
    Pitch,
    Exit
};

// The picture in its normal look, or in the look it takes while a recording runs: a red band
// along the bottom, and a stop square in place of the record dot.
QIcon readAlongIcon(ReadAlongImage image, bool recordingLook);

} // namespace lurvo::readalong
