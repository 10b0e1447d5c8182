#include "subtitles/Recovery.h"

#include "subtitles/SubtitleWriting.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <limits>

namespace lurvo::subtitles {

namespace {

// Marks the file as ours, so that a stray JSON file of the same name is not taken for edits.
constexpr const char* kFormat = "lurvo-subtitle-edits-1";

} // namespace

QString recoveryPathFor(const QString& lrcPath) {
    return lrcPath + QStringLiteral(".recovery");
}

int writeRecovery(const SubtitleDocument& doc, const QString& recoveryPath) {
    QJsonArray edits;
    for (const SubtitleLine& line : doc.lines) {
        const bool fromFile = line.sourceLine >= 0 && line.sourceLine < doc.source.lines.size() &&
                              line.sourceTag >= 0 &&
                              line.sourceTag < doc.source.lines[line.sourceLine].tags.size();
        if (!fromFile || !doc.isEdited(line))
            continue;
        const SourceLine& from = doc.source.lines[line.sourceLine];
        // The line as the file has it, to find it again, and what the learner made of it.
        edits.append(QJsonObject{
            {"line", line.sourceLine},
            {"tag", line.sourceTag},
            {"fileMs", from.tags[line.sourceTag].fileMs},
            {"fileText", SubtitleDocument::shownText(from)},
            {"ms", double(doc.fileTimeOf(line))},
            {"text", line.text},
        });
    }
    const QJsonObject root{
        {"format", kFormat},
        {"lrc", QFileInfo(doc.path).fileName()},
        {"edits", edits},
    };
    return replaceFile(recoveryPath, QJsonDocument(root).toJson());
}

int restoreRecovery(SubtitleDocument& doc, const QString& recoveryPath) {
    QFile file(recoveryPath);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    if (root.value("format").toString() != QLatin1String(kFormat))
        return -1;
    int applied = 0;
    for (const QJsonValue& value : root.value("edits").toArray()) {
        const QJsonObject edit = value.toObject();
        const int sourceLine = edit.value("line").toInt(-1);
        const int sourceTag = edit.value("tag").toInt(-1);
        const auto line = std::find_if(doc.lines.begin(), doc.lines.end(), [&](const auto& l) {
            return l.sourceLine == sourceLine && l.sourceTag == sourceTag;
        });
        if (sourceLine < 0 || sourceTag < 0 || line == doc.lines.end())
            continue;
        const SourceLine& from = doc.source.lines[sourceLine];
        if (from.tags[sourceTag].fileMs != edit.value("fileMs").toInt(-1) ||
            SubtitleDocument::shownText(from) != edit.value("fileText").toString())
            continue; // the file changed since: the edit no longer belongs to this line
        const double ms = edit.value("ms").toDouble(-1);
        if (ms < 0 || ms > std::numeric_limits<int>::max())
            continue;
        const std::int64_t startMs = std::int64_t(ms) - doc.fileOffsetMs - doc.appliedOffsetMs;
        line->startMs =
            std::int32_t(std::clamp<std::int64_t>(startMs, std::numeric_limits<std::int32_t>::min(),
                                                  std::numeric_limits<std::int32_t>::max()));
        line->text = leadingUnits(edit.value("text").toString(), kMaxLineTextUnits).toString();
        ++applied;
    }
    if (applied > 0) {
        // The times were accepted in order; a file changed since might not keep it.
        std::stable_sort(
            doc.lines.begin(), doc.lines.end(),
            [](const SubtitleLine& a, const SubtitleLine& b) { return a.startMs < b.startMs; });
        doc.modified = true;
    }
    return applied;
}

} // namespace lurvo::subtitles
