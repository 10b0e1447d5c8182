#include "SpeechEnvelope.h"
#include "pausedialogs/PauseOptionsDialog.h"
#include "pausedialogs/PauseProgressDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>

using namespace lurvo::pausedialogs;
using lurvo::pauses::EnvelopeResult;

namespace {

QPushButton* buttonOf(QWidget* dialog, const char* text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == QString::fromUtf8(text))
            return button;
    return nullptr;
}

// Acts on the modal dialog once the caller's exec() has shown it.
void whenShown(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        act(dialog);
    });
}

int countShown(QWidget* dialog) {
    const QString text = dialog->findChild<QLabel*>("sentenceCount")->text();
    return text.section(u' ', 0, 0).toInt();
}

// Pauses of 250 ms and 1 s between three stretches of speech.
const lurvo::pauses::Envelope kTwoPauses = lurvo::test::speechEnvelope({250, 1000});

TEST(PauseOptionsDialog, StartsAtTheDefaultsAndCountsAgainOnEveryChange) {
    PauseOptionsDialog dialog(kTwoPauses, nullptr);
    auto* minPause = dialog.findChild<QSpinBox*>("minPause");
    auto* silence = dialog.findChild<QSpinBox*>("silenceBelowSpeech");
    ASSERT_TRUE(minPause && silence);
    EXPECT_EQ(minPause->value(), 350);
    EXPECT_EQ(silence->value(), 35);
    EXPECT_EQ(minPause->minimum(), 150);
    EXPECT_EQ(minPause->maximum(), 2000);

    EXPECT_EQ(dialog.sentenceCount(), 2) << "only the 1 s pause ends a sentence";
    EXPECT_EQ(countShown(&dialog), 2);
    minPause->setValue(200);
    EXPECT_EQ(dialog.sentenceCount(), 3);
    EXPECT_EQ(countShown(&dialog), 3);
    minPause->setValue(1500);
    EXPECT_EQ(dialog.sentenceCount(), 1);
    EXPECT_EQ(countShown(&dialog), 1);
    EXPECT_EQ(dialog.options().minPauseMs, 1500);
    silence->setValue(20);
    EXPECT_DOUBLE_EQ(dialog.options().silenceBelowSpeechDb, 20.0);
}

TEST(PauseOptionsDialog, OkGivesTheChosenSettingsAndCancelNone) {
    whenShown([](QWidget* dialog) {
        dialog->findChild<QSpinBox*>("minPause")->setValue(200);
        QTest::mouseClick(buttonOf(dialog, "确定"), Qt::LeftButton);
    });
    const auto chosen = PauseOptionsDialog::ask(kTwoPauses, nullptr);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->minPauseMs, 200);

    whenShown([](QWidget* dialog) { QTest::mouseClick(buttonOf(dialog, "取消"), Qt::LeftButton); });
    EXPECT_FALSE(PauseOptionsDialog::ask(kTwoPauses, nullptr));
    whenShown([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_FALSE(PauseOptionsDialog::ask(kTwoPauses, nullptr));
}

// Subtitles without a sentence would not open: nothing to confirm for a lesson without sound.
TEST(PauseOptionsDialog, NoSentenceCannotBeConfirmed) {
    const lurvo::pauses::Envelope empty;
    PauseOptionsDialog dialog(empty, nullptr);
    EXPECT_EQ(dialog.sentenceCount(), 0);
    EXPECT_FALSE(buttonOf(&dialog, "确定")->isEnabled());
}

// Work that reports its progress and then waits to be cancelled, for at most 10 s.
struct WaitingWork {
    std::atomic_bool sawCancel{false};
    std::atomic_bool onWorkerThread{false};
    PauseProgressDialog::Work work() {
        return [this](const std::function<void(int)>& progress, const std::atomic_bool* cancel) {
            onWorkerThread = QThread::currentThread() != qApp->thread();
            progress(400);
            EnvelopeResult result;
            for (int i = 0; i < 1000 && !*cancel; ++i)
                QThread::msleep(10);
            sawCancel = cancel->load();
            result.cancelled = sawCancel;
            return result;
        };
    }
};

TEST(PauseProgressDialog, CancelStopsTheWorkAndGivesNoEnvelope) {
    for (const bool byEscape : {false, true}) {
        WaitingWork waiting;
        int shownProgress = -1;
        // Cancelled once the bar shows the work's progress.
        std::function<void()> poll;
        poll = [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            auto* bar = dialog ? dialog->findChild<QProgressBar*>("progress") : nullptr;
            if (!bar || bar->value() <= 0)
                return QTimer::singleShot(10, poll);
            shownProgress = bar->value();
            if (byEscape)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                QTest::mouseClick(buttonOf(dialog, "取消"), Qt::LeftButton);
        };
        QTimer::singleShot(0, poll);
        QElapsedTimer clock;
        clock.start();
        const EnvelopeResult result = PauseProgressDialog::run(waiting.work(), nullptr);
        EXPECT_TRUE(result.cancelled) << byEscape;
        EXPECT_TRUE(result.envelope.levelsDb.isEmpty());
        EXPECT_TRUE(waiting.sawCancel) << "the dialog waits for the work to end";
        EXPECT_TRUE(waiting.onWorkerThread);
        EXPECT_EQ(shownProgress, 400);
        EXPECT_LT(clock.elapsed(), 5000) << "ended by the cancel, not by the work's own end";
    }
}

TEST(PauseProgressDialog, EndsByItselfWithTheWorksResult) {
    const auto finished = [](const std::function<void(int)>& progress, const std::atomic_bool*) {
        progress(1000);
        EnvelopeResult result;
        result.envelope = lurvo::test::speechEnvelope({1000});
        return result;
    };
    const EnvelopeResult done = PauseProgressDialog::run(finished, nullptr);
    EXPECT_FALSE(done.cancelled);
    EXPECT_TRUE(done.error.isEmpty());
    EXPECT_EQ(done.envelope.levelsDb.size(), lurvo::test::speechEnvelope({1000}).levelsDb.size());

    const auto failing = [](const std::function<void(int)>&, const std::atomic_bool*) {
        EnvelopeResult result;
        result.error = QStringLiteral("unreadable");
        return result;
    };
    const EnvelopeResult failed = PauseProgressDialog::run(failing, nullptr);
    EXPECT_FALSE(failed.cancelled);
    EXPECT_EQ(failed.error, "unreadable");
}

} // namespace
