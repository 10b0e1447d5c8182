#include "subtitles/SubtitleDocument.h"

#include "TestData.h"
#include "subtitles/LrcDecoding.h"
#include "subtitles/TimeText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>

using namespace lurvo::subtitles;
using lurvo::test::dataPath;

namespace {

class Load : public lurvo::test::TempFolderTest {};

TEST_F(Load, MissingOrUnreadableFileIsAReadError) {
    SubtitleDocument missing;
    errno = 0;
    EXPECT_EQ(missing.load(dir.filePath("absent.lrc")), -1);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(missing.path, dir.filePath("absent.lrc"));
    EXPECT_EQ(missing.lineCount(), 0);

    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.lrc"));
    SubtitleDocument folder;
    errno = 0;
    EXPECT_EQ(folder.load(dir.filePath("folder.lrc")), -1);
    EXPECT_EQ(errno, EISDIR);
}

TEST_F(Load, FileWithoutPermissionIsAReadError) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    const QString path = write("locked.lrc", "[00:01.00]a");
    QFile::setPermissions(path, QFileDevice::WriteOwner);
    SubtitleDocument doc;
    EXPECT_EQ(doc.load(path), -1);
    EXPECT_EQ(errno, EACCES);
}

TEST_F(Load, EmptyOrUntimedFileIsInvalidContent) {
    SubtitleDocument empty;
    EXPECT_EQ(empty.load(write("empty.lrc", "")), 0);
    SubtitleDocument tagsOnly;
    EXPECT_EQ(tagsOnly.load(write("tags.lrc", "[ti:Title]\n[ar:Artist]\n")), 0);
    SubtitleDocument utf16NoMark;
    EXPECT_EQ(utf16NoMark.load(write("u16.lrc", QByteArray("[\0"
                                                           "0\0"
                                                           "0\0:\0",
                                                           8))),
              0);
}

TEST_F(Load, EveryEncodingAndLineEndGivesTheSameLines) {
    SubtitleDocument reference;
    ASSERT_EQ(reference.load(dataPath("encodings/cantonese.utf8.lrc")), 1);
    ASSERT_EQ(reference.lineCount(), 6);
    EXPECT_EQ(reference.line(0).startMs, 400);
    EXPECT_EQ(reference.line(0).text, QString::fromUtf8("你食咗飯未呀？"));
    EXPECT_EQ(reference.header, QString::fromUtf8("[ti:日常廣東話]\r\n[ar:練習]\r\n"));

    const QByteArray utf8 = lurvo::test::readData("encodings/cantonese.utf8.lrc");
    QByteArray lf = utf8;
    lf.replace("\r\n", "\n");
    QByteArray cr = utf8;
    cr.replace("\r\n", "\r");
    QByteArray mixed = utf8;
    mixed.replace("\r\n[00:02", "\n[00:02").replace("\r\n[00:05", "\r[00:05");
    const QString variants[] = {
        dataPath("encodings/cantonese.utf8bom.lrc"),
        dataPath("encodings/cantonese.utf16le.lrc"),
        dataPath("encodings/cantonese.utf16be.lrc"),
        dataPath("encodings/cantonese.gbk.lrc"),
        dataPath("encodings/cantonese.big5hkscs.lrc"),
        write("lf.lrc", lf),
        write("cr.lrc", cr),
        write("mixed.lrc", mixed),
    };
    for (const QString& path : variants) {
        SubtitleDocument doc;
        ASSERT_EQ(doc.load(path), 1) << path.toStdString();
        EXPECT_EQ(doc.header, reference.header) << path.toStdString();
        ASSERT_EQ(doc.lineCount(), reference.lineCount()) << path.toStdString();
        for (int i = 0; i < doc.lineCount(); ++i) {
            EXPECT_EQ(doc.line(i).startMs, reference.line(i).startMs) << path.toStdString();
            EXPECT_EQ(doc.line(i).text, reference.line(i).text) << path.toStdString();
        }
    }
}

TEST_F(Load, Utf8WithCharactersBeyondTheBasicPlaneLoads) {
    SubtitleDocument doc;
    ASSERT_EQ(doc.load(dataPath("encodings/extension-b.utf8.lrc")), 1);
    ASSERT_EQ(doc.lineCount(), 3);
    EXPECT_EQ(doc.header, QString::fromUtf8("[ti:粵語]\r\n"));
    EXPECT_EQ(doc.line(0).text, QString::fromUtf8("𠵱家去邊度？"));
    EXPECT_EQ(doc.line(1).text, QString::fromUtf8("個𡃁仔搭𨋢上樓😀"));
}

TEST_F(Load, ReadsTheWholeFileUpToTheLimit) {
    // A long bilingual lesson, far beyond what one small read takes.
    QByteArray content = "[ti:long]\r\n";
    int lines = 0;
    while (content.size() < 300 * 1024) {
        content += "[" + formatLrcTime(lines * 1000).toLatin1() + "]" +
                   QString::fromUtf8("第%1句 sentence").arg(lines).toUtf8() + "\r\n";
        ++lines;
    }
    content += "[9:59:00.00]the very last line";
    SubtitleDocument doc;
    ASSERT_EQ(doc.load(write("long.lrc", content)), 1);
    ASSERT_EQ(doc.lineCount(), lines + 1);
    EXPECT_EQ(doc.line(lines - 1).text, QString::fromUtf8("第%1句 sentence").arg(lines - 1));
    EXPECT_EQ(doc.line(lines).text, "the very last line");

    // Exactly the limit loads; one byte more is refused as too large, with nothing parsed.
    QByteArray atLimit = "[00:01.00]a\r\n";
    atLimit += QByteArray(kMaxSubtitleFileBytes - atLimit.size() - 15, 'x');
    atLimit += "\r\n[00:02.00]end";
    ASSERT_EQ(atLimit.size(), kMaxSubtitleFileBytes);
    SubtitleDocument full;
    ASSERT_EQ(full.load(write("full.lrc", atLimit)), 1);
    EXPECT_EQ(full.line(full.lineCount() - 1).text, "end");
    SubtitleDocument tooLarge;
    EXPECT_EQ(tooLarge.load(write("large.lrc", atLimit + "x")), kLoadTooLarge);
    EXPECT_EQ(tooLarge.lineCount(), 0);
}

TEST_F(Load, CommittedLessonsLoad) {
    for (const char* lesson :
         {"lessons/one-line.lrc", "lessons/bilingual.lrc", "../../resources/eg.lrc"}) {
        SubtitleDocument doc;
        ASSERT_EQ(doc.load(dataPath(lesson)), 1) << lesson;
        EXPECT_GE(doc.lineCount(), 5) << lesson;
        EXPECT_TRUE(doc.header.contains(u"[ti:")) << lesson;
        for (int i = 1; i < doc.lineCount(); ++i)
            EXPECT_LT(doc.line(i - 1).startMs, doc.line(i).startMs) << lesson;
    }
}

} // namespace
