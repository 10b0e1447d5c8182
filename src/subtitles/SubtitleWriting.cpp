#include "subtitles/SubtitleWriting.h"

#include "platform/FileOps.h"
#include "subtitles/TimeText.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <limits>

namespace lurvo::subtitles {

namespace {

// errno as the failing call left it. Qt refuses some paths before any system call fails, and
// then leaves errno at 0: those get the likeliest cause.
int failureCode(int callErrno, const QString& path) {
    if (callErrno != 0)
        return callErrno;
    const QFileInfo info(path);
    if (info.isDir())
        return EISDIR;
    if (info.exists() && !info.isWritable())
        return EACCES;
    return EIO;
}

QString tagText(std::int64_t fileMs) {
    return u'[' +
           formatLrcTime(
               int(std::clamp<std::int64_t>(fileMs, 0, std::numeric_limits<int>::max()))) +
           u']';
}

// A text written into a line of the file: a line break would split the record.
QString oneLine(const QString& text) {
    QString line = text;
    for (QChar& c : line) {
        if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    return line;
}

QStringEncoder encoderFor(const LrcEncoding& encoding) {
    switch (encoding.kind) {
    case LrcEncoding::Kind::Utf16LE:
        return QStringEncoder(QStringEncoder::Utf16LE);
    case LrcEncoding::Kind::Utf16BE:
        return QStringEncoder(QStringEncoder::Utf16BE);
    case LrcEncoding::Kind::Legacy:
        return QStringEncoder(encoding.legacyName.constData(), QStringEncoder::Flag::Stateless);
    case LrcEncoding::Kind::Utf8:
        break;
    }
    return QStringEncoder(QStringEncoder::Utf8);
}

// The lines of the file that replace one timed source line whose lines were edited. A change of
// time only stays on the line; an edited text takes a line of its own in that place, and the tags
// whose text is unchanged keep the line as it was, word tags and all.
QStringList rewrittenLine(const SubtitleDocument& doc, const SourceLine& source,
                          const QList<const SubtitleLine*>& byTag) {
    const QString original = SubtitleDocument::shownText(source);
    const QStringView text = source.text;
    const auto tag = [&](int j) {
        const SubtitleLine& line = *byTag[j];
        return doc.fileTimeOf(line) == source.tags[j].fileMs
                   ? text.sliced(source.tags[j].begin, source.tags[j].end - source.tags[j].begin)
                         .toString()
                   : tagText(doc.fileTimeOf(line));
    };
    QStringList parts;
    QString kept;
    int keptAt = -1;
    for (int j = 0; j < byTag.size(); ++j) {
        if (byTag[j]->text == original) {
            if (keptAt < 0) {
                keptAt = int(parts.size());
                parts.append(QString());
            }
            kept += tag(j);
        } else {
            parts.append(tag(j) + oneLine(byTag[j]->text));
        }
    }
    if (keptAt >= 0)
        parts[keptAt] = kept + text.sliced(source.textBegin).toString();
    parts.first().prepend(text.first(source.tags.first().begin));
    return parts;
}

} // namespace

std::int64_t SubtitleDocument::fileTimeOf(const SubtitleLine& line) const {
    return std::int64_t(line.startMs) + fileOffsetMs + appliedOffsetMs;
}

bool SubtitleDocument::isEdited(const SubtitleLine& line) const {
    if (line.sourceLine < 0 || line.sourceLine >= source.lines.size())
        return true;
    const SourceLine& from = source.lines[line.sourceLine];
    if (line.sourceTag < 0 || line.sourceTag >= from.tags.size())
        return true;
    return fileTimeOf(line) != from.tags[line.sourceTag].fileMs || line.text != shownText(from);
}

QByteArray lrcFileBytes(const SubtitleDocument& doc, int first, int last, std::int64_t baseMs) {
    QString text;
    text.reserve(1 + doc.header.size() + std::max(0, last - first + 1) * 32);
    text += QChar(QChar::ByteOrderMark);
    text += doc.header;
    for (int i = first; i <= last; ++i) {
        const SubtitleLine& line = doc.line(i);
        text += tagText(doc.fileTimeOf(line) - baseMs);
        text += line.text;
        text += u"\r\n";
    }
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    qToLittleEndian<quint16>(text.utf16(), text.size(), bytes.data());
    return bytes;
}

EditedFile editedFileBytes(const SubtitleDocument& doc) {
    const LrcSource& source = doc.source;
    // The document's lines by the file line and tag they came from.
    QList<QList<const SubtitleLine*>> byLine(source.lines.size());
    for (qsizetype k = 0; k < source.lines.size(); ++k)
        byLine[k].resize(source.lines[k].tags.size());
    QList<bool> edited(source.lines.size(), false);
    for (const SubtitleLine& line : doc.lines) {
        byLine[line.sourceLine][line.sourceTag] = &line;
        if (doc.isEdited(line))
            edited[line.sourceLine] = true;
    }
    // New lines within a rewritten one end as the file's lines do.
    LineEnd fileEnd = LineEnd::CrLf;
    for (const SourceLine& line : source.lines) {
        if (line.end != LineEnd::None) {
            fileEnd = line.end;
            break;
        }
    }
    const auto rewritten = [&](qsizetype k) {
        const SourceLine& line = source.lines[k];
        const LineEnd end = line.end == LineEnd::None ? fileEnd : line.end;
        return rewrittenLine(doc, line, byLine[k]).join(lineEndText(end));
    };

    EditedFile file;
    const QByteArray& bytes = source.bytes;
    QStringEncoder encoder = encoderFor(source.encoding);
    file.bytes = bytes.first(source.encoding.signatureBytes);
    for (qsizetype k = 0; k < source.lines.size(); ++k) {
        const SourceLine& line = source.lines[k];
        if (!edited[k]) {
            file.bytes += bytes.sliced(line.byteBegin, line.byteNext - line.byteBegin);
            continue;
        }
        file.bytes += QByteArray(encoder.encode(rewritten(k)));
        file.bytes += bytes.sliced(line.byteEnd, line.byteNext - line.byteEnd);
    }
    file.bytes += bytes.sliced(source.dataEnd);
    if (!encoder.hasError())
        return file;

    // The file's 8-bit encoding cannot hold the new text: the whole file becomes UTF-8, which
    // holds every character, with a signature so that no reader takes it for anything else.
    file.bytes = QByteArray("\xEF\xBB\xBF");
    for (qsizetype k = 0; k < source.lines.size(); ++k) {
        const SourceLine& line = source.lines[k];
        file.bytes += (edited[k] ? rewritten(k) : line.text).toUtf8();
        file.bytes += lineEndText(line.end).toLatin1();
    }
    file.bytes += bytes.sliced(source.dataEnd);
    file.convertedToUtf8 = true;
    return file;
}

int replaceFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    errno = 0;
    // Unbuffered: the one write goes to the disk at once, so it is the call that fails.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failureCode(errno, path);
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        // A short write (a full disk, a file size limit) is no error to QSaveFile, which would
        // commit the truncated file.
        const int code = failureCode(errno, path);
        file.cancelWriting();
        return code;
    }
    errno = 0;
    if (!file.commit())
        return failureCode(errno, path);
    return 0;
}

int SubtitleDocument::save() {
    if (!modified)
        return 0;
    // A read-only lesson file is saved all the same; a missing one has nothing to clear.
    platform::makeWritable(path);
    // A document read from a file keeps every byte the learner did not change; one made
    // otherwise has only its lines to write.
    qsizetype tags = 0;
    for (const SourceLine& line : source.lines)
        tags += line.tags.size();
    const bool fromFile = source.fromFile && tags == lines.size() &&
                          std::all_of(lines.begin(), lines.end(), [&](const SubtitleLine& l) {
                              return l.sourceLine >= 0 && l.sourceLine < source.lines.size() &&
                                     l.sourceTag >= 0 &&
                                     l.sourceTag < source.lines[l.sourceLine].tags.size();
                          });
    EditedFile file;
    if (fromFile)
        file = editedFileBytes(*this);
    else
        file.bytes = lrcFileBytes(*this, 0, lineCount() - 1, 0);
    const int result = replaceFile(path, file.bytes);
    if (result == 0) {
        modified = false;
        convertedToUtf8 = file.convertedToUtf8;
        cueFile.clear();
    }
    return result;
}

int SubtitleDocument::writeRange(int first, int last, const QString& targetPath) const {
    platform::makeWritable(targetPath);
    const std::int64_t baseMs = first <= last ? line(first).startMs : 0;
    return replaceFile(targetPath, lrcFileBytes(*this, first, last, baseMs));
}

} // namespace lurvo::subtitles
