#include "subtitles/Recovery.h"

#include "TestData.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace lurvo::subtitles;

namespace {

class Recovery : public lurvo::test::TempFolderTest {
protected:
    const QByteArray lesson = "[ti:x]\r\n[offset:100]\r\n[00:01.00]one\r\n"
                              "[00:02.00][00:04.00]two\r\n[00:03.00]three\r\n";
    QString lrc;
    QString recovery;

    void SetUp() override {
        lrc = write("lesson.lrc", lesson);
        recovery = recoveryPathFor(lrc);
    }
};

TEST_F(Recovery, EditsComeBackAsUnsavedEditsOfTheSameLines) {
    EXPECT_EQ(recovery, dir.filePath("lesson.lrc.recovery"));
    SubtitleDocument doc;
    ASSERT_EQ(doc.load(lrc), 1);
    doc.applyOffset(300);
    doc.setLineText(2, QString::fromUtf8("三 😀")); // "three"
    doc.setLineStart(3, 3200);                     // "two" at 4 s
    ASSERT_EQ(writeRecovery(doc, recovery), 0);
    EXPECT_EQ(read(lrc), lesson) << "the subtitle file itself is not touched";

    // Opened again, possibly with another per-lesson offset.
    SubtitleDocument again;
    ASSERT_EQ(again.load(lrc), 1);
    again.applyOffset(-200);
    EXPECT_EQ(restoreRecovery(again, recovery), 2);
    EXPECT_TRUE(again.modified);
    ASSERT_EQ(again.lineCount(), doc.lineCount());
    for (int i = 0; i < doc.lineCount(); ++i) {
        EXPECT_EQ(again.fileTimeOf(again.line(i)), doc.fileTimeOf(doc.line(i))) << i;
        EXPECT_EQ(again.line(i).text, doc.line(i).text) << i;
    }
    // Saved, they are the same edits as if never interrupted.
    ASSERT_EQ(again.save(), 0);
    EXPECT_EQ(read(lrc), QString::fromUtf8("[ti:x]\r\n[offset:100]\r\n[00:01.00]one\r\n"
                                           "[00:02.00][00:03.60]two\r\n[00:03.00]三 😀\r\n")
                             .toUtf8());
}

TEST_F(Recovery, EditsOfLinesChangedSinceAreLeftOut) {
    SubtitleDocument doc;
    ASSERT_EQ(doc.load(lrc), 1);
    doc.setLineText(0, QStringLiteral("ONE"));
    doc.setLineText(2, QStringLiteral("THREE"));
    ASSERT_EQ(writeRecovery(doc, recovery), 0);
    // Someone corrected the file by hand in between.
    write("lesson.lrc", QByteArray(lesson).replace("three", "drei"));
    SubtitleDocument again;
    ASSERT_EQ(again.load(lrc), 1);
    EXPECT_EQ(restoreRecovery(again, recovery), 1);
    EXPECT_EQ(again.line(0).text, "ONE");
    EXPECT_EQ(again.line(2).text, "drei");

    SubtitleDocument untouched;
    ASSERT_EQ(untouched.load(lrc), 1);
    EXPECT_EQ(restoreRecovery(untouched, dir.filePath("absent")), -1);
    EXPECT_EQ(restoreRecovery(untouched, write("stray.json", "{\"edits\":[]}")), -1);
    EXPECT_FALSE(untouched.modified);
}

} // namespace
