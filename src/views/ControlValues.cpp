#include "views/ControlValues.h"

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace lurvo::views {

int sliderPositionForVolume(int volume) {
    const double position = std::pow(10.0, volume / 5000.0 + 2.0);
    return std::clamp(static_cast<int>(position), kSliderMin, kSliderMax);
}

int volumeForSliderPosition(int position) {
    const int p = std::clamp(position, kSliderMin, kSliderMax);
    return static_cast<int>((std::log10(double(p)) - 2.0) * 5000.0);
}

int repeatCountFromText(QStringView text) {
    // Only digits make a number: no sign, no spaces inside, nothing after.
    const QStringView digits = text.trimmed();
    if (digits.isEmpty() ||
        !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return 0;
    bool ok = false;
    const std::uint32_t value = digits.toString().toUInt(&ok);
    if (!ok)
        return 0; // beyond 32 bits
    return std::clamp(static_cast<std::int32_t>(value), 0, 9);
}

namespace {

constexpr int kSecondChoices = 10;
constexpr int kLengthChoices[] = {50, 100, 150, 200};

} // namespace

QString speedText(int percent) {
    return QStringLiteral("%1×").arg(percent / 100.0, 0, 'f', 2);
}

int gapChoiceCount() {
    return 1 + kSecondChoices + int(std::size(kLengthChoices));
}

GapChoice gapChoiceAt(int index) {
    if (index >= 1 && index <= kSecondChoices)
        return {1, index};
    const int length = index - 1 - kSecondChoices;
    if (length >= 0 && length < int(std::size(kLengthChoices)))
        return {2, kLengthChoices[length]};
    return {};
}

int gapChoiceIndex(int mode, int value) {
    for (int i = 0; i < gapChoiceCount(); ++i)
        if (gapChoiceAt(i) == GapChoice{mode, value})
            return i;
    return 0;
}

QString gapChoiceText(int index) {
    const GapChoice choice = gapChoiceAt(index);
    switch (choice.mode) {
    case 1:
        return QCoreApplication::translate("ControlValues", "%1 秒").arg(choice.value);
    case 2:
        return QCoreApplication::translate("ControlValues", "%1 倍句长").arg(choice.value / 100.0);
    default:
        return QCoreApplication::translate("ControlValues", "不停顿");
    }
}

ListScroll listScrollFor(int first, int last, int topRow, int visibleRows) {
    if (visibleRows <= 1)
        return ListScroll::EnsureFirst;
    if (first < topRow)
        return ListScroll::EndAtBottom;
    if (last < topRow + visibleRows)
        return ListScroll::None;
    return ListScroll::StartAtTop;
}

} // namespace lurvo::views
