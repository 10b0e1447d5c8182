#pragma once

#include "pauses/PauseAnalysis.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace lurvo::test {

// How well found sentences meet the true ones: a found start pairs with the true start nearest
// to it, when closer than half the shortest sentence; the rest are missing or extra.
struct Accuracy {
    int truth = 0;      // true sentences
    int within = 0;     // paired, and no further from the truth than the tolerance
    int missing = 0;    // true sentences no found one pairs with
    int extra = 0;      // found sentences pairing with none
    double worstMs = 0; // the largest distance of a pair
    double meanMs = 0;  // the mean signed distance of the pairs (found less true)

    void add(const Accuracy& other);
    double withinShare() const { return truth ? double(within) / truth : 0; }
    double wrongShare() const { return truth ? double(missing + extra) / truth : 0; }
};

// Compares the voice onsets found (or, with `written`, the starts as written, which lead them).
Accuracy compareStarts(const QList<int>& trueStartsMs, const QList<pauses::Span>& found,
                       int toleranceMs, bool written = false);

// The starts of the lines of a lesson's subtitles.
QList<int> subtitleStarts(const QString& lrcPath);

// Runs tools/make-lesson on text into outBase.mp3 and outBase.lrc with these extra arguments;
// empty on success, else what went wrong.
QString makeLesson(const QString& textPath, const QString& outBase, const QStringList& options);

} // namespace lurvo::test
