#include "subtitles/TimeText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace lurvo::subtitles {

namespace {

// A field read the way the C library's %lf takes a number from the front of a text. Plain
// decimal numbers also keep their digits, so that their value can be used exactly.
struct Number {
    double value = 0;
    bool plain = false;
    bool negative = false;
    std::string intDigits;  // plain only, leading zeros stripped
    std::string fracDigits; // plain only
};

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isHexDigit(QChar c) {
    return isAsciiDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isCSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

bool startsWithWord(QStringView s, qsizetype at, QStringView word) {
    return s.sliced(at).startsWith(word, Qt::CaseInsensitive);
}

double parseDouble(const std::string& text, std::chars_format format) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value, format);
    return value;
}

std::string latin1(QStringView s) {
    return s.toLatin1().toStdString();
}

std::optional<Number> readNumber(QStringView s) {
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n && isCSpace(s[i]))
        ++i;
    Number num;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) {
        num.negative = s[i] == u'-';
        ++i;
    }
    const double sign = num.negative ? -1.0 : 1.0;

    if (startsWithWord(s, i, u"inf")) {
        num.value = sign * std::numeric_limits<double>::infinity();
        return num;
    }
    if (startsWithWord(s, i, u"nan")) {
        num.value = std::numeric_limits<double>::quiet_NaN();
        return num;
    }

    // Hexadecimal floating point: needs a hex digit after "0x", else only the 0 is a number.
    if (i + 2 < n && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X') &&
        (isHexDigit(s[i + 2]) || (s[i + 2] == u'.' && i + 3 < n && isHexDigit(s[i + 3])))) {
        qsizetype j = i + 2;
        while (j < n && isHexDigit(s[j]))
            ++j;
        if (j < n && s[j] == u'.') {
            ++j;
            while (j < n && isHexDigit(s[j]))
                ++j;
        }
        qsizetype end = j;
        if (j < n && (s[j] == u'p' || s[j] == u'P')) {
            qsizetype k = j + 1;
            if (k < n && (s[k] == u'+' || s[k] == u'-'))
                ++k;
            if (k < n && isAsciiDigit(s[k])) {
                while (k < n && isAsciiDigit(s[k]))
                    ++k;
                end = k;
            }
        }
        num.value =
            sign * parseDouble(latin1(s.sliced(i + 2, end - i - 2)), std::chars_format::hex);
        return num;
    }

    const qsizetype intStart = i;
    while (i < n && isAsciiDigit(s[i]))
        ++i;
    const qsizetype intEnd = i;
    qsizetype fracStart = i;
    qsizetype fracEnd = i;
    if (i < n && s[i] == u'.') {
        fracStart = ++i;
        while (i < n && isAsciiDigit(s[i]))
            ++i;
        fracEnd = i;
    }
    if (intEnd == intStart && fracEnd == fracStart)
        return std::nullopt;
    qsizetype end = i;
    bool exponent = false;
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        qsizetype k = i + 1;
        if (k < n && (s[k] == u'+' || s[k] == u'-'))
            ++k;
        if (k < n && isAsciiDigit(s[k])) {
            while (k < n && isAsciiDigit(s[k]))
                ++k;
            end = k;
            exponent = true;
        }
    }
    num.value =
        sign * parseDouble(latin1(s.sliced(intStart, end - intStart)), std::chars_format::general);
    if (!exponent) {
        num.plain = true;
        num.intDigits = latin1(s.sliced(intStart, intEnd - intStart));
        num.intDigits.erase(0, num.intDigits.find_first_not_of('0'));
        num.fracDigits = latin1(s.sliced(fracStart, fracEnd - fracStart));
    }
    return num;
}

bool isZero(const Number& num) {
    return num.intDigits.empty() && num.fracDigits.find_first_not_of('0') == std::string::npos;
}

// Exact checks on plain numbers, so that 59.9999999999999999 counts as below 60.
bool plainAtLeastZero(const Number& num) {
    return !num.negative || isZero(num);
}
bool plainBelow60(const Number& num) {
    return num.intDigits.size() < 2 || (num.intDigits.size() == 2 && num.intDigits < "60");
}

// Little-endian decimal digits, for exact sums of decimal fractions.
using Digits = std::vector<std::uint32_t>;

Digits scaledDigits(const Number& num, std::size_t fracWidth) {
    std::string all = num.intDigits + num.fracDigits;
    all.append(fracWidth - num.fracDigits.size(), '0');
    Digits digits(all.rbegin(), all.rend());
    for (auto& d : digits)
        d -= '0';
    return digits;
}

void addMultiple(Digits& acc, const Digits& x, std::uint64_t factor) {
    std::uint64_t carry = 0;
    for (std::size_t k = 0; k < x.size() || carry != 0; ++k) {
        if (k == acc.size())
            acc.push_back(0);
        const std::uint64_t sum = acc[k] + (k < x.size() ? x[k] * factor : 0) + carry;
        acc[k] = std::uint32_t(sum % 10);
        carry = sum / 10;
    }
}

constexpr std::int64_t kMaxMs = std::numeric_limits<std::int32_t>::max();

int exactMilliseconds(const Number& hours, const Number& minutes, const Number& seconds) {
    // A few digits more than any valid time needs; longer integer parts are out of range.
    if (hours.intDigits.size() > 8)
        return -1;
    const std::size_t fracWidth =
        std::max({hours.fracDigits.size(), minutes.fracDigits.size(), seconds.fracDigits.size()});
    Digits total;
    addMultiple(total, scaledDigits(seconds, fracWidth), 1000);
    addMultiple(total, scaledDigits(minutes, fracWidth), 60'000);
    addMultiple(total, scaledDigits(hours, fracWidth), 3'600'000);
    std::int64_t ms = 0;
    for (std::size_t k = total.size(); k-- > fracWidth;) {
        ms = ms * 10 + total[k];
        if (ms > kMaxMs)
            return -1;
    }
    return int(ms);
}

int approximateMilliseconds(double hours, double minutes, double seconds) {
    const double ms = std::trunc((seconds + (minutes + hours * 60) * 60) * 1000);
    if (!(ms >= 0 && ms <= double(kMaxMs)))
        return -1;
    return int(ms);
}

} // namespace

int parseTimeText(QStringView text) {
    qsizetype lastColon = -1;
    qsizetype secondColon = -1;
    for (qsizetype i = text.size(); i-- > 0;) {
        if (text[i] != u':')
            continue;
        if (lastColon < 0)
            lastColon = i;
        else if (secondColon < 0)
            secondColon = i;
        else
            return -1;
    }
    if (lastColon < 0)
        return -1;

    const auto seconds = readNumber(text.sliced(lastColon + 1));
    const bool withHours = secondColon >= 0;
    const auto minutes = readNumber(withHours ? text.sliced(secondColon + 1) : text);
    if (!seconds || !minutes)
        return -1;
    // An hours field without a number counts as 0.
    Number zero;
    zero.plain = true;
    const Number hours = withHours ? readNumber(text).value_or(zero) : zero;

    if (seconds->plain && minutes->plain && hours.plain) {
        const Number& h = hours;
        if (!plainAtLeastZero(*seconds) || !plainBelow60(*seconds) || !plainAtLeastZero(*minutes) ||
            !plainBelow60(*minutes) || !plainAtLeastZero(h))
            return -1;
        return exactMilliseconds(h, *minutes, *seconds);
    }
    const double s = seconds->value;
    const double m = minutes->value;
    const double h = hours.value;
    if (!(s >= 0 && s < 60 && m >= 0 && m < 60 && h >= 0))
        return -1;
    return approximateMilliseconds(h, m, s);
}

QString formatLrcTime(int ms) {
    if (ms < 0)
        ms = 0;
    const int minutes = ms / 60000;
    const int seconds = (ms % 60000) / 1000;
    const int hundredths = (ms % 1000) / 10;
    if (minutes >= 60)
        return QString::asprintf("%d:%.2d:%.2d.%.2d", minutes / 60, minutes % 60, seconds,
                                 hundredths);
    return QString::asprintf("%.2d:%.2d.%.2d", minutes, seconds, hundredths);
}

} // namespace lurvo::subtitles
