#pragma once

#include "subtitles/SubtitleDocument.h"

#include <QDialog>

#include <functional>

class QLineEdit;

namespace lurvo::subtitles {

// The modal dialog that moves one line's start time. A time that is not strictly between the
// neighbouring lines' starts, or not written as mm:ss.xx, is refused with a sound only: the
// dialog stays open with the entry selected for another try.
class AdjustTimeDialog : public QDialog {
public:
    AdjustTimeDialog(SubtitleDocument& doc, int index, std::function<void()> invalidInputSound,
                     QWidget* parent = nullptr);

    // Runs the dialog; true when the line's start time was changed.
    static bool adjust(SubtitleDocument& doc, int index, std::function<void()> invalidInputSound,
                       QWidget* parent);

private:
    void confirm();

    SubtitleDocument& doc_;
    int index_;
    std::function<void()> invalidInputSound_;
    QLineEdit* edit_ = nullptr;
};

} // namespace lurvo::subtitles
