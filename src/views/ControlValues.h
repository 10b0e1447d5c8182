#pragma once

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
