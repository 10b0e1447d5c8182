#pragma once

#include <QDialog>
#include <QString>

#include <optional>

class QLineEdit;

namespace lurvo::subtitles {

// The modal dialog that sets the lesson's subtitle offset. It only reads the learner's value;
// storing and applying it is the caller's business.
class OffsetDialog : public QDialog {
public:
    OffsetDialog(int currentOffsetMs, QWidget* parent = nullptr);

    // The offset after "确定", clamped; the one given at opening until then.
    int offsetMs() const { return offsetMs_; }

    // Runs the dialog; the new offset after "确定", nothing after "取消" or closing it.
    static std::optional<int> ask(int currentOffsetMs, QWidget* parent);

private:
    void confirm();

    QLineEdit* edit_ = nullptr;
    int offsetMs_ = 0;
};

// The control panel's text for an offset: "提前%d毫秒", "延后%d毫秒" or "0".
QString lessonOffsetText(int offsetMs);

} // namespace lurvo::subtitles
