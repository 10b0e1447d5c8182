#include "app/IniFile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringConverter>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace lurvo::app::ini {

namespace {

enum class Encoding { Utf8, Utf8WithMark, Latin1, Utf16Le };

constexpr QByteArrayView kUtf16LeMark("\xFF\xFE");
constexpr QByteArrayView kUtf8Mark("\xEF\xBB\xBF");

// A file's lines without their ends, and how to write them back.
struct IniText {
    QStringList lines;
    Encoding encoding = Encoding::Utf8;
};

QStringList splitLines(QStringView text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.append(text.sliced(start, i - start).toString());
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.sliced(start).toString());
    return lines;
}

QString decodeAs(QStringConverter::Encoding encoding, QByteArrayView bytes) {
    // A second mark after the one already taken off is content and stays.
    QStringDecoder decoder(encoding, QStringConverter::Flag::ConvertInitialBom);
    return decoder(bytes);
}

IniText decode(const QByteArray& bytes) {
    IniText ini;
    QString text;
    if (bytes.startsWith(kUtf16LeMark)) {
        ini.encoding = Encoding::Utf16Le;
        text =
            decodeAs(QStringConverter::Utf16LE, QByteArrayView(bytes).sliced(kUtf16LeMark.size()));
    } else if (bytes.startsWith(kUtf8Mark)) {
        ini.encoding = Encoding::Utf8WithMark;
        text = decodeAs(QStringConverter::Utf8, QByteArrayView(bytes).sliced(kUtf8Mark.size()));
    } else {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        text = utf8(bytes);
        if (utf8.hasError()) {
            // Some legacy 8-bit text: Latin-1 gives every byte back unchanged on writing.
            ini.encoding = Encoding::Latin1;
            text = QString::fromLatin1(bytes);
        }
    }
    ini.lines = splitLines(text);
    return ini;
}

QByteArray encode(Encoding encoding, const QString& text) {
    switch (encoding) {
    case Encoding::Utf16Le:
        return kUtf16LeMark.toByteArray() +
               QByteArray(QStringEncoder(QStringConverter::Utf16LE)(text));
    case Encoding::Utf8WithMark:
        return kUtf8Mark.toByteArray() + text.toUtf8();
    case Encoding::Latin1:
        return text.toLatin1();
    case Encoding::Utf8:
        break;
    }
    return text.toUtf8();
}

// The file's text; an empty one when the file does not exist, nothing when it exists but
// cannot be read (a folder, no permission).
std::optional<IniText> load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (QFileInfo::exists(path))
            return std::nullopt;
        return IniText{};
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return decode(bytes);
}

bool save(const QString& path, const IniText& ini) {
    QString text;
    for (const QString& line : ini.lines) {
        text += line;
        text += QLatin1StringView("\r\n");
    }
    const QByteArray bytes = encode(ini.encoding, text);
    QSaveFile file(path);
    // Like the Windows call, an existing file in a folder we may not add to is still written.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool sameName(QStringView a, QStringView b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// The name of a section header "[name]"; nothing for other lines, including a '[' line
// without ']', which the Windows reader takes for a key line.
std::optional<QStringView> headerName(QStringView line) {
    const QStringView trimmed = line.trimmed();
    if (!trimmed.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = trimmed.lastIndexOf(u']');
    if (close < 0)
        return std::nullopt;
    return trimmed.sliced(1, close - 1).trimmed();
}

// Where the key's '=' is when the line is "name=value" with that name.
std::optional<qsizetype> keyEquals(QStringView line, QStringView key) {
    const QStringView trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(u';'))
        return std::nullopt;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0 || !sameName(line.first(equals), key))
        return std::nullopt;
    return equals;
}

// Where a key is, or would go, in a file's lines.
struct Location {
    qsizetype header = -1; // the section's header line; -1 when the section is missing
    qsizetype end = 0;     // the line after the section's last line
    qsizetype key = -1;    // the key's line; -1 when the key is missing
    qsizetype equals = -1; // the position of that line's '='
};

Location locate(const QStringList& lines, QStringView section, QStringView key) {
    Location at;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const auto name = headerName(lines[i])) {
            if (at.header >= 0) {
                at.end = i;
                return at;
            }
            if (sameName(*name, section))
                at.header = i;
        } else if (at.header >= 0 && at.key < 0) {
            if (const auto equals = keyEquals(lines[i], key)) {
                at.key = i;
                at.equals = *equals;
            }
        }
    }
    at.end = lines.size();
    return at;
}

// The key's value without surrounding blanks and one pair of enclosing quotes.
std::optional<QString> lookup(const QString& path, const QString& section, const QString& key) {
    const std::optional<IniText> ini = load(path);
    if (!ini)
        return std::nullopt;
    const Location at = locate(ini->lines, section, key);
    if (at.key < 0)
        return std::nullopt;
    QStringView value = QStringView(ini->lines[at.key]).sliced(at.equals + 1).trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return value.toString();
}

int leadingInt(QStringView text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Unsigned, so that long numbers wrap as the Windows call's do.
    quint32 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = value * 10u + quint32(text[i].unicode() - u'0');
    return static_cast<int>(negative ? 0u - value : value);
}

bool hasLineBreak(const QString& text) {
    return text.contains(u'\r') || text.contains(u'\n');
}

} // namespace

int readInt(const QString& path, const QString& section, const QString& key, int defaultValue) {
    const std::optional<QString> value = lookup(path, section, key);
    if (!value || value->isEmpty())
        return defaultValue;
    return leadingInt(*value);
}

QString readString(const QString& path, const QString& section, const QString& key,
                   const QString& defaultValue, qsizetype maxChars) {
    const qsizetype cap = std::max<qsizetype>(maxChars, 0);
    return lookup(path, section, key).value_or(defaultValue).left(cap);
}

QString readString(const QString& path, const QString& section, const QString& key,
                   const QString& defaultValue) {
    return lookup(path, section, key).value_or(defaultValue);
}

bool writeString(const QString& path, const QString& section, const QString& key,
                 const QString& value) {
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value))
        return false;
    std::optional<IniText> ini = load(path);
    if (!ini)
        return false;
    QStringList& lines = ini->lines;
    const Location at = locate(lines, section, key);
    const QString entry = key.trimmed() + u'=' + value;
    if (at.key >= 0) {
        QString& line = lines[at.key];
        qsizetype start = at.equals + 1;
        while (start < line.size() && line[start].isSpace())
            ++start;
        line = line.left(start) + value;
    } else if (at.header >= 0) {
        // After the section's last entry, so blank lines before the next section stay there.
        qsizetype insertAt = at.end;
        while (insertAt > at.header + 1 && lines[insertAt - 1].trimmed().isEmpty())
            --insertAt;
        lines.insert(insertAt, entry);
    } else {
        lines.append(u'[' + section.trimmed() + u']');
        lines.append(entry);
    }
    return save(path, *ini);
}

bool writeInt(const QString& path, const QString& section, const QString& key, int value) {
    return writeString(path, section, key, QString::number(value));
}

} // namespace lurvo::app::ini
