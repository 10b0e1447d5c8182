#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>

// A subtitle file as it was read, kept so that saving can rewrite only what was edited and copy
// every other byte as it stands.
namespace lurvo::subtitles {

// How a subtitle file's text is stored.
struct LrcEncoding {
    enum class Kind { Utf16LE, Utf16BE, Utf8, Legacy };
    Kind kind = Kind::Utf8;
    QByteArray legacyName;        // the 8-bit encoding of a Legacy file
    qsizetype signatureBytes = 0; // byte-order mark or UTF-8 signature before the text
};

// What ends a line in the file.
enum class LineEnd : quint8 { None, Cr, Lf, CrLf };
QStringView lineEndText(LineEnd end);

// A time tag as it stands on its line.
struct SourceTag {
    qsizetype begin = 0; // the '[' within the line's text
    qsizetype end = 0;   // just after the ']'
    std::int32_t fileMs = 0;
};

// One line of the file.
struct SourceLine {
    QString text; // decoded, without its line end
    LineEnd end = LineEnd::None;
    qsizetype byteBegin = 0; // its bytes in the file, without the line end
    qsizetype byteEnd = 0;
    qsizetype byteNext = 0;  // just after its line end
    QList<SourceTag> tags;   // a timed line's time tags, in file order; empty otherwise
    qsizetype textBegin = 0; // where a timed line's text starts, after its tags
};

struct LrcSource {
    bool fromFile = false; // false for text handed to the parser directly
    QByteArray bytes;      // the whole file
    LrcEncoding encoding;
    qsizetype dataEnd =
        0; // where the text ends (at a zero); the bytes after it are kept as they are
    QList<SourceLine> lines;
};

} // namespace lurvo::subtitles
