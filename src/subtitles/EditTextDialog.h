#pragma once

#include "subtitles/SubtitleDocument.h"

#include <QDialog>

class QPlainTextEdit;

namespace lurvo::subtitles {

// The modal dialog that corrects one line's text. "确定" stores the text typed, line breaks
// turned into spaces, unless it is the text the line already has.
class EditTextDialog : public QDialog {
public:
    EditTextDialog(SubtitleDocument& doc, int index, QWidget* parent = nullptr);

    // Runs the dialog; true when the line's text was changed.
    static bool edit(SubtitleDocument& doc, int index, QWidget* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void confirm();

    SubtitleDocument& doc_;
    int index_;
    QPlainTextEdit* edit_ = nullptr;
};

} // namespace lurvo::subtitles
