#pragma once

#include "split/SplitContext.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace lurvo::split {

// Asks which sentences to cut into segments of how many sentences, how to number them, where
// to put them and how to find the cut points; "切割" then runs the progress dialog and closes
// with kDone. Entries that cannot work keep the dialog open: an unusable number of sentences
// per segment or no folder with the invalid-input sound, a folder that cannot be written with
// an error box. Segment files of the same names already in the folder are overwritten only
// after 是 to one question; 否 keeps the dialog open.
class SplitDialog : public QDialog {
public:
    static constexpr int kDone = 1;
    static constexpr int kCancelled = 2;

    // The context's document must outlive the dialog.
    SplitDialog(SplitContext context, QWidget* parent);

    // "取消" and the close box.
    void reject() override { done(kCancelled); }

private:
    void chooseFolder();
    void confirm();
    void refuse(QLineEdit* field, bool select);

    SplitContext context_;
    QLineEdit* start_ = nullptr;
    QLineEdit* end_ = nullptr;
    QLineEdit* perSegment_ = nullptr;
    QLineEdit* firstNumber_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QRadioButton* frameExact_ = nullptr;
};

// Runs the split dialog modally over owner; kDone after a run, kCancelled otherwise (also at
// once when no lesson with subtitles is loaded).
int ShowSplitDialog(const SplitContext& context, QWidget* owner);

} // namespace lurvo::split
