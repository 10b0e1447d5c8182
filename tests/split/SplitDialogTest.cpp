#include "split/SplitDialog.h"
#include "split/BusyIndicator.h"
#include "split/ProgressDialog.h"
#include "split/SplitRunner.h"

#include "DialogTestSupport.h"
#include "SplitTestSupport.h"
#include "app/StringTable.h"

#include <QDir>
#include <QGroupBox>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using namespace lurvo;
using namespace lurvo::split;
using lurvo::subtitles::SentenceMode;
using namespace lurvo::test;

namespace {

struct Rig {
    QTemporaryDir dir;
    QString out = dir.filePath(QStringLiteral("out"));
    QString log = dir.filePath(QStringLiteral("log"));
    QString lesson = dir.filePath(QStringLiteral("a.mp3"));
    subtitles::SubtitleDocument doc = evenLines(10);
    Recorder told;

    Rig() { QDir().mkpath(out); }

    QStringList outFiles() const { return QDir(out).entryList(QDir::Files, QDir::Name); }
};

QString trueProgram() {
    return QStandardPaths::findExecutable(QStringLiteral("true"));
}

void fill(SplitDialog& dialog, const char* start, const char* end, const char* per,
          const char* first) {
    editOf(&dialog, "startEdit")->setText(QString::fromUtf8(start));
    editOf(&dialog, "endEdit")->setText(QString::fromUtf8(end));
    editOf(&dialog, "perSegmentEdit")->setText(QString::fromUtf8(per));
    editOf(&dialog, "firstNumberEdit")->setText(QString::fromUtf8(first));
}

TEST(SplitDialog, ShowsItsFieldsWithTheirFirstValues) {
    const struct {
        int lines;
        SentenceMode mode;
        const char* end;
    } cases[] = {
        {10, SentenceMode::OneLine, "10"},
        {10, SentenceMode::TwoLinesEvenHead, "6"},
        {9, SentenceMode::TwoLinesOddHead, "5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.end);
        Rig rig;
        rig.doc = evenLines(c.lines);
        SplitDialog dialog(rig.told.context(&rig.doc, c.mode, rig.lesson, trueProgram()), nullptr);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("按句切割"));
        EXPECT_TRUE(dialog.isModal());
        EXPECT_EQ(editOf(&dialog, "startEdit")->text(), QStringLiteral("1"));
        EXPECT_EQ(editOf(&dialog, "endEdit")->text(), QString::fromUtf8(c.end));
        EXPECT_EQ(editOf(&dialog, "perSegmentEdit")->text(), QStringLiteral("1"));
        EXPECT_EQ(editOf(&dialog, "firstNumberEdit")->text(), QStringLiteral("0"));
        QLineEdit* folder = editOf(&dialog, "folderEdit");
        ASSERT_NE(folder, nullptr);
        EXPECT_TRUE(folder->text().isEmpty());
        EXPECT_TRUE(folder->isReadOnly());

        QStringList groups;
        for (const QGroupBox* box : dialog.findChildren<QGroupBox*>())
            groups << box->title();
        EXPECT_EQ(groups, (QStringList{"按句切割（包括字幕）", "切割点定位方式"}));
        const QStringList labels = labelTexts(&dialog);
        for (const char* text : {"开始句：", "结束句：", "每几句一切割：", "命名方法：",
                                 "原文件名_四位序号", "命名起始序号：", "存放于：",
                                 "（应尽量不要含特殊字符）", "逐帧计算欠佳时，\n再尝试位率估计。"})
            EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;
        const auto* frame = dialog.findChild<QRadioButton*>(QStringLiteral("frameExactRadio"));
        const auto* estimate = dialog.findChild<QRadioButton*>(QStringLiteral("bitrateRadio"));
        ASSERT_NE(frame, nullptr);
        ASSERT_NE(estimate, nullptr);
        EXPECT_EQ(frame->text(), QStringLiteral("逐帧计算"));
        EXPECT_EQ(estimate->text(), QStringLiteral("位率估计"));
        EXPECT_TRUE(frame->isChecked());
        EXPECT_FALSE(estimate->isChecked());
        for (const char* text : {"…", "切割", "取消"})
            EXPECT_NE(buttonOf(&dialog, QString::fromUtf8(text)), nullptr) << text;
        EXPECT_TRUE(buttonOf(&dialog, QStringLiteral("切割"))->isDefault());
    }
}

TEST(SplitDialog, FolderButtonAsksForAFolderAndKeepsTheOldOneOnCancel) {
    Rig rig;
    SplitDialog dialog(rig.told.context(&rig.doc, SentenceMode::OneLine, rig.lesson, {}), nullptr);
    rig.told.folderAnswer = QStringLiteral("/some where/it's $here");
    click(&dialog, QStringLiteral("…"));
    EXPECT_EQ(editOf(&dialog, "folderEdit")->text(), rig.told.folderAnswer);
    rig.told.folderAnswer.clear();
    click(&dialog, QStringLiteral("…"));
    EXPECT_EQ(editOf(&dialog, "folderEdit")->text(), QStringLiteral("/some where/it's $here"));
    ASSERT_EQ(rig.told.folderRequests.size(), 2);
    EXPECT_EQ(rig.told.folderRequests[0].first, &dialog);
    EXPECT_EQ(rig.told.folderRequests[0].second, QStringLiteral("切割出的片段存放于："));
}

TEST(SplitDialog, CancelAndTheCloseBoxEndWithTwo) {
    for (const bool closeBox : {false, true}) {
        Rig rig;
        SplitDialog dialog(rig.told.context(&rig.doc, SentenceMode::OneLine, rig.lesson, {}),
                           nullptr);
        dialog.show();
        if (closeBox)
            dialog.close();
        else
            click(&dialog, QStringLiteral("取消"));
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), SplitDialog::kCancelled);
    }
}

TEST(SplitDialog, UnusableEntriesAreRefusedWithASoundAndTheDialogStaysOpen) {
    const struct {
        const char* per;
        bool folderGiven;
        const char* focused;
        const char* selected;
    } cases[] = {
        {"0", true, "perSegmentEdit", "0"},
        {"", true, "perSegmentEdit", ""},
        {"three", true, "perSegmentEdit", "three"},
        {"-2", true, "perSegmentEdit", "-2"},
        {"2147483648", true, "perSegmentEdit", "2147483648"},
        {"4294967296", true, "perSegmentEdit", "4294967296"},
        {"2", false, "folderEdit", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.per);
        Rig rig;
        SplitDialog dialog(
            rig.told.context(&rig.doc, SentenceMode::OneLine, rig.lesson, trueProgram()), nullptr);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        fill(dialog, "0", "99", c.per, "3");
        if (c.folderGiven)
            editOf(&dialog, "folderEdit")->setText(rig.out);
        buttonOf(&dialog, QStringLiteral("切割"))->setFocus();
        click(&dialog, QStringLiteral("切割"));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(rig.told.sounds, 1);
        QLineEdit* field = editOf(&dialog, c.focused);
        EXPECT_TRUE(field->hasFocus());
        EXPECT_EQ(field->selectedText(), QString::fromUtf8(c.selected));
        // Nothing corrected, nothing cut.
        EXPECT_EQ(editOf(&dialog, "startEdit")->text(), QStringLiteral("0"));
        EXPECT_TRUE(rig.outFiles().isEmpty());
        EXPECT_TRUE(rig.told.informations.isEmpty());
        EXPECT_TRUE(rig.told.errors.isEmpty());
    }
}

TEST(SplitDialog, AFolderThatCannotBeWrittenIsReportedAndTheDialogStaysOpen) {
    Rig rig;
    const QString plainFile = rig.dir.filePath(QStringLiteral("plain"));
    {
        QFile f(plainFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const struct {
        QString folder;
        int error;
    } cases[] = {
        {plainFile, ENOTDIR},
        {rig.dir.filePath(QStringLiteral("missing")), ENOENT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        rig.told = Recorder();
        SplitDialog dialog(
            rig.told.context(&rig.doc, SentenceMode::OneLine, rig.lesson, trueProgram()), nullptr);
        dialog.show();
        fill(dialog, "0", "0", "3", "1");
        editOf(&dialog, "folderEdit")->setText(c.folder);
        click(&dialog, QStringLiteral("切割"));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(rig.told.errors,
                  QStringList{app::stringText(1057, QString::fromLocal8Bit(strerror(c.error)))});
        EXPECT_TRUE(rig.told.errors.value(0).contains(QString::fromLocal8Bit(strerror(c.error))));
        EXPECT_EQ(rig.told.sounds, 0);
        EXPECT_EQ(editOf(&dialog, "startEdit")->text(), QStringLiteral("0"));
        EXPECT_TRUE(rig.told.informations.isEmpty());
    }
}

TEST(SplitDialog, CutShowsTheCorrectedNumbersAndRunsTheSegments) {
    const struct {
        const char* name;
        const char* typed[4]; // start, end, per segment, first number
        const char* shown[4];
        bool trailingSlash;
        QStringList files;
    } cases[] = {
        {"start and end 0",
         {"0", "0", "4", "7"},
         {"1", "10", "4", "7"},
         false,
         {"a_0007.lrc", "a_0007.mp3", "a_0008.lrc", "a_0008.mp3", "a_0009.lrc", "a_0009.mp3"}},
        {"past the end, end below start",
         {"12", "3", "20", " 5"},
         {"10", "10", "20", "5"},
         true,
         {"a_0005.lrc", "a_0005.mp3"}},
        {"wrapped numbers",
         {"4294967295", "2", "1", "2147483648"},
         {"1", "2", "1", "0"},
         false,
         {"a_0000.lrc", "a_0000.mp3", "a_0001.lrc", "a_0001.mp3"}},
        {"first number 9999",
         {"9", "", "1", "9999"},
         {"9", "10", "1", "9999"},
         false,
         {"a_10000.lrc", "a_10000.mp3", "a_9999.lrc", "a_9999.mp3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        const QString program = rig.dir.filePath(QStringLiteral("splitter"));
        writeFakeSplitter(program, rig.log, "0");
        SplitDialog dialog(rig.told.context(&rig.doc, SentenceMode::OneLine, rig.lesson, program),
                           nullptr);
        dialog.show();
        fill(dialog, c.typed[0], c.typed[1], c.typed[2], c.typed[3]);
        editOf(&dialog, "folderEdit")->setText(c.trailingSlash ? rig.out + u'/' : rig.out);
        click(&dialog, QStringLiteral("切割"));
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), SplitDialog::kDone);
        EXPECT_EQ(editOf(&dialog, "startEdit")->text(), QString::fromUtf8(c.shown[0]));
        EXPECT_EQ(editOf(&dialog, "endEdit")->text(), QString::fromUtf8(c.shown[1]));
        EXPECT_EQ(editOf(&dialog, "perSegmentEdit")->text(), QString::fromUtf8(c.shown[2]));
        EXPECT_EQ(editOf(&dialog, "firstNumberEdit")->text(), QString::fromUtf8(c.shown[3]));
        EXPECT_EQ(rig.outFiles(), c.files);
        EXPECT_TRUE(rig.told.questions.isEmpty());
        EXPECT_EQ(rig.told.informations, QStringList{QStringLiteral("切割完成")});
        EXPECT_EQ(rig.told.sounds, 0);
        EXPECT_TRUE(rig.told.errors.isEmpty());
    }
}

TEST(SplitDialog, AsksOnceBeforeOverwritingSegmentFilesAndNoKeepsThem) {
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes);
        Rig rig;
        const QString program = rig.dir.filePath(QStringLiteral("splitter"));
        writeFakeSplitter(program, rig.log, "0");
        for (const char* name : {"a_0001.mp3", "a_0001.lrc", "a_0003.lrc"})
            writeFile(rig.out + u'/' + QLatin1StringView(name), "mine");
        rig.told.answer = yes;
        SplitDialog dialog(rig.told.context(&rig.doc, SentenceMode::OneLine, rig.lesson, program),
                           nullptr);
        dialog.show();
        fill(dialog, "1", "10", "3", "0");
        editOf(&dialog, "folderEdit")->setText(rig.out);
        click(&dialog, QStringLiteral("切割"));
        ASSERT_EQ(rig.told.questions.size(), 1);
        EXPECT_EQ(rig.told.questions.at(0), overwriteQuestion(3, rig.out + "/a_0001.mp3"));
        if (!yes) {
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_TRUE(logLines(rig.log).isEmpty());
            EXPECT_EQ(readFile(rig.out + "/a_0001.mp3"), "mine");
            EXPECT_EQ(rig.outFiles(), (QStringList{"a_0001.lrc", "a_0001.mp3", "a_0003.lrc"}));
            EXPECT_TRUE(rig.told.informations.isEmpty());
            dialog.reject();
            continue;
        }
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(logLines(rig.log).size(), 8);
        EXPECT_EQ(readFile(rig.out + "/a_0001.mp3"), "ID3");
        EXPECT_NE(readFile(rig.out + "/a_0003.lrc"), "mine");
        EXPECT_EQ(rig.told.informations, QStringList{QStringLiteral("切割完成")});
    }
}

SplitJob threeSegments(const QString& folder) {
    SplitJob job;
    job.startSentence = 1;
    job.endSentence = 6;
    job.sentencesPerSegment = 2;
    job.destFolder = folder;
    return job;
}

TEST(ProgressDialog, CountsTheSegmentsAndSaysWhenItIsDone) {
    Rig rig;
    const QString program = rig.dir.filePath(QStringLiteral("splitter"));
    writeFakeSplitter(program, rig.log, "0.05");
    ProgressDialog dialog(rig.told.context(&rig.doc, SentenceMode::OneLine, rig.lesson, program),
                          threeSegments(rig.out), nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("按句切割中…"));
    EXPECT_TRUE(labelTexts(&dialog).contains(QStringLiteral("按句切割中…")));
    ASSERT_NE(buttonOf(&dialog, QStringLiteral("终止")), nullptr);
    EXPECT_TRUE(buttonOf(&dialog, QStringLiteral("终止"))->isDefault());
    auto* animation = dialog.findChild<BusyIndicator*>(QStringLiteral("animation"));
    ASSERT_NE(animation, nullptr);
    EXPECT_TRUE(animation->isRunning());
    const auto* progress = dialog.findChild<QLabel*>(QStringLiteral("progressText"));
    ASSERT_NE(progress, nullptr);

    // The texts shown, as a learner watching the dialog would see them.
    QStringList seen;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!progress->text().isEmpty() && (seen.isEmpty() || seen.last() != progress->text()))
            seen << progress->text();
    });
    watch.start();
    EXPECT_EQ(dialog.exec(), ProgressDialog::kCompleted);
    EXPECT_EQ(seen, (QStringList{"1 / 3", "2 / 3", "3 / 3"}));
    EXPECT_EQ(rig.told.informations, QStringList{QStringLiteral("切割完成")});
    EXPECT_FALSE(animation->isRunning());
    EXPECT_EQ(logLines(rig.log).size(), 6);
}

TEST(ProgressDialog, StopStartsNoFurtherSegmentAndTheRunningOneFinishes) {
    for (const bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox);
        Rig rig;
        const QString program = rig.dir.filePath(QStringLiteral("splitter"));
        writeFakeSplitter(program, rig.log, "0.5");
        ProgressDialog dialog(
            rig.told.context(&rig.doc, SentenceMode::OneLine, rig.lesson, program),
            threeSegments(rig.out), nullptr);
        whenShown<ProgressDialog>([&](ProgressDialog* shown) {
            const auto* progress = shown->findChild<QLabel*>(QStringLiteral("progressText"));
            ASSERT_TRUE(waitUntil([&] { return !logLines(rig.log).isEmpty(); }, 5000));
            EXPECT_EQ(progress->text(), QStringLiteral("1 / 3"));
            if (closeBox)
                shown->close();
            else
                click(shown, QStringLiteral("终止"));
        });
        EXPECT_EQ(dialog.exec(), ProgressDialog::kStopped);
        EXPECT_FALSE(dialog.findChild<BusyIndicator*>()->isRunning());
        ASSERT_TRUE(waitUntil([&] { return logLines(rig.log).size() == 2; }, 5000));
        // Longer than a tick and a segment: a next start would be in the log by now.
        waitUntil([] { return false; }, 700);
        const QStringList log = logLines(rig.log);
        ASSERT_EQ(log.size(), 2);
        EXPECT_EQ(log.at(1), QStringLiteral("end"));
        EXPECT_EQ(rig.outFiles(), (QStringList{"a_0000.lrc", "a_0000.mp3"}));
        EXPECT_TRUE(rig.told.informations.isEmpty());
        EXPECT_TRUE(rig.told.errors.isEmpty());
    }
}

TEST(ProgressDialog, FailedSegmentsAreCountedInsteadOfSayingItIsDone) {
    const struct {
        const char* failing;
        QString error;
    } cases[] = {
        {"*", QStringLiteral("切割失败：3 个片段都没有切出。")},
        {"a_0001", QStringLiteral("切割结束，但 3 个片段中有 1 个没有切出（第一个：a_0001）。")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing);
        Rig rig;
        const QString program = rig.dir.filePath(QStringLiteral("splitter"));
        writeFakeSplitter(program, rig.log, "0", c.failing);
        ProgressDialog dialog(
            rig.told.context(&rig.doc, SentenceMode::OneLine, rig.lesson, program),
            threeSegments(rig.out), nullptr);
        EXPECT_EQ(dialog.exec(), ProgressDialog::kCompleted);
        EXPECT_EQ(rig.told.errors, QStringList{c.error});
        EXPECT_TRUE(rig.told.informations.isEmpty());
        EXPECT_FALSE(rig.outFiles().contains(QStringLiteral("a_0001.lrc")));
    }
}

TEST(ProgressDialog, ASplitterThatNeverStartsEndsTheRunWithAnError) {
    Rig rig;
    const QString missing = rig.dir.filePath(QStringLiteral("no mp3splt here"));
    ProgressDialog dialog(rig.told.context(&rig.doc, SentenceMode::OneLine, rig.lesson, missing),
                          threeSegments(rig.out), nullptr);
    EXPECT_EQ(dialog.exec(), ProgressDialog::kStopped);
    EXPECT_EQ(rig.told.errors, QStringList{splitterStartFailedText(missing)});
    EXPECT_TRUE(rig.told.errors.value(0).contains(missing));
    EXPECT_TRUE(rig.told.informations.isEmpty());
}

} // namespace
