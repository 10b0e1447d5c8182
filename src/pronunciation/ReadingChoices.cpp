#include "pronunciation/ReadingChoices.h"

#include "subtitles/OffsetStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>
#include <tuple>

namespace lurvo::pronunciation {

namespace {

// Far larger than any lesson's choices; a bigger file is not ours.
constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

// Where the character `count` characters after `at` starts in `line` (a surrogate pair is one).
qsizetype advanceChars(const QString& line, qsizetype at, qsizetype count) {
    qsizetype i = at;
    for (qsizetype k = 0; k < count && i < line.size(); ++k)
        i += (line[i].isHighSurrogate() && i + 1 < line.size()) ? 2 : 1;
    return i;
}

bool validChoice(const ReadingChoice& c) {
    if (c.line.isEmpty() || c.at < 0 || c.at >= c.line.size() || c.syllables.isEmpty())
        return false;
    if (advanceChars(c.line, c.at, c.syllables.size() - 1) >= c.line.size())
        return false;
    for (const QString& s : c.syllables) {
        if (!isJyutpingSyllable(s))
            return false;
    }
    return true;
}

} // namespace

bool isJyutpingSyllable(const QString& syllable) {
    if (syllable.size() < 2 || toneOf(syllable) == 0)
        return false;
    for (qsizetype i = 0; i + 1 < syllable.size(); ++i) {
        if (syllable[i] < u'a' || syllable[i] > u'z')
            return false;
    }
    return true;
}

LinePosition linePositionOf(const QString& text, qsizetype position) {
    const qsizetype lineStart = position > 0 ? text.lastIndexOf(u'\n', position - 1) + 1 : 0;
    qsizetype lineEnd = text.indexOf(u'\n', position);
    if (lineEnd < 0)
        lineEnd = text.size();
    if (lineEnd > lineStart && text[lineEnd - 1] == u'\r')
        --lineEnd;
    return {text.sliced(lineStart, std::max(lineEnd, lineStart) - lineStart), position - lineStart};
}

QString ReadingChoices::filePath(const QString& dataFolder, const QByteArray& digest) {
    return subtitles::offsetFilePath(dataFolder, digest) + QStringLiteral(".jyutping");
}

ReadingChoices ReadingChoices::load(const QString& dataFolder, const QByteArray& digest) {
    ReadingChoices choices;
    QFile file(filePath(dataFolder, digest));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return choices;
    const QJsonArray entries = QJsonDocument::fromJson(file.readAll())[u"choices"].toArray();
    for (const QJsonValue& entry : entries) {
        const QJsonObject o = entry.toObject();
        const QJsonValue at = o[u"at"];
        if (!at.isDouble() || at.toDouble() != double(at.toInt(-1)))
            continue;
        ReadingChoice c{o[u"line"].toString(), at.toInt(),
                        o[u"syllables"].toString().split(u' ', Qt::SkipEmptyParts)};
        if (validChoice(c))
            choices.set(std::move(c));
    }
    return choices;
}

bool ReadingChoices::save(const QString& dataFolder, const QByteArray& digest) const {
    const QString path = filePath(dataFolder, digest);
    if (isEmpty())
        return !QFileInfo::exists(path) || QFile::remove(path);
    // A first session's lesson may come before the settings ever made the folder.
    if (!QFileInfo(dataFolder).isDir() && !QDir().mkpath(dataFolder))
        return false;
    QJsonArray entries;
    for (const ReadingChoice& c : all()) {
        entries.append(QJsonObject{{QStringLiteral("line"), c.line},
                                   {QStringLiteral("at"), qint64(c.at)},
                                   {QStringLiteral("syllables"), c.syllables.join(u' ')}});
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(QJsonObject{{QStringLiteral("choices"), entries}}).toJson());
    return file.commit();
}

void ReadingChoices::set(ReadingChoice choice) {
    if (!validChoice(choice))
        return;
    QList<ReadingChoice>& line = byLine_[choice.line];
    // A new choice replaces every one it overlaps, so no character has two.
    const qsizetype end = advanceChars(choice.line, choice.at, choice.syllables.size());
    line.removeIf([&](const ReadingChoice& c) {
        const qsizetype cEnd = advanceChars(c.line, c.at, c.syllables.size());
        return c.at < end && choice.at < cEnd;
    });
    line.append(std::move(choice));
}

bool ReadingChoices::clear(const QString& line, qsizetype at) {
    const auto found = byLine_.find(line);
    if (found == byLine_.end())
        return false;
    const qsizetype removed = found->removeIf([&](const ReadingChoice& c) {
        return c.at <= at && at < advanceChars(c.line, c.at, c.syllables.size());
    });
    if (found->isEmpty())
        byLine_.erase(found);
    return removed > 0;
}

const ReadingChoice* ReadingChoices::covering(const QString& line, qsizetype at) const {
    const auto found = byLine_.constFind(line);
    if (found == byLine_.constEnd())
        return nullptr;
    for (const ReadingChoice& c : *found) {
        if (c.at <= at && at < advanceChars(c.line, c.at, c.syllables.size()))
            return &c;
    }
    return nullptr;
}

QList<ReadingChoice> ReadingChoices::all() const {
    QList<ReadingChoice> list;
    for (const QList<ReadingChoice>& line : byLine_)
        list.append(line);
    // Stable order, so that saving the same choices writes the same file.
    std::ranges::sort(list, [](const ReadingChoice& a, const ReadingChoice& b) {
        return std::tie(a.line, a.at) < std::tie(b.line, b.at);
    });
    return list;
}

Annotation ReadingChoices::apply(Annotation annotation) const {
    if (isEmpty())
        return annotation;
    QString text;
    for (const Piece& piece : annotation)
        text += piece.text;
    qsizetype pos = 0;
    for (Piece& piece : annotation) {
        const qsizetype start = pos;
        pos += piece.text.size();
        if (piece.syllable.isEmpty())
            continue;
        const auto [line, at] = linePositionOf(text, start);
        const ReadingChoice* choice = covering(line, at);
        if (!choice)
            continue;
        // Characters before this one within the choice's span give the syllable to use.
        qsizetype k = 0;
        for (qsizetype i = choice->at; i < at; i = advanceChars(line, i, 1))
            ++k;
        if (k < choice->syllables.size()) {
            piece.syllable = choice->syllables[k];
            piece.tone = toneOf(piece.syllable);
        }
    }
    return annotation;
}

} // namespace lurvo::pronunciation
