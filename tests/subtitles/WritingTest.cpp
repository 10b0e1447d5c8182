#include "subtitles/SubtitleDocument.h"

#include "TestData.h"
#include "subtitles/TimeText.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <limits>
#include <sys/resource.h>

using namespace lurvo::subtitles;
using lurvo::test::dataPath;

namespace {

class Writing : public lurvo::test::TempFolderTest {
protected:
    // Loads a file and changes nothing but the modified flag, so that save() writes it.
    void loadTouched(SubtitleDocument& doc, const QString& path) {
        ASSERT_EQ(doc.load(path), 1) << path.toStdString();
        doc.setLineText(0, doc.line(0).text);
    }

    QStringList entries() const {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

TEST_F(Writing, SavedTimesAreFileTimesWithBothOffsetsAddedBack) {
    const QString path = write("offset.lrc", QString::fromUtf8("[ti:課]\r\n[offset:500]\r\n"
                                                               "[00:05.00]你好\r\n[00:12.00]b\r\n")
                                                 .toUtf8());
    SubtitleDocument doc;
    ASSERT_EQ(doc.load(path), 1);
    doc.applyOffset(300);
    ASSERT_EQ(doc.line(1).startMs, 11200);
    doc.setLineStart(1, 9200);
    ASSERT_EQ(doc.save(), 0);
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(read(path),
              lurvo::test::utf16File(QString::fromUtf8("[ti:課]\r\n[offset:500]\r\n"
                                                       "[00:05.00]你好\r\n[00:10.00]b\r\n")));
}

TEST_F(Writing, SaveWritesTheParsedDocumentBack) {
    const struct {
        const char* name;
        QByteArray source;
        const char* saved; // UTF-8 here, UTF-16 LE in the file
    } cases[] = {
        {"hundredths truncated", "[00:01.234]a", "[00:01.23]a\r\n"},
        {"two tags, two lines", "[00:01.00][00:03.00]same\r\n[00:02.00]mid",
         "[00:01.00]same\r\n[00:02.00]mid\r\n[00:03.00]same\r\n"},
        {"blank and untimed lines dropped", "[ar:x]\n\n[00:01.00]a\n\nuntimed words\n[00:02.00]\n",
         "[ar:x]\r\n\r\n[00:01.00]a\r\n[00:02.00]\r\n"},
        {"header without a line end", "[ti:x] [00:01.00]a", "[ti:x] [00:01.00]a\r\n"},
        {"UTF-8 signature dropped", "\xEF\xBB\xBF[00:01.00]\xE5\x97\xA8",
         "[00:01.00]\xE5\x97\xA8\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = write("case.lrc", c.source);
        SubtitleDocument doc;
        loadTouched(doc, path);
        ASSERT_EQ(doc.save(), 0);
        EXPECT_EQ(read(path), lurvo::test::utf16File(QString::fromUtf8(c.saved)));
    }
}

TEST_F(Writing, EditingALongLessonKeepsItsLastLines) {
    QByteArray content;
    int lines = 0;
    while (content.size() < 250 * 1024) {
        ++lines;
        content +=
            QString::fromUtf8("[%1]第%2句\n").arg(formatLrcTime(lines * 1000)).arg(lines).toUtf8();
    }
    const QString path = write("long.lrc", content);
    SubtitleDocument doc;
    ASSERT_EQ(doc.load(path), 1);
    ASSERT_EQ(doc.lineCount(), lines);
    doc.setLineText(0, QStringLiteral("changed"));
    ASSERT_EQ(doc.save(), 0);
    SubtitleDocument reloaded;
    ASSERT_EQ(reloaded.load(path), 1);
    ASSERT_EQ(reloaded.lineCount(), lines);
    EXPECT_EQ(reloaded.line(0).text, "changed");
    EXPECT_EQ(reloaded.line(lines - 1).text, QString::fromUtf8("第%1句").arg(lines));
}

TEST_F(Writing, TruncatedHundredthsReadBackTruncated) {
    const QString path = write("ms.lrc", "[00:01.234]a");
    SubtitleDocument doc;
    loadTouched(doc, path);
    ASSERT_EQ(doc.line(0).startMs, 1234);
    ASSERT_EQ(doc.save(), 0);
    SubtitleDocument reloaded;
    ASSERT_EQ(reloaded.load(path), 1);
    EXPECT_EQ(reloaded.line(0).startMs, 1230);
}

TEST_F(Writing, AnyEncodingIsSavedAsUtf16) {
    const QByteArray utf8 = lurvo::test::readData("encodings/cantonese.utf8.lrc");
    for (const char* fixture : {"encodings/cantonese.gbk.lrc", "encodings/cantonese.big5hkscs.lrc",
                                "encodings/cantonese.utf16be.lrc"}) {
        SCOPED_TRACE(fixture);
        const QString path = write("lesson.lrc", lurvo::test::readData(fixture));
        SubtitleDocument doc;
        loadTouched(doc, path);
        ASSERT_EQ(doc.save(), 0);
        EXPECT_EQ(read(path), lurvo::test::utf16File(QString::fromUtf8(utf8)));
    }
}

TEST_F(Writing, TimesFromAnHourOnReadBack) {
    const QString path = write("long.lrc", "[00:01.00]a\r\n[59:59.99]b\r\n");
    SubtitleDocument doc;
    ASSERT_EQ(doc.load(path), 1);
    doc.setLineStart(1, 3723450);
    ASSERT_EQ(doc.save(), 0);
    EXPECT_EQ(read(path), lurvo::test::utf16File("[00:01.00]a\r\n[1:02:03.45]b\r\n"));
    SubtitleDocument reloaded;
    ASSERT_EQ(reloaded.load(path), 1);
    ASSERT_EQ(reloaded.lineCount(), 2);
    EXPECT_EQ(reloaded.line(1).startMs, 3723450);

    // With the offsets added back a time can pass what 32 bits hold: it is written as the largest.
    reloaded.appliedOffsetMs = 300;
    reloaded.setLineStart(1, std::numeric_limits<int>::max());
    ASSERT_EQ(reloaded.save(), 0);
    EXPECT_EQ(read(path), lurvo::test::utf16File("[00:01.30]a\r\n[596:31:23.64]b\r\n"));
}

TEST_F(Writing, UnmodifiedDocumentLeavesTheFileAlone) {
    const QByteArray source = "[00:01.00]a\n";
    const QString path = write("same.lrc", source);
    const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-3);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    SubtitleDocument doc;
    ASSERT_EQ(doc.load(path), 1);
    EXPECT_EQ(doc.save(), 0);
    EXPECT_EQ(read(path), source);
    EXPECT_EQ(QFileInfo(path).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());

    doc.path = dir.filePath("absent.lrc");
    EXPECT_EQ(doc.save(), 0);
    EXPECT_FALSE(QFile::exists(doc.path));
}

TEST_F(Writing, ReadOnlyFileIsSavedAndLeftWritable) {
    const QString path = write("locked.lrc", "[00:01.00]a");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    SubtitleDocument doc;
    ASSERT_EQ(doc.load(path), 1);
    doc.setLineText(0, QStringLiteral("b"));
    ASSERT_EQ(doc.save(), 0);
    EXPECT_EQ(read(path), lurvo::test::utf16File("[00:01.00]b\r\n"));
    EXPECT_TRUE(QFileInfo(path).permissions() & QFileDevice::WriteOwner);
}

TEST_F(Writing, RangeTimesAreRelativeToItsFirstLine) {
    SubtitleDocument doc;
    doc.header = QStringLiteral("[ti:x]\r\n");
    for (const int start : {1000, 4000, 7000, 10000, 12500, 15000, 20000})
        doc.lines.append({start, QString::number(start)});
    const struct {
        const char* name;
        int first, last, fileOffsetMs, appliedOffsetMs;
        const char* records;
    } cases[] = {
        {"no offsets", 3, 5, 0, 0, "[00:00.00]10000\r\n[00:02.50]12500\r\n[00:05.00]15000\r\n"},
        {"first at the total offset", 3, 5, 500, 300,
         "[00:00.80]10000\r\n[00:03.30]12500\r\n[00:05.80]15000\r\n"},
        {"negative total held at zero", 4, 5, -2000, 0, "[00:00.00]12500\r\n[00:00.50]15000\r\n"},
        {"one line", 6, 6, 0, 0, "[00:00.00]20000\r\n"},
        {"first after last", 5, 4, 0, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        doc.fileOffsetMs = c.fileOffsetMs;
        doc.appliedOffsetMs = c.appliedOffsetMs;
        const QString path = dir.filePath("part.lrc");
        ASSERT_EQ(doc.writeRange(c.first, c.last, path), 0);
        EXPECT_EQ(read(path), lurvo::test::utf16File(doc.header + QString::fromUtf8(c.records)));
        EXPECT_FALSE(doc.modified);
    }
    doc.modified = true;
    ASSERT_EQ(doc.writeRange(0, 0, dir.filePath("part.lrc")), 0);
    EXPECT_TRUE(doc.modified);
}

// Lowers the largest file this process may write, with the signal that would end it ignored, so
// that writing fails with EFBIG part way; everything is restored on destruction.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool active() const { return active_; }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
    bool active_ = false;
};

TEST_F(Writing, FailedWriteKeepsTheOriginalAndTheEdits) {
    const QByteArray source = "[00:01.00]a\r\n[00:02.00]b\r\n";
    const struct {
        const char* name;
        rlim_t limit;
        bool range;
    } cases[] = {
        {"save, nothing written", 0, false},
        {"save, cut short", 16, false},
        {"range, nothing written", 0, true},
        {"range, cut short", 16, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = write("lesson.lrc", source);
        const QStringList before = entries();
        SubtitleDocument doc;
        ASSERT_EQ(doc.load(path), 1);
        doc.setLineText(1, QStringLiteral("changed"));
        int result = 0;
        {
            FileSizeLimit limit(c.limit);
            ASSERT_TRUE(limit.active());
            result = c.range ? doc.writeRange(0, 1, path) : doc.save();
        }
        EXPECT_EQ(result, EFBIG);
        EXPECT_EQ(read(path), source);
        EXPECT_TRUE(doc.modified);
        EXPECT_EQ(entries(), before);
    }
}

TEST_F(Writing, UnwritablePathFailsWithItsReason) {
    const QByteArray blocker = "not a folder";
    write("file", blocker);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.lrc"));
    const struct {
        const char* name;
        QString path;
        int error;
    } cases[] = {
        {"parent is a file", dir.filePath("file/lesson.lrc"), ENOTDIR},
        {"path is a folder", dir.filePath("folder.lrc"), EISDIR},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList before = entries();
        SubtitleDocument doc;
        doc.path = c.path;
        doc.lines.append({1000, QStringLiteral("a")});
        doc.setLineText(0, QStringLiteral("b"));
        EXPECT_EQ(doc.save(), c.error);
        EXPECT_TRUE(doc.modified);
        EXPECT_EQ(doc.writeRange(0, 0, c.path), c.error);
        EXPECT_EQ(entries(), before);
        EXPECT_EQ(read(dir.filePath("file")), blocker);
        EXPECT_TRUE(QDir(dir.filePath("folder.lrc")).isEmpty());
    }
}

} // namespace
