#pragma once

#include <QString>
#include <QStringView>

// The arithmetic behind the panels' controls, kept apart from the widgets.
namespace lurvo::views {

// The volume slider runs from 1 to 100 on a logarithmic scale: each tenfold step of the
// position is 50 dB, so the top half of the slider covers only the loudest 15 dB.
inline constexpr int kSliderMin = 1;
inline constexpr int kSliderMax = 100;

// The slider position showing a volume in hundredths of a decibel (-10000 to 0), truncated.
int sliderPositionForVolume(int volume);
// The volume a slider position sets, truncated toward zero.
int volumeForSliderPosition(int position);

// The passes per sentence read from the repeat-count entry: an unsigned decimal number, 0 for
// anything else, then taken as a signed 32-bit number and clamped to 0..9.
int repeatCountFromText(QStringView text);

// The speed as shown beside the repeat count, "1.00×".
QString speedText(int percent);

// The entries of the wait box, in order: no wait, 1 to 10 seconds, then 0.5, 1, 1.5 and 2 times
// the sentence's length. Each stands for a wait mode (0 none, 1 seconds, 2 percent of the
// sentence) and its value.
struct GapChoice {
    int mode = 0;
    int value = 0;
    bool operator==(const GapChoice&) const = default;
};
int gapChoiceCount();
GapChoice gapChoiceAt(int index);
// The entry of a mode and value; the first (no wait) for any pair that has none.
int gapChoiceIndex(int mode, int value);
QString gapChoiceText(int index);

// How the list scrolls to keep the current sentence (rows first..last) in view, given the
// topmost visible row and how many whole rows fit: page-wise in the direction of travel.
enum class ListScroll {
    None,        // the sentence is fully in view
    EnsureFirst, // at most one row fits: show the first row, scrolling as little as needed
    EndAtBottom, // the sentence lies above: to the very top, then show its last row
    StartAtTop,  // the sentence lies at or below the bottom edge: to the very end, then
                 // show its first row
};
ListScroll listScrollFor(int first, int last, int topRow, int visibleRows);

} // namespace lurvo::views
