#pragma once

#include "TestFiles.h"
#include "subtitles/SubtitleDocument.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace lurvo::test {

// A document of n lines, line i starting at i * stepMs + firstMs.
inline subtitles::SubtitleDocument evenLines(int n, int stepMs = 3000, int firstMs = 430) {
    subtitles::SubtitleDocument doc;
    doc.header = QStringLiteral("[ti:test]\r\n");
    for (int i = 0; i < n; ++i)
        doc.lines.append({firstMs + i * stepMs, QStringLiteral("line %1").arg(i)});
    return doc;
}

// A stand-in for the splitter: a script that notes "begin" with its arguments, each in <>, works
// for `seconds`, makes the segment's file (named by its -d and -o arguments, as the splitter
// names it) and notes "end", all in logPath. Segments whose names match the shell pattern
// `failing` make no file and exit with failExit instead. The folder of scriptPath must exist.
inline void writeFakeSplitter(const QString& scriptPath, const QString& logPath,
                              const char* seconds, const char* failing = nullptr,
                              int failExit = 1) {
    QFile script(scriptPath);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly)) << scriptPath.toStdString();
    QByteArray text = "#!/bin/sh\nlog='" + QFile::encodeName(logPath) +
                      "'\n"
                      "printf 'begin' >> \"$log\"\n"
                      "for a in \"$@\"; do printf ' <%s>' \"$a\" >> \"$log\"; done\n"
                      "printf '\\n' >> \"$log\"\n"
                      "sleep " +
                      QByteArray(seconds) + "\n";
    if (failing != nullptr)
        text += "case \"$7\" in " + QByteArray(failing) + ") printf 'end\\n' >> \"$log\"; exit " +
                QByteArray::number(failExit) + ";; esac\n";
    text += "printf 'ID3' > \"$5/$7.mp3\"\nprintf 'end\\n' >> \"$log\"\n";
    script.write(text);
    script.close();
    ASSERT_TRUE(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
}

inline QStringList logLines(const QString& logPath) {
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

// The log line of a start with these arguments.
inline QString beginLine(const QStringList& arguments) {
    QString line = QStringLiteral("begin");
    for (const QString& a : arguments)
        line += QStringLiteral(" <%1>").arg(a);
    return line;
}

// Runs the event loop until done() holds or timeoutMs pass; whether it held.
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        // deleteLater() outside a nested loop waits for one otherwise.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(5);
    }
    return true;
}

} // namespace lurvo::test
