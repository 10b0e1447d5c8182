#pragma once

#include "TestFiles.h"

#include "pronunciation/Annotation.h"
#include "pronunciation/DictionaryFile.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <ostream>

namespace lurvo::pronunciation {

inline void PrintTo(const Piece& piece, std::ostream* out) {
    *out << '{' << piece.text.toStdString() << ' ' << piece.syllable.toStdString() << '}';
}

} // namespace lurvo::pronunciation

namespace lurvo::test {

// The syllables of an annotation separated by spaces, "-" for a Chinese character without one,
// a bare run in brackets; so a test reads like the text it checks.
inline QString readingText(const pronunciation::Annotation& annotation) {
    QStringList parts;
    for (const pronunciation::Piece& piece : annotation) {
        if (!piece.syllable.isEmpty())
            parts.append(piece.syllable);
        else if (QChar::script(piece.text.toUcs4().value(0)) == QChar::Script_Han)
            parts.append(QStringLiteral("-"));
        else
            parts.append(QLatin1Char('[') + piece.text + QLatin1Char(']'));
    }
    return parts.join(QLatin1Char(' '));
}

// A dictionary file's bytes: the head, then the entry lines.
inline QByteArray dictionaryFile(const QString& name, const QStringList& lines) {
    return (QStringLiteral("# Rime dictionary\n---\nname: %1\nsort: by_weight\n...\n\n").arg(name) +
            lines.join(QLatin1Char('\n')) + QLatin1Char('\n'))
        .toUtf8();
}

} // namespace lurvo::test
