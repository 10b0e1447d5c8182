#pragma once

#include <QList>
#include <QString>

namespace lurvo::pronunciation {

// One piece of a sentence as shown: a Chinese character with, when its reading is known, its
// Jyutping syllable; or a bare run of anything else (Latin letters, digits, spaces, punctuation).
struct Piece {
    QString text;     // one character (a surrogate pair is one), or a bare run
    QString syllable; // e.g. "goi1"; empty when there is none
    int tone = 0;     // 1..6, the syllable's last digit; 0 when there is no syllable

    bool operator==(const Piece&) const = default;
};

using Annotation = QList<Piece>;

// The tone of a Jyutping syllable: its last character when that is a digit 1..6, else 0.
inline int toneOf(const QString& syllable) {
    if (syllable.isEmpty())
        return 0;
    const QChar last = syllable.back();
    return last >= QLatin1Char('1') && last <= QLatin1Char('6') ? last.digitValue() : 0;
}

} // namespace lurvo::pronunciation
