#pragma once

#include "subtitles/SentenceMode.h"
#include "subtitles/SubtitleDocument.h"

#include <QString>

#include <functional>

class QWidget;

namespace lurvo::split {

// What the split dialogs need from the program: the open lesson, the splitter program and the
// few services they use to talk to the learner.
struct SplitContext {
    subtitles::SubtitleDocument* document = nullptr; // the open lesson's
    subtitles::SentenceMode mode = subtitles::SentenceMode::OneLine;
    QString lessonPath;
    QString splitterProgram; // full path of mp3splt
    std::function<void()> invalidInputSound;
    // An error box with the product title as caption.
    std::function<void(const QString& text)> showError;
    // An information box with the product title as caption.
    std::function<void(const QString& text)> showInformation;
    // A question box with the product title as caption and the buttons 是 and 否; true for 是.
    std::function<bool(const QString& text)> askYesNo;
    // A folder chooser owned by owner; empty when cancelled.
    std::function<QString(QWidget* owner, const QString& title)> chooseFolder;
};

// A context for the running program: the lesson as given, mp3splt looked up in the resource
// folder and then on PATH, the notification sound, message boxes and the system's folder
// dialog.
SplitContext systemSplitContext(subtitles::SubtitleDocument* document, subtitles::SentenceMode mode,
                                const QString& lessonPath);

} // namespace lurvo::split
