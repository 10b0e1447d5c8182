#include "split/SplitJob.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <limits>

namespace lurvo::split {

namespace {

// Created by the write test; the name says whose it is, should one be left behind.
constexpr const char16_t* kWriteTestName = u"LurvoRepeater_splt_test";

bool isSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}

} // namespace

int SegmentCount(const SplitJob& job) {
    const std::int64_t sentences = std::int64_t(job.endSentence) - job.startSentence + 1;
    if (sentences <= 0 || job.sentencesPerSegment <= 0)
        return 0;
    return int((sentences + job.sentencesPerSegment - 1) / job.sentencesPerSegment);
}

SegmentSpan segmentSpan(const SplitJob& job, int k, const subtitles::SubtitleDocument& doc,
                        subtitles::SentenceMode mode) {
    const std::int64_t per = job.sentencesPerSegment;
    const std::int64_t first = (std::int64_t(k) - 1) * per + job.startSentence;
    const std::int64_t last = std::min<std::int64_t>(first + per - 1, doc.sentenceCount(mode));
    SegmentSpan span;
    span.firstSentence = int(first);
    span.lastSentence = int(last);
    span.firstLine = doc.linesOfSentence(span.firstSentence, mode).first;
    span.lastLine = doc.linesOfSentence(span.lastSentence, mode).last;
    return span;
}

QString segmentName(const QString& lessonPath, int firstNumber, int k) {
    const std::int64_t number = std::int64_t(firstNumber) + k - 1;
    // printf's "%.4d": at least four digits, the sign before them.
    const QString digits = QString::number(number < 0 ? -number : number);
    // The splitter reads its output name as a pattern: "+" becomes a space and "@" starts a
    // field of the file's tags. Both are left out, so the audio and its subtitles keep one name.
    QString name = QFileInfo(lessonPath).completeBaseName();
    name.replace(u'+', u'_').replace(u'@', u'_');
    name += u'_';
    if (number < 0)
        name += u'-';
    name += QString(std::max<qsizetype>(0, 4 - digits.size()), u'0');
    name += digits;
    return name;
}

QString cutTimeText(int startMs) {
    const int c = std::max(0, startMs / 10);
    return QStringLiteral("%1.%2.%3")
        .arg(c / 6000)
        .arg(c % 6000 / 100)
        .arg(c % 100, 2, 10, QLatin1Char('0'));
}

CutPoints cutPoints(const subtitles::SubtitleDocument& doc, const SegmentSpan& span) {
    CutPoints cut;
    cut.begin = cutTimeText(doc.line(span.firstLine).startMs);
    cut.end = span.lastLine >= doc.lineCount() - 1
                  ? QStringLiteral("EOF")
                  : cutTimeText(doc.line(span.lastLine + 1).startMs);
    return cut;
}

QString segmentFolder(const QString& destFolder) {
    if (destFolder.isEmpty() || !isSeparator(destFolder.back()))
        return destFolder;
    const QString trimmed = destFolder.first(destFolder.size() - 1);
    return trimmed.isEmpty() ? QStringLiteral("/") : trimmed;
}

QStringList splitterArguments(const QString& lessonPath, const CutPoints& cut,
                              const QString& folder, const QString& name, bool frameExact) {
    QStringList arguments{lessonPath,           cut.begin, cut.end, QStringLiteral("-d"), folder,
                          QStringLiteral("-o"), name};
    if (frameExact)
        arguments << QStringLiteral("-f");
    return arguments;
}

SegmentPlan planSegment(const SplitJob& job, int k, const subtitles::SubtitleDocument& doc,
                        subtitles::SentenceMode mode, const QString& lessonPath) {
    const QString folder = segmentFolder(job.destFolder);
    SegmentPlan plan;
    plan.name = segmentName(lessonPath, job.firstNumber, k);
    const QString base = (folder.endsWith(u'/') ? folder : folder + u'/') + plan.name;
    plan.audioPath = base + QStringLiteral(".mp3");
    plan.subtitlePath = base + QStringLiteral(".lrc");
    plan.span = segmentSpan(job, k, doc, mode);
    plan.arguments =
        splitterArguments(lessonPath, cutPoints(doc, plan.span), folder, plan.name, job.frameExact);
    return plan;
}

QStringList existingSegmentFiles(const SplitJob& job, const QString& lessonPath) {
    const QString folder = segmentFolder(job.destFolder);
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    QStringList found;
    for (int k = 1, count = SegmentCount(job); k <= count; ++k) {
        const QString base = prefix + segmentName(lessonPath, job.firstNumber, k);
        for (const char16_t* extension : {u".mp3", u".lrc"}) {
            const QString path = base + QString::fromUtf16(extension);
            if (QFileInfo::exists(path))
                found << path;
        }
    }
    return found;
}

QString overwriteQuestion(int existing, const QString& firstFile) {
    return QCoreApplication::translate(
               "SplitJob", "目标文件夹中已有 %1 个同名的片段文件，例如：\r\n%2\r\n\r\n是否覆盖？")
        .arg(existing)
        .arg(firstFile);
}

std::uint32_t readUnsignedEntry(QStringView text) {
    const QStringView digits = text.trimmed();
    if (digits.isEmpty())
        return 0;
    std::uint64_t value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return 0;
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::numeric_limits<std::uint32_t>::max())
            return 0;
    }
    return std::uint32_t(value);
}

DialogNumbers readDialogNumbers(QStringView start, QStringView end, QStringView perSegment,
                                QStringView firstNumber) {
    // Wraps past INT_MAX, as the comparisons that follow expect.
    const auto signedEntry = [](QStringView text) {
        return static_cast<int>(static_cast<std::int32_t>(readUnsignedEntry(text)));
    };
    return {signedEntry(start), signedEntry(end), signedEntry(perSegment),
            signedEntry(firstNumber)};
}

DialogNumbers correctedNumbers(DialogNumbers n, int sentenceCount) {
    if (n.start < 1)
        n.start = 1;
    if (n.start > sentenceCount)
        n.start = sentenceCount;
    if (n.end == 0)
        n.end = sentenceCount;
    if (n.end > sentenceCount)
        n.end = sentenceCount;
    if (n.end < n.start)
        n.end = n.start;
    if (n.firstNumber < 0)
        n.firstNumber = 0;
    return n;
}

int testFolderWritable(const QString& folder) {
    const QString path = folder + u'/' + QString::fromUtf16(kWriteTestName);
    const QByteArray encoded = QFile::encodeName(path);
    errno = 0;
    std::FILE* file = std::fopen(encoded.constData(), "wb");
    if (file == nullptr)
        return errno != 0 ? errno : EIO;
    std::fclose(file);
    std::remove(encoded.constData());
    return 0;
}

} // namespace lurvo::split
