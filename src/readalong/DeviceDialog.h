#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>
#include <optional>

class QListWidget;

namespace lurvo::readalong {

// Lists the capture devices by name for the learner to pick one. "确定" without a choice only
// sounds the invalid-input note.
class DeviceDialog : public QDialog {
public:
    DeviceDialog(const QStringList& names, int current, std::function<void()> invalidInputSound,
                 QWidget* parent);
    // The chosen index after "确定"; nothing after "取消".
    static std::optional<int> choose(const QStringList& names, int current,
                                     std::function<void()> invalidInputSound, QWidget* parent);
    QListWidget* list() const { return list_; }

private:
    void confirm();

    QListWidget* list_;
    std::function<void()> invalidInputSound_;
};

} // namespace lurvo::readalong
