#pragma once

namespace lurvo::subtitles {

// How subtitle lines group into sentences; the numbers are those stored in the settings.
enum class SentenceMode {
    OneLine = 0,          // every line is a sentence
    TwoLinesOddHead = 1,  // lines 1+2, 3+4, ... (1-based)
    TwoLinesEvenHead = 2, // line 1 alone, then 2+3, 4+5, ...
};

// The stored setting as a mode; values out of range read as OneLine.
constexpr SentenceMode sentenceModeFromSetting(int value) {
    return value == 1   ? SentenceMode::TwoLinesOddHead
           : value == 2 ? SentenceMode::TwoLinesEvenHead
                        : SentenceMode::OneLine;
}

struct SentenceOfLine {
    int sentence = 0; // 1-based
    bool isHead = false;
    bool operator==(const SentenceOfLine&) const = default;
};

struct LineRange {
    int first = 0; // 0-based line indexes, inclusive
    int last = 0;
    bool operator==(const LineRange&) const = default;
};

} // namespace lurvo::subtitles
