#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

// Failures show the text, not its bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace lurvo::test {

// The bytes of an INI file as the settings keep it: UTF-16 LE after its byte-order mark.
inline QByteArray utf16File(const QString& text) {
    return QByteArray("\xFF\xFE") + QByteArray(QStringEncoder(QStringConverter::Utf16LE)(text));
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// A test with a temporary folder of its own to write files into.
class TempFolderTest : public testing::Test {
protected:
    QTemporaryDir dir;

    // A file of these bytes in the folder; its path.
    QString write(const QString& name, const QByteArray& content) {
        const QString path = dir.filePath(name);
        writeFile(path, content);
        return path;
    }
    QByteArray read(const QString& path) { return readFile(path); }
};

} // namespace lurvo::test
