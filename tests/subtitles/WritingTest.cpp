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
    EXPECT_EQ(read(path), QString::fromUtf8("[ti:課]\r\n[offset:500]\r\n"
                                            "[00:05.00]你好\r\n[00:10.00]b\r\n")
                              .toUtf8());
}

// An edit of one line of a lesson, and the file the save must leave.
struct EditCase {
    const char* name;
    QByteArray source;
    int startMs;      // the line to edit, by its start
    const char* text; // its new text, or null to keep it
    int newStartMs;   // its new start, or -1 to keep it
    QByteArray saved;
};

TEST_F(Writing, SaveChangesOnlyWhatTheLearnerChanged) {
    // Everything a file can hold besides timed lines, with LF line ends.
    const QByteArray rich = "[ti:x]\n[ar:y]\n\n[00:01.234]one\n[by:z]\nuntimed words\n\n"
                            "[00:-03.00]skipped\n[00:02.00]<00:02.00>word <00:02.50>tags\n"
                            "[00:03.00]" +
                            QByteArray(600, 'L') + "\n[00:04.00]last";
    const EditCase cases[] = {
        {"time of one line", rich, 2000, nullptr, 2250,
         QByteArray(rich).replace("[00:02.00]<00", "[00:02.25]<00")},
        {"text of a line with word tags", rich, 2000, "new", -1,
         QByteArray(rich).replace("[00:02.00]<00:02.00>word <00:02.50>tags", "[00:02.00]new")},
        {"hundredths kept when another line changes", rich, 4000, "end", -1,
         QByteArray(rich).replace("[00:04.00]last", "[00:04.00]end")},
        {"the text beyond 511 units stays with an unchanged text", rich, 3000, nullptr, 3500,
         QByteArray(rich).replace("[00:03.00]LLL", "[00:03.50]LLL")},
        {"shared line, one time moved", "[00:01.00][00:03.00]same\r\n[00:02.00]mid\r\n", 3000,
         nullptr, 3300, "[00:01.00][00:03.30]same\r\n[00:02.00]mid\r\n"},
        {"shared line, one text changed", "[00:01.00][00:03.00]<00:03.10>same\r\n[00:02.00]mid",
         3000, "new", -1, "[00:01.00]<00:03.10>same\r\n[00:03.00]new\r\n[00:02.00]mid"},
        {"shared line, first text changed", "[ti:a] [00:01.00][00:03.00]same\n", 1000, "new", 1500,
         "[ti:a] [00:01.50]new\n[00:03.00]same\n"},
        {"tags after text on the first line", "[ti:x] [00:01.00]a", 1000, "b", -1,
         "[ti:x] [00:01.00]b"},
        {"CR line ends, last line without one", "[00:01.00]a\r[00:02.00][00:05.00]b", 5000, "c", -1,
         "[00:01.00]a\r[00:02.00]b\r[00:05.00]c"},
        {"edited back to what it was", "[00:01.00]a\r\n[00:02.00]b\r\n", 2000, "b", -1,
         "[00:01.00]a\r\n[00:02.00]b\r\n"},
        {"UTF-8 signature kept", "\xEF\xBB\xBF[00:01.00]\xE5\x97\xA8\n", 1000, "b", -1,
         "\xEF\xBB\xBF[00:01.00]b\n"},
        {"bytes after a zero kept", QByteArray("[00:01.00]a\n\0tail", 17), 1000, "b", -1,
         QByteArray("[00:01.00]b\n\0tail", 17)},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = write("case.lrc", c.source);
        SubtitleDocument doc;
        ASSERT_EQ(doc.load(path), 1);
        int index = -1;
        for (int i = 0; i < doc.lineCount(); ++i)
            if (doc.line(i).startMs == c.startMs)
                index = i;
        ASSERT_GE(index, 0);
        if (c.text)
            doc.setLineText(index, QString::fromUtf8(c.text));
        if (c.newStartMs >= 0)
            doc.setLineStart(index, c.newStartMs);
        ASSERT_EQ(doc.save(), 0);
        EXPECT_EQ(read(path), c.saved);
        EXPECT_FALSE(doc.convertedToUtf8);
    }
}

TEST_F(Writing, EveryEncodingIsKept) {
    const QString oldText = QString::fromUtf8("我哋去飲茶啦。");
    const QString newText = QString::fromUtf8("我哋去飲茶啦！😀");
    const struct {
        const char* fixture;
        QStringConverter::Encoding encoding;
        const char* legacy;
    } cases[] = {
        {"encodings/cantonese.utf8.lrc", QStringConverter::Utf8, nullptr},
        {"encodings/cantonese.utf8bom.lrc", QStringConverter::Utf8, nullptr},
        {"encodings/cantonese.utf16le.lrc", QStringConverter::Utf16LE, nullptr},
        {"encodings/cantonese.utf16be.lrc", QStringConverter::Utf16BE, nullptr},
        {"encodings/cantonese.gbk.lrc", QStringConverter::Utf8, "GB18030"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture);
        const QByteArray original = lurvo::test::readData(c.fixture);
        const QString path = write("lesson.lrc", original);
        SubtitleDocument doc;
        ASSERT_EQ(doc.load(path), 1);
        ASSERT_EQ(doc.line(1).text, oldText);
        doc.setLineText(1, newText);
        ASSERT_EQ(doc.save(), 0);
        QStringEncoder encoder = c.legacy ? QStringEncoder(c.legacy) : QStringEncoder(c.encoding);
        const QByteArray oldBytes = encoder.encode(oldText);
        const QByteArray newBytes = encoder.encode(newText);
        ASSERT_TRUE(original.contains(oldBytes));
        EXPECT_EQ(read(path), QByteArray(original).replace(oldBytes, newBytes));
        EXPECT_FALSE(doc.convertedToUtf8);
    }
}

TEST_F(Writing, Big5ThatCannotHoldTheNewTextBecomesUtf8WithASignature) {
    const QString path =
        write("big5.lrc", lurvo::test::readData("encodings/cantonese.big5hkscs.lrc"));
    SubtitleDocument doc;
    ASSERT_EQ(doc.load(path), 1);
    const QString before = QString::fromUtf8(lurvo::test::readData("encodings/cantonese.utf8.lrc"));
    // A Big5 character: the file stays Big5.
    doc.setLineText(0, QString::fromUtf8("你食咗飯未呀？"));
    doc.setLineStart(0, 500);
    ASSERT_EQ(doc.save(), 0);
    EXPECT_FALSE(doc.convertedToUtf8);
    SubtitleDocument again;
    ASSERT_EQ(again.load(path), 1);
    EXPECT_EQ(again.line(0).startMs, 500);
    EXPECT_EQ(again.source.encoding.legacyName, "Big5-HKSCS");

    // Beyond Big5: the whole text in UTF-8, every other line as it was.
    again.setLineText(2, QString::fromUtf8("呢度係邊度？😀"));
    ASSERT_EQ(again.save(), 0);
    EXPECT_TRUE(again.convertedToUtf8);
    const QString expected =
        QString(before)
            .replace(QStringLiteral("[00:00.40]"), QStringLiteral("[00:00.50]"))
            .replace(QString::fromUtf8("呢度係邊度？"), QString::fromUtf8("呢度係邊度？😀"));
    EXPECT_EQ(read(path), "\xEF\xBB\xBF" + expected.toUtf8());
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

TEST_F(Writing, TimesFromAnHourOnReadBack) {
    const QString path = write("long.lrc", "[00:01.00]a\r\n[59:59.99]b\r\n");
    SubtitleDocument doc;
    ASSERT_EQ(doc.load(path), 1);
    doc.setLineStart(1, 3723450);
    ASSERT_EQ(doc.save(), 0);
    EXPECT_EQ(read(path), "[00:01.00]a\r\n[1:02:03.45]b\r\n");
    SubtitleDocument reloaded;
    ASSERT_EQ(reloaded.load(path), 1);
    ASSERT_EQ(reloaded.lineCount(), 2);
    EXPECT_EQ(reloaded.line(1).startMs, 3723450);

    // With the offsets added back a time can pass what 32 bits hold: it is written as the largest.
    reloaded.appliedOffsetMs = 300;
    reloaded.setLineStart(1, std::numeric_limits<int>::max());
    ASSERT_EQ(reloaded.save(), 0);
    EXPECT_EQ(read(path), "[00:01.30]a\r\n[596:31:23.64]b\r\n");
}

TEST_F(Writing, DocumentNotReadFromAFileIsWrittenWholeAsUtf16) {
    SubtitleDocument doc;
    doc.path = dir.filePath("made.lrc");
    doc.header = QStringLiteral("[ti:x]\r\n");
    doc.lines.append({1000, QStringLiteral("a")});
    doc.lines.append({2000, QString::fromUtf8("乙")});
    doc.setLineText(0, QStringLiteral("b"));
    ASSERT_EQ(doc.save(), 0);
    EXPECT_EQ(read(doc.path), lurvo::test::utf16File(QString::fromUtf8("[ti:x]\r\n[00:01.00]b\r\n"
                                                                       "[00:02.00]乙\r\n")));
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
    EXPECT_EQ(read(path), "[00:01.00]b");
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
