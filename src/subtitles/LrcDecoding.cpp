#include "subtitles/LrcDecoding.h"

#include <QStringDecoder>

#include <unicode/ucsdet.h>

#include <memory>

namespace lurvo::subtitles {

namespace {

bool isContinuation(unsigned char b) {
    return b >= 0x80 && b <= 0xBF;
}

QByteArrayView upToFirstZero(QByteArrayView bytes) {
    const qsizetype zero = bytes.indexOf('\0');
    return zero < 0 ? bytes : bytes.first(zero);
}

// UTF-16 units from the bytes, up to the first zero unit. A dangling odd byte at the end (a
// damaged file) is not half a character, so it is dropped.
QString decodeUtf16(QByteArrayView bytes, bool bigEndian) {
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const auto lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
        const auto hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
        const char16_t unit = char16_t(hi << 8 | lo);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

bool isLegacyLocaleCodeset(QByteArrayView codeset) {
    const QByteArray name = codeset.toByteArray().toUpper();
    if (name.isEmpty() || name == "UTF-8" || name == "UTF8" || name == "ANSI_X3.4-1968" ||
        name == "ASCII" || name == "US-ASCII" || name.startsWith("UTF-16") ||
        name.startsWith("UTF-32"))
        return false;
    return QStringDecoder(name.constData()).isValid();
}

struct DetectorCloser {
    void operator()(UCharsetDetector* d) const { ucsdet_close(d); }
};

// The Chinese 8-bit families, which the contest below decides between by the bytes.
bool isChineseCodeset(QByteArrayView codeset) {
    const QByteArray name = codeset.toByteArray().toUpper();
    return name.startsWith("GB") || name.startsWith("BIG5") || name == "EUC-CN" ||
           name == "EUC-TW" || name == "CP936" || name == "CP950";
}

// Whether the bytes are all valid, assigned characters of the encoding.
bool decodesCleanly(QByteArrayView bytes, const char* encoding) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return false;
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

// When both Chinese encodings read the bytes: ICU's detector weighs the frequency of common
// characters in each. GB18030 wins ties because it is the superset the program has always
// assumed.
bool looksLikeBig5(QByteArrayView bytes) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCharsetDetector, DetectorCloser> detector(ucsdet_open(&status));
    if (U_FAILURE(status))
        return false;
    ucsdet_setText(detector.get(), bytes.data(), int32_t(bytes.size()), &status);
    int32_t count = 0;
    const UCharsetMatch** matches = ucsdet_detectAll(detector.get(), &count, &status);
    if (U_FAILURE(status))
        return false;
    int32_t big5 = 0;
    int32_t gb = 0;
    for (int32_t i = 0; i < count; ++i) {
        const char* name = ucsdet_getName(matches[i], &status);
        const int32_t confidence = ucsdet_getConfidence(matches[i], &status);
        if (U_FAILURE(status) || name == nullptr)
            return false;
        if (qstrcmp(name, "Big5") == 0)
            big5 = std::max(big5, confidence);
        else if (qstrcmp(name, "GB18030") == 0)
            gb = std::max(gb, confidence);
    }
    return big5 > gb;
}

} // namespace

bool isPlausibleUtf8(QByteArrayView bytes) {
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        int following = 0;
        if (b < 0x80)
            following = 0;
        else if (b <= 0xBF)
            return false;
        else if (b <= 0xDF)
            following = 1;
        else if (b <= 0xEF)
            following = 2;
        else if (b <= 0xF4)
            following = 3; // beyond the basic plane: Extension B characters of written Cantonese
        else
            return false;
        for (int k = 1; k <= following; ++k) {
            if (i + k >= n)
                return true; // cut short by the end of the data
            if (!isContinuation(static_cast<unsigned char>(bytes[i + k])))
                return false;
        }
        i += 1 + following;
    }
    return true;
}

QByteArray legacyEncodingFor(QByteArrayView bytes, QByteArrayView localeCodeset) {
    const bool legacyLocale = isLegacyLocaleCodeset(localeCodeset);
    const QByteArray locale = localeCodeset.toByteArray();
    // A Japanese or Western system names its own files' encoding; trusted while it reads them.
    if (legacyLocale && !isChineseCodeset(localeCodeset) &&
        decodesCleanly(bytes, locale.constData()))
        return locale;
    // Mainland files are GBK, Hong Kong and Macau ones Big5: a decoding that meets an invalid
    // sequence loses, and only when both read the bytes does their look decide.
    const QByteArray gb("GB18030");
    const QByteArray big5("Big5-HKSCS");
    const bool gbClean = decodesCleanly(bytes, gb.constData());
    const bool big5Clean = decodesCleanly(bytes, big5.constData());
    if (gbClean != big5Clean)
        return gbClean ? gb : big5;
    if (gbClean)
        return looksLikeBig5(bytes) ? big5 : gb;
    // Damaged either way: the locale's own legacy encoding, else the superset.
    return legacyLocale ? locale : gb;
}

LrcEncoding detectEncoding(QByteArrayView raw, QByteArrayView localeCodeset) {
    const auto byteAt = [&](qsizetype i) {
        return i < raw.size() ? static_cast<unsigned char>(raw[i]) : 0;
    };
    LrcEncoding encoding;
    if (byteAt(0) == 0xFF && byteAt(1) == 0xFE) {
        encoding.kind = LrcEncoding::Kind::Utf16LE;
        encoding.signatureBytes = 2;
    } else if (byteAt(0) == 0xFE && byteAt(1) == 0xFF) {
        encoding.kind = LrcEncoding::Kind::Utf16BE;
        encoding.signatureBytes = 2;
    } else if (byteAt(0) == 0xEF && byteAt(1) == 0xBB) { // the third byte is not examined
        encoding.kind = LrcEncoding::Kind::Utf8;
        encoding.signatureBytes = std::min<qsizetype>(3, raw.size());
    } else {
        const QByteArrayView bytes = upToFirstZero(raw);
        if (!isPlausibleUtf8(bytes)) {
            encoding.kind = LrcEncoding::Kind::Legacy;
            encoding.legacyName = legacyEncodingFor(bytes, localeCodeset);
        }
    }
    return encoding;
}

LrcSource readSource(const QByteArray& raw, QByteArrayView localeCodeset) {
    LrcSource source;
    source.fromFile = true;
    source.bytes = raw;
    source.encoding = detectEncoding(raw, localeCodeset);
    const qsizetype begin = source.encoding.signatureBytes;
    const LrcEncoding::Kind kind = source.encoding.kind;
    const bool utf16 = kind == LrcEncoding::Kind::Utf16LE || kind == LrcEncoding::Kind::Utf16BE;
    const bool bigEndian = kind == LrcEncoding::Kind::Utf16BE;
    const qsizetype unit = utf16 ? 2 : 1;

    // The text ends at the first zero unit, or at the last whole one.
    const auto unitAt = [&](qsizetype at) -> char16_t {
        if (!utf16)
            return static_cast<unsigned char>(raw[at]);
        const auto first = static_cast<unsigned char>(raw[at]);
        const auto second = static_cast<unsigned char>(raw[at + 1]);
        return bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
    };
    qsizetype end = begin;
    while (end + unit <= raw.size() && unitAt(end) != 0)
        end += unit;
    source.dataEnd = end;

    QStringDecoder decoder;
    if (kind == LrcEncoding::Kind::Utf8)
        // A second signature after the skipped one is text, as any other character.
        decoder = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                           QStringDecoder::Flag::ConvertInitialBom);
    else if (kind == LrcEncoding::Kind::Legacy)
        decoder =
            QStringDecoder(source.encoding.legacyName.constData(), QStringDecoder::Flag::Stateless);
    const auto decode = [&](qsizetype from, qsizetype to) -> QString {
        const QByteArrayView bytes(raw.constData() + from, to - from);
        if (utf16)
            return decodeUtf16(bytes, bigEndian);
        return decoder.isValid() ? QString(decoder.decode(bytes)) : QString();
    };

    // CR and LF never occur inside a multi-byte character of these encodings, so the lines can
    // be cut on the bytes and each decoded alone.
    qsizetype at = begin;
    while (at < end) {
        SourceLine line;
        line.byteBegin = at;
        while (at < end && unitAt(at) != u'\r' && unitAt(at) != u'\n')
            at += unit;
        line.byteEnd = at;
        if (at < end && unitAt(at) == u'\r') {
            at += unit;
            if (at < end && unitAt(at) == u'\n') {
                at += unit;
                line.end = LineEnd::CrLf;
            } else {
                line.end = LineEnd::Cr;
            }
        } else if (at < end) {
            at += unit;
            line.end = LineEnd::Lf;
        }
        line.byteNext = at;
        line.text = decode(line.byteBegin, line.byteEnd);
        source.lines.append(std::move(line));
    }
    return source;
}

QStringView lineEndText(LineEnd end) {
    switch (end) {
    case LineEnd::Cr:
        return u"\r";
    case LineEnd::Lf:
        return u"\n";
    case LineEnd::CrLf:
        return u"\r\n";
    case LineEnd::None:
        break;
    }
    return {};
}

QString decodeSubtitleBytes(QByteArrayView raw, QByteArrayView localeCodeset) {
    const LrcSource source = readSource(raw.toByteArray(), localeCodeset);
    QString text;
    for (const SourceLine& line : source.lines) {
        text += line.text;
        text += lineEndText(line.end);
    }
    return text;
}

QString normaliseLineEnds(QStringView text) {
    QString out;
    out.reserve(text.size() + text.size() / 8);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            out.append(u"\r\n");
            if (i + 1 < n && text[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n') {
            out.append(u"\r\n");
        } else {
            out.append(c);
        }
    }
    return out;
}

} // namespace lurvo::subtitles
