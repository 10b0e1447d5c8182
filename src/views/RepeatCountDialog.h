#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;

namespace lurvo::views {

// Asks how many times each sentence is read. Any entry is taken: it is clamped to 0..9.
class RepeatCountDialog : public QDialog {
public:
    RepeatCountDialog(int currentCount, QWidget* parent);

    // The count after "确定"; nothing after "取消".
    static std::optional<int> ask(int currentCount, QWidget* parent);

private:
    QLineEdit* edit_;
};

} // namespace lurvo::views
