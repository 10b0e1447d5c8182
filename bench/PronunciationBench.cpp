// The Jyutping readings against their targets, on the installed dictionary package:
//  - building the index from the three files (at most 5 s);
//  - loading the cached index (at most 150 ms);
//  - annotating a 900-line lesson, Simplified text converted first (at most 100 ms);
//  - the memory the readings add once ready, measured in a fresh process of its own (at most
//    40 MB), and the peak while building.
#include "pronunciation/IndexCache.h"
#include "pronunciation/Pronouncer.h"
#include "pronunciation/SimplifiedConverter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace lurvo::pronunciation;

namespace {

const QString kFolder = QStringLiteral("/usr/share/rime-data");

// A field of /proc/self/status in kB, such as "VmRSS" or "VmHWM".
qint64 statusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(line.indexOf(':') + 1).trimmed().split(' ').front().toLongLong();
    }
    return -1;
}

// The sample lesson's kind of sentences, half of them in Simplified characters, 900 lines.
QStringList lesson() {
    const QStringList sentences{
        QStringLiteral("早晨！你食咗早餐未？"),
        QStringLiteral("今日天氣好好，唔係好熱。"),
        QStringLiteral("唔該，請問地鐵站點去？"),
        QStringLiteral("一直行，見到銀行轉左就到。"),
        QStringLiteral("唔該，我要一杯凍奶茶，少甜。"),
        QStringLiteral("呢度可唔可以用八達通俾錢？"),
        QStringLiteral("今晚好似要落雨，记得带遮。"),
        QStringLiteral("我广东话讲得唔系好好，你可唔可以讲慢啲？"),
        QStringLiteral("多谢晒，拜拜！"),
        QStringLiteral("Lesson 3: 我哋听日去睇戏，好唔好？"),
    };
    QStringList lines;
    for (int i = 0; i < 900; ++i)
        lines.append(sentences[i % sentences.size()] + QString::number(i));
    return lines;
}

double median(std::vector<double> values) {
    std::ranges::sort(values);
    return values[values.size() / 2];
}

bool waitUntilLoaded(Pronouncer& pronouncer) {
    QEventLoop loop;
    pronouncer.onReady = [&] { loop.quit(); };
    pronouncer.onUnavailable = [&](const QStringList& missing) {
        std::fprintf(stderr, "unavailable: %s\n", qPrintable(missing.join(QLatin1Char(' '))));
        loop.exit(1);
    };
    pronouncer.load();
    return loop.exec() == 0;
}

// The child process: the memory a ready pronouncer adds, loaded from the cache.
int measureReadyMemory(const QString& cacheFile) {
    const qint64 before = statusKb("VmRSS");
    Pronouncer pronouncer({kFolder, QStringLiteral("s2hk.json"), cacheFile});
    if (!waitUntilLoaded(pronouncer) || !pronouncer.loadedFromCache())
        return 1;
    for (const QString& line : lesson())
        pronouncer.annotate(line);
    std::printf("%lld\n", statusKb("VmRSS") - before);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--ready-memory")
        return measureReadyMemory(QString::fromLocal8Bit(argv[2]));

    const DictionaryPaths paths = DictionaryPaths::inFolder(kFolder);
    const std::optional<SourceKey> key = sourceKeyOf(paths);
    const auto converter = SimplifiedConverter::open(QStringLiteral("s2hk.json"));
    if (!key || !converter) {
        std::fprintf(stderr, "needs rime-data-jyut6ping3 and libopencc-data\n");
        return 1;
    }
    const qint64 baselineKb = statusKb("VmRSS");

    std::vector<double> buildMs;
    std::optional<JyutpingIndex> index;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        index = buildIndex(paths, *key);
        buildMs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const qint64 buildPeakKb = statusKb("VmHWM") - baselineKb;

    QTemporaryDir dir;
    const IndexCache cache(dir.filePath(QStringLiteral("index.bin")));
    if (!index || !cache.save(*index))
        return 1;
    std::vector<double> loadMs;
    for (int run = 0; run < 10; ++run) {
        QElapsedTimer timer;
        timer.start();
        const std::optional<JyutpingIndex> loaded = cache.load(*key);
        loadMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!loaded)
            return 1;
    }

    const QStringList lines = lesson();
    std::vector<double> annotateMs;
    qsizetype syllables = 0;
    for (int run = 0; run < 10; ++run) {
        QElapsedTimer timer;
        timer.start();
        syllables = 0;
        for (const QString& line : lines) {
            for (const Piece& piece : index->annotate(line, converter->convert(line)))
                syllables += !piece.syllable.isEmpty();
        }
        annotateMs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }

    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--ready-memory"), cache.path()});
    child.waitForFinished(60000);
    const QByteArray readyKb = child.readAllStandardOutput().trimmed();

    std::printf("index: %lld bytes, cache file mapped\n", qint64(index->bytes().size()));
    std::printf("build index (read, parse, build)   median %8.1f ms  (target <= 5000)\n",
                median(buildMs));
    std::printf("load cache (map, check)            median %8.2f ms  (target <= 150)\n",
                median(loadMs));
    std::printf("annotate 900 lines (%lld syllables) median %8.2f ms  (target <= 100)\n",
                qint64(syllables), median(annotateMs));
    std::printf("memory once ready, from the cache  %8.1f MB     (target <= 40)\n",
                readyKb.toDouble() / 1024);
    std::printf("peak memory while building         %8.1f MB\n", double(buildPeakKb) / 1024);
    return 0;
}
