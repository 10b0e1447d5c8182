#pragma once

#include <QColor>
#include <QString>

namespace lurvo::views {

inline constexpr int kToneCount = 6;

// The colour of a Jyutping syllable of `tone` (1 to 6). The six stay apart for red-green
// colour-blind eyes and read on white, the list's light green and black alike; the tone number
// at the syllable's end says it again for those who cannot tell them apart. A syllable without a
// tone (0) or anything out of range takes `text`, the colour of the characters.
QColor toneColour(int tone, const QColor& text);

// The six colours with a syllable of each tone and its name, as rich text for a tooltip.
QString toneLegend();

} // namespace lurvo::views
