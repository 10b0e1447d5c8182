#pragma once

// A read-along window's host for tests: the one-line lesson, recording from the tests' own sink
// monitor, and the main window's answers kept where a test can change or check them.
#include "TestSink.h"
#include "app/CommandIds.h"
#include "app/Settings.h"
#include "media/MediaPlayer.h"
#include "readalong/ReadAlongWindow.h"
#include "subtitles/SubtitleDocument.h"

#include <QFont>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>

namespace lurvo::test {

inline const QString kReadAlongLesson = QStringLiteral(LURVO_TEST_DATA "/lessons/one-line.mp3");

struct ReadAlongMessage {
    bool warning;
    QString text;
};

class ReadAlongFixture : public testing::Test {
protected:
    QTemporaryDir dir;
    app::Settings settings;
    subtitles::SubtitleDocument document;
    int currentLine = 0;
    QList<int> mainCommands;
    QList<ReadAlongMessage> messages;
    QString lessonPath = kReadAlongLesson;
    int closings = 0;
    int sounds = 0;
    int volume = -500;
    std::int64_t lengthMs = 0;
    QFont sentenceFont;
    readalong::ReadAlongMedia media = readalong::ReadAlongMedia::system();

    ReadAlongFixture() {
        EXPECT_EQ(document.load(QStringLiteral(LURVO_TEST_DATA "/lessons/one-line.lrc")), 1);
        media::MediaPlayer probe("fakesink");
        EXPECT_TRUE(probe.Open(kReadAlongLesson, nullptr, media::ParserOrder::Mpeg1First).ok());
        lengthMs = probe.LengthMs();
        settings.follow_bAutoPlay = false;
        // Records what the tests play, nothing else on the machine.
        settings.follow_aDevId = testMonitorIndex();
        EXPECT_GE(settings.follow_aDevId, 0) << testMonitorName().toStdString();
        media.message = [this](QWidget*, bool warning, const QString& text) {
            messages.append({warning, text});
        };
    }

    // The first message's text, for failure output.
    std::string firstMessage() const {
        return messages.isEmpty() ? std::string() : messages.constFirst().text.toStdString();
    }

    readalong::ReadAlongHost host() {
        readalong::ReadAlongHost h;
        h.settings = &settings;
        h.lessonPath = [this] { return lessonPath; };
        h.document = [this] { return &document; };
        h.mode = [] { return subtitles::SentenceMode::OneLine; };
        h.currentLine = [this] { return currentLine; };
        h.sentenceText = [this] { return document.line(currentLine).text; };
        h.sentenceFont = [this] { return sentenceFont; };
        h.channel = [] { return 0; };
        h.volume = [this] { return volume; };
        h.lessonLengthMs = [this] { return lengthMs; };
        h.mainCommand = [this](int command) {
            mainCommands << command;
            const int step = command == app::CmdNext ? 1 : -1;
            currentLine = std::clamp(currentLine + step, 0, document.lineCount() - 1);
        };
        h.invalidInputSound = [this] { ++sounds; };
        h.closed = [this] { ++closings; };
        return h;
    }

    std::unique_ptr<readalong::ReadAlongWindow> open() {
        auto window = readalong::ReadAlongWindow::open(host(), media, nullptr);
        EXPECT_TRUE(window) << "a capture device is needed: the sound server's null sink";
        if (window)
            window->show();
        return window;
    }
};

} // namespace lurvo::test
