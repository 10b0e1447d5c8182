#include "subtitles/CueFiles.h"

#include "TestData.h"
#include "subtitles/Recovery.h"
#include "subtitles/SubtitleDocument.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace lurvo::subtitles;
using lurvo::test::dataPath;
using lurvo::test::readData;

namespace {

struct Expected {
    int startMs;
    const char* text;
};

void expectLines(const SubtitleDocument& doc, std::initializer_list<Expected> expected) {
    ASSERT_EQ(doc.lineCount(), int(expected.size()));
    int i = 0;
    for (const Expected& e : expected) {
        EXPECT_EQ(doc.line(i).startMs, e.startMs) << "line " << i;
        EXPECT_EQ(doc.line(i).text, QString::fromUtf8(e.text)) << "line " << i;
        ++i;
    }
}

class CueFiles : public lurvo::test::TempFolderTest {};

TEST(CueTime, ReadsBothFormatsAndRejectsWhatNeitherAllows) {
    const struct {
        const char* text;
        int ms;
    } cases[] = {
        {"00:00:01,500", 1500},
        {"00:00:01.500", 1500},
        {"01:02:03,040", 3723040},
        {"02:03.040", 123040},
        {"0:00:07,5", 7500},
        {"00:05", 5000},
        {"100:00:00.000", 360000000},
        {"00:60.000", -1},
        {"60:00.000", -1},
        {"00:00:01,5000", -1},
        {"00:01.", -1},
        {"1.5", -1},
        {"a0:01.000", -1},
        {"00:00:00:01.000", -1},
        {" 00:01.000", -1},
        {"999999:00:00.000", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseCueTime(QString::fromUtf8(c.text)), c.ms) << c.text;
}

TEST(CueText, DropsMarkupAndKeepsWhatTheLearnerReads) {
    const struct {
        const char* line;
        const char* text;
    } cases[] = {
        {"<i>斜</i><b>粗</b><u>底</u>", "斜粗底"},
        {"<font color=\"#ff0000\">紅</font>字", "紅字"},
        {"{\\an8}頂部 {\\pos(10,20)}字", "頂部 字"},
        {"<c.yellow.bg_blue>黃</c> <v Roger Bingham>講</v><lang en>OK</lang>", "黃 講OK"},
        {"<ruby>粵<rp>(</rp><rt>jyut6</rt><rp>)</rp>語</ruby>", "粵語"},
        {"<ruby>粵<rt>jyut6", "粵"},
        {"行<00:00:04.200>山<00:01.500>啦", "行山啦"},
        {"A &amp; B &lt;i&gt; &quot;q&quot; &#x4E2D;&#25991;", "A & B <i> \"q\" 中文"},
        {"&nbsp;&nbsp;空格&lrm;", "空格"},
        {"a < b, c > d, &unknown; & &#0;", "a < b, c > d, &unknown; & &#0;"},
        {"I <3 you > me", "I <3 you > me"},
        {"  多\t 空格  ", "多 空格"},
        {"<i未完", "<i未完"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cueLineText(QString::fromUtf8(c.line)), QString::fromUtf8(c.text)) << c.line;
}

TEST(CueParse, SkipsAndCountsDamagedBlocksAndTakesTheRest) {
    const QStringList lines = {
        "1",
        "00:00:01,000 --> 00:00:02,000",
        "一",
        "",
        "2",
        "00:00:03,000 -> 00:00:04,000", // no arrow: a block of text only
        "二",
        "",
        "3",
        "00:00:05,000 --> later",
        "三",
        "",
        "   ",
        "4",
        "00:00:06,000 --> 00:00:07,000",
        "四",
        "5", // no blank line before the next cue: this was its number
        "00:00:08,000 --> 00:00:09,000",
        "五",
        "",
        "stray",
        "junk",
        "00:00:10,000 --> 00:00:11,000",
        "十",
        "",
        "00:00:12,000 --> 00:00:13,000",
    };
    const CueList cues = parseCues(lines);
    EXPECT_EQ(cues.skipped, 3);
    ASSERT_EQ(cues.cues.size(), 5);
    EXPECT_EQ(cues.cues[0].text, QStringLiteral("一"));
    EXPECT_EQ(cues.cues[1].startMs, 6000);
    EXPECT_EQ(cues.cues[1].text, QStringLiteral("四"));
    EXPECT_EQ(cues.cues[2].startMs, 8000);
    EXPECT_EQ(cues.cues[2].text, QStringLiteral("五"));
    EXPECT_EQ(cues.cues[3].startMs, 10000);
    EXPECT_EQ(cues.cues[3].text, QStringLiteral("十"));
    EXPECT_EQ(cues.cues[4].startMs, 12000);
    EXPECT_EQ(cues.cues[4].text, QString());
}

TEST_F(CueFiles, SrtWithSignatureAndCrLf) {
    const QString srt = write("lesson.srt", readData("cues/bom-crlf.srt"));
    SubtitleDocument doc;
    ASSERT_EQ(doc.load(srt), 1);
    expectLines(doc, {
                         {400, "你食咗飯未呀？"},
                         {2850, "我哋去飲茶啦， 好唔好？"},
                         {7620, "我冇帶遮 & 我冇帶銀包。"},
                         {3723040, "唔該晒！"},
                     });
    EXPECT_EQ(doc.skippedLines, 2) << "the damaged time and the stray line";
    EXPECT_EQ(doc.cueFile, srt);
    EXPECT_EQ(doc.path, dir.filePath("lesson.lrc"));
    EXPECT_FALSE(doc.modified);

    // A second signature after the first is left out too.
    SubtitleDocument twice;
    ASSERT_EQ(twice.load(write("twice.srt", "\xEF\xBB\xBF\xEF\xBB\xBF"
                                            "00:00:01,000 --> 00:00:02,000\nA\n")),
              1);
    EXPECT_EQ(twice.skippedLines, 0);
}

TEST_F(CueFiles, VttWithHeaderNotesSettingsAndOverlappingCues) {
    SubtitleDocument doc;
    ASSERT_EQ(doc.load(write("lesson.VTT", readData("cues/header-notes.vtt"))), 1);
    // In order of their starts, each overlapping cue at its own.
    expectLines(doc, {
                         {1000, "早晨！今日天氣好好。"},
                         {2000, "OK <好>"},
                         {3500, "我哋去行山啦"},
                         {7250, "粵語好難學"},
                     });
    EXPECT_EQ(doc.skippedLines, 0);
    EXPECT_EQ(doc.path, dir.filePath("lesson.lrc"));
}

TEST_F(CueFiles, LegacyChineseEncodingsAndEveryLineEnd) {
    for (const char* name : {"cues/plain.gbk.srt", "cues/plain.big5hkscs.srt"}) {
        SubtitleDocument doc;
        ASSERT_EQ(doc.load(write("legacy.srt", readData(name))), 1) << name;
        expectLines(doc, {
                             {400, "今日天氣好好。"},
                             {2850, "請問車站點樣去？"},
                             {5100, "我想要一杯熱茶。"},
                         });
    }
    const QByteArray lf = "1\n00:00:01,000 --> 00:00:02,000\nA\nB\n\n2\n00:00:03,000 --> "
                          "00:00:04,000\nC\n";
    for (const QByteArray& end : {QByteArray("\r"), QByteArray("\r\n")}) {
        QByteArray bytes = lf;
        bytes.replace("\n", end);
        SubtitleDocument doc;
        ASSERT_EQ(doc.load(write("ends.srt", bytes)), 1);
        expectLines(doc, {{1000, "A B"}, {3000, "C"}});
        EXPECT_EQ(doc.skippedLines, 0);
    }
}

TEST_F(CueFiles, FilesWithoutAnyCueAreInvalidContent) {
    for (const QByteArray& bytes :
         {QByteArray(), QByteArray("WEBVTT\n\nNOTE nothing yet\n"), QByteArray("1\nhello\n")}) {
        SubtitleDocument doc;
        EXPECT_EQ(doc.load(write("none.vtt", bytes)), 0) << bytes.constData();
    }
}

TEST_F(CueFiles, SavingWritesTheLrcBesideAndLeavesTheCueFile) {
    const QByteArray original = readData("cues/bom-crlf.srt");
    const QString srt = write("lesson.srt", original);
    const QString lrc = dir.filePath("lesson.lrc");
    SubtitleDocument doc;
    ASSERT_EQ(doc.load(srt), 1);
    ASSERT_EQ(doc.save(), 0);
    EXPECT_FALSE(QFileInfo::exists(lrc)) << "nothing to save";

    doc.setLineText(1, QStringLiteral("我哋去飲茶啦，好唔好？"));
    doc.setLineStart(2, 7000);
    ASSERT_EQ(doc.save(), 0);
    EXPECT_EQ(read(srt), original);
    EXPECT_TRUE(doc.cueFile.isEmpty());
    EXPECT_EQ(doc.path, lrc);

    SubtitleDocument reread;
    ASSERT_EQ(reread.load(lrc), 1);
    expectLines(reread, {
                            {400, "你食咗飯未呀？"},
                            {2850, "我哋去飲茶啦，好唔好？"},
                            {7000, "我冇帶遮 & 我冇帶銀包。"},
                            {3723040, "唔該晒！"},
                        });
    EXPECT_TRUE(reread.cueFile.isEmpty());
}

TEST_F(CueFiles, EditsSurviveRecoveryAndCuttingTakesTheLines) {
    const QString srt = write("lesson.srt", readData("cues/bom-crlf.srt"));
    SubtitleDocument doc;
    ASSERT_EQ(doc.load(srt), 1);
    doc.setLineText(0, QStringLiteral("食咗飯未？"));
    const QString recovery = recoveryPathFor(doc.path);
    EXPECT_EQ(recovery, dir.filePath("lesson.lrc.recovery"));
    ASSERT_EQ(writeRecovery(doc, recovery), 0);

    SubtitleDocument reopened;
    ASSERT_EQ(reopened.load(srt), 1);
    EXPECT_EQ(restoreRecovery(reopened, recovery), 1);
    EXPECT_EQ(reopened.line(0).text, QStringLiteral("食咗飯未？"));
    EXPECT_TRUE(reopened.modified);

    // A segment of lines 1 and 2, its first line at the start.
    const QString segment = dir.filePath("lesson_0001.lrc");
    ASSERT_EQ(reopened.writeRange(1, 2, segment), 0);
    SubtitleDocument piece;
    ASSERT_EQ(piece.load(segment), 1);
    expectLines(piece, {{0, "我哋去飲茶啦， 好唔好？"}, {4770, "我冇帶遮 & 我冇帶銀包。"}});
}

} // namespace
