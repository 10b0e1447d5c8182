// Cuts a real lesson with the real mp3splt through the dialogs, and checks that every segment
// is a lesson of its own: the audio of its sentences and subtitles counted from its first line.
#include "split/SplitDialog.h"
#include "split/SplitJob.h"

#include "DialogTestSupport.h"
#include "SplitTestSupport.h"
#include "media/MediaPlayer.h"
#include "platform/ResourceFolder.h"

#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

using namespace lurvo;
using namespace lurvo::split;
using lurvo::subtitles::SentenceMode;
using namespace lurvo::test;

namespace {

// mp3splt cuts at frame boundaries (26 ms at 22050 Hz) and the decoder adds its own delay.
constexpr std::int64_t kToleranceMs = 60;

std::int64_t lengthMs(const QString& path) {
    media::MediaPlayer player("fakesink");
    const media::MediaResult opened = player.Open(path, nullptr, media::ParserOrder::Mpeg1First);
    EXPECT_TRUE(opened.ok()) << path.toStdString() << ": " << opened.message.toStdString();
    return opened.ok() ? player.LengthMs() : -1;
}

QString mmssxx(int ms) {
    const int c = ms / 10;
    return QString::asprintf("%02d:%02d.%02d", c / 6000, c % 6000 / 100, c % 100);
}

// The subtitle file a segment of lines first..last must have: the header, then each line at
// its time from the segment's first line.
QString expectedSubtitles(const subtitles::SubtitleDocument& doc, int first, int last) {
    QString text = doc.header;
    for (int i = first; i <= last; ++i)
        text += u'[' + mmssxx(doc.line(i).startMs - doc.line(first).startMs) + u']' +
                doc.line(i).text + QStringLiteral("\r\n");
    return text;
}

TEST(SplitRealRun, EverySegmentIsALessonOfItsSentences) {
    const QString splitter = platform::findProgram(QStringLiteral("mp3splt"), QString());
    ASSERT_FALSE(splitter.isEmpty()) << "mp3splt is installed by scripts/install-deps.sh";

    const struct {
        bool frameExact;
        SentenceMode mode;
        const char* perSegment;
        int segments;
    } cases[] = {
        {true, SentenceMode::OneLine, "2", 3},
        {false, SentenceMode::TwoLinesEvenHead, "2", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frameExact ? "frame exact" : "bitrate estimate");
        QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/split it's $HOME-XXXXXX"));
        ASSERT_TRUE(dir.isValid());
        const QString lesson = dir.filePath(QStringLiteral("it's a \"$lesson\" +1@n.mp3"));
        const QString source = QStringLiteral(LURVO_TEST_DATA "/lessons/one-line");
        ASSERT_TRUE(QFile::copy(source + ".mp3", lesson));
        ASSERT_TRUE(QFile::copy(source + ".lrc", dir.filePath("it's a \"$lesson\" +1@n.lrc")));
        const QString out = dir.filePath(QStringLiteral("out $PWD 'q' \"r\""));
        ASSERT_TRUE(QDir().mkpath(out));

        subtitles::SubtitleDocument doc;
        ASSERT_EQ(doc.load(dir.filePath("it's a \"$lesson\" +1@n.lrc")), 1);
        ASSERT_FALSE(doc.header.isEmpty());
        const std::int64_t lessonMs = lengthMs(lesson);
        ASSERT_GT(lessonMs, 0);

        Recorder told;
        told.folderAnswer = out + u'/';
        whenShown<SplitDialog>([&](SplitDialog* dialog) {
            editOf(dialog, "perSegmentEdit")->setText(QString::fromUtf8(c.perSegment));
            editOf(dialog, "firstNumberEdit")->setText(QStringLiteral("9999"));
            if (!c.frameExact)
                dialog->findChild<QRadioButton*>(QStringLiteral("bitrateRadio"))->click();
            click(dialog, QStringLiteral("…"));
            click(dialog, QStringLiteral("切割"));
        });
        ASSERT_EQ(ShowSplitDialog(told.context(&doc, c.mode, lesson, splitter), nullptr),
                  SplitDialog::kDone);
        EXPECT_EQ(told.informations, QStringList{QStringLiteral("切割完成")});
        EXPECT_TRUE(told.errors.isEmpty());

        SplitJob job;
        job.startSentence = 1;
        job.endSentence = doc.sentenceCount(c.mode);
        job.sentencesPerSegment = QString::fromUtf8(c.perSegment).toInt();
        ASSERT_EQ(SegmentCount(job), c.segments);
        EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 2 * c.segments);
        for (int k = 1; k <= c.segments; ++k) {
            SCOPED_TRACE(k);
            const SegmentSpan span = segmentSpan(job, k, doc, c.mode);
            const QString name = out + QStringLiteral("/it's a \"$lesson\" _1_n_%1")
                                           .arg(9999 + k - 1, 4, 10, QLatin1Char('0'));

            const std::int64_t endMs = span.lastLine + 1 < doc.lineCount()
                                           ? doc.line(span.lastLine + 1).startMs
                                           : lessonMs;
            const std::int64_t spanMs = endMs - doc.line(span.firstLine).startMs;
            const std::int64_t gotMs = lengthMs(name + ".mp3");
            EXPECT_LE(std::llabs(gotMs - spanMs), kToleranceMs)
                << "segment " << gotMs << " ms, sentences " << spanMs << " ms";

            QFile lrc(name + ".lrc");
            ASSERT_TRUE(lrc.open(QIODevice::ReadOnly));
            const QByteArray bytes = lrc.readAll();
            ASSERT_TRUE(bytes.startsWith("\xFF\xFE"));
            QStringDecoder utf16(QStringConverter::Utf16LE);
            const QString text = utf16(bytes.sliced(2));
            EXPECT_EQ(text, expectedSubtitles(doc, span.firstLine, span.lastLine));

            subtitles::SubtitleDocument segment;
            ASSERT_EQ(segment.load(name + ".lrc"), 1);
            EXPECT_EQ(segment.lineCount(), span.lastLine - span.firstLine + 1);
            EXPECT_EQ(segment.line(0).startMs, 0);
        }
    }
}

} // namespace
