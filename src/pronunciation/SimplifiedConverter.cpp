#include "SimplifiedConverter.h"

#include <QFile>

#include <opencc.h>

namespace lurvo::pronunciation {

namespace {

qsizetype codePointCount(QStringView text) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++count) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    return count;
}

} // namespace

std::unique_ptr<SimplifiedConverter> SimplifiedConverter::open(const QString& config) {
    const opencc_t handle = opencc_open(QFile::encodeName(config).constData());
    if (handle == reinterpret_cast<opencc_t>(-1))
        return nullptr;
    return std::unique_ptr<SimplifiedConverter>(new SimplifiedConverter(handle));
}

SimplifiedConverter::~SimplifiedConverter() {
    opencc_close(handle_);
}

QString SimplifiedConverter::convertWhole(QStringView text) const {
    const QByteArray utf8 = text.toUtf8();
    char* converted = opencc_convert_utf8(handle_, utf8.constData(), size_t(utf8.size()));
    if (converted == nullptr)
        return text.toString();
    QString result = QString::fromUtf8(converted);
    opencc_convert_utf8_free(converted);
    return result;
}

QString SimplifiedConverter::convert(QStringView text) const {
    const QString whole = convertWhole(text);
    const qsizetype count = codePointCount(text);
    if (codePointCount(whole) == count)
        return whole;
    // Phrase conversions may change the length; a character alone maps to one character.
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        const QStringView original = text.sliced(i, length);
        const QString one = convertWhole(original);
        result += codePointCount(one) == 1 ? QStringView(one) : original;
        i += length;
    }
    return result;
}

} // namespace lurvo::pronunciation
