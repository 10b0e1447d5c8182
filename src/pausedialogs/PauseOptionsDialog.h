#pragma once

#include "pauses/PauseAnalysis.h"

#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;
class QSpinBox;

namespace lurvo::pausedialogs {

// The settings for finding sentences in a measured lesson: the shortest pause that ends a
// sentence and how far below the speech silence lies, with the number of sentences they give,
// counted again on every change.
class PauseOptionsDialog : public QDialog {
public:
    // The envelope must outlive the dialog.
    PauseOptionsDialog(const pauses::Envelope& envelope, QWidget* parent);

    // The chosen settings, or none when the learner cancels.
    static std::optional<pauses::PauseOptions> ask(const pauses::Envelope& envelope,
                                                   QWidget* parent);

    pauses::PauseOptions options() const;
    int sentenceCount() const { return count_; }

private:
    void recount();

    const pauses::Envelope& envelope_;
    QSpinBox* minPause_ = nullptr;
    QSpinBox* silence_ = nullptr;
    QLabel* countText_ = nullptr;
    QPushButton* okButton_ = nullptr;
    int count_ = 0;
};

} // namespace lurvo::pausedialogs
