#include "PronunciationTestSupport.h"

#include "pronunciation/IndexCache.h"
#include "pronunciation/Pronouncer.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QThread>
#include <QTimer>

using lurvo::pronunciation::DictionaryPaths;
using lurvo::pronunciation::IndexCache;
using lurvo::pronunciation::Pronouncer;
using lurvo::pronunciation::PronunciationSources;
using lurvo::test::readingText;

namespace {

// A dictionary folder of three small files, and a cache file beside it.
class PronouncerTest : public lurvo::test::TempFolderTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        write(u"jyut6ping3.chars.dict.yaml"_qs,
              lurvo::test::dictionaryFile(
                  u"chars"_qs, {u"銀\tngan4"_qs, u"行\thang4"_qs, u"唔\tm4"_qs, u"該\tgoi1"_qs}));
        write(u"jyut6ping3.words.dict.yaml"_qs,
              lurvo::test::dictionaryFile(u"words"_qs, {u"銀行\tngan4 hong4"_qs}));
        write(u"jyut6ping3.phrase.dict.yaml"_qs,
              lurvo::test::dictionaryFile(u"phrase"_qs, {u"唔該晒"_qs, u"唔該\tm4 goi1"_qs}));
    }

    PronunciationSources sources() const {
        return {dir.path(), u"s2hk.json"_qs, dir.filePath(u"cache/index.bin"_qs)};
    }

    // Runs the event loop until the pronouncer has ended loading; false on a time-out.
    static bool waitForLoad(Pronouncer& pronouncer) {
        QEventLoop loop;
        pronouncer.onReady = [&] { loop.quit(); };
        pronouncer.onUnavailable = [&](const QStringList&) { loop.quit(); };
        QTimer::singleShot(20000, &loop, [&] { loop.exit(1); });
        return loop.exec() == 0;
    }

    static bool haveConverter() {
        return lurvo::pronunciation::SimplifiedConverter::open(u"s2hk.json"_qs) != nullptr;
    }
};

} // namespace

TEST_F(PronouncerTest, AnnotatesWithoutSyllablesUntilReadyThenTellsTheOwnerOnItsThread) {
    if (!haveConverter())
        GTEST_SKIP() << "OpenCC's s2hk.json is not installed";
    Pronouncer pronouncer(sources());
    EXPECT_EQ(pronouncer.state(), Pronouncer::State::NotLoaded);
    QThread* readyOn = nullptr;
    QEventLoop loop;
    pronouncer.onReady = [&] {
        readyOn = QThread::currentThread();
        loop.quit();
    };
    // The first annotation starts loading and has no syllables yet.
    EXPECT_EQ(readingText(pronouncer.annotate(u"銀行 OK"_qs)), u"- - [ OK]"_qs);
    EXPECT_EQ(pronouncer.state(), Pronouncer::State::Loading);
    EXPECT_TRUE(pronouncer.readingsOf(u"行"_qs).isEmpty());
    QTimer::singleShot(20000, &loop, [&] { loop.exit(1); });
    ASSERT_EQ(loop.exec(), 0);
    EXPECT_EQ(readyOn, QThread::currentThread());
    EXPECT_EQ(pronouncer.state(), Pronouncer::State::Ready);
    EXPECT_FALSE(pronouncer.loadedFromCache());
    EXPECT_EQ(readingText(pronouncer.annotate(u"銀行 OK"_qs)), u"ngan4 hong4 [ OK]"_qs);
    EXPECT_EQ(pronouncer.readingsOf(u"唔該"_qs), QStringList{u"m4 goi1"_qs});
}

TEST_F(PronouncerTest, ConvertsSimplifiedTextButShowsItsCharacters) {
    if (!haveConverter())
        GTEST_SKIP() << "OpenCC's s2hk.json is not installed";
    Pronouncer pronouncer(sources());
    pronouncer.load();
    ASSERT_TRUE(waitForLoad(pronouncer));
    const auto annotation = pronouncer.annotate(u"银行，唔该"_qs);
    EXPECT_EQ(readingText(annotation), u"ngan4 hong4 [，] m4 goi1"_qs);
    ASSERT_EQ(annotation.size(), 5);
    EXPECT_EQ(annotation[0].text, u"银"_qs);
    EXPECT_EQ(annotation[4].text, u"该"_qs);
    EXPECT_EQ(pronouncer.readingsOf(u"银行"_qs), QStringList{u"ngan4 hong4"_qs});
}

TEST_F(PronouncerTest, LaterStartsMapTheCacheAndChangedOrDamagedCachesAreRebuilt) {
    if (!haveConverter())
        GTEST_SKIP() << "OpenCC's s2hk.json is not installed";
    const auto loadOnce = [&](bool expectFromCache) {
        Pronouncer pronouncer(sources());
        pronouncer.load();
        ASSERT_TRUE(waitForLoad(pronouncer));
        ASSERT_EQ(pronouncer.state(), Pronouncer::State::Ready);
        EXPECT_EQ(pronouncer.loadedFromCache(), expectFromCache);
        EXPECT_EQ(readingText(pronouncer.annotate(u"銀行唔該"_qs)), u"ngan4 hong4 m4 goi1"_qs);
    };
    loadOnce(false);
    EXPECT_TRUE(QFile::exists(sources().cacheFile));
    loadOnce(true);

    // A dictionary file of another time: the cache is stale.
    QFile words(dir.filePath(u"jyut6ping3.words.dict.yaml"_qs));
    ASSERT_TRUE(words.open(QIODevice::ReadWrite));
    ASSERT_TRUE(words.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                  QFileDevice::FileModificationTime));
    words.close();
    loadOnce(false);
    loadOnce(true);

    // A damaged cache file.
    QByteArray damaged = read(sources().cacheFile);
    damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 1);
    lurvo::test::writeFile(sources().cacheFile, damaged);
    loadOnce(false);
    loadOnce(true);
}

TEST_F(PronouncerTest, ReportsTheMissingPackagesAndStaysUsable) {
    ASSERT_TRUE(QFile::remove(dir.filePath(u"jyut6ping3.phrase.dict.yaml"_qs)));
    PronunciationSources withoutBoth = sources();
    withoutBoth.converterConfig = dir.filePath(u"none.json"_qs);
    Pronouncer pronouncer(withoutBoth);
    QStringList reported;
    pronouncer.load();
    QEventLoop loop;
    pronouncer.onUnavailable = [&](const QStringList& missing) {
        reported = missing;
        loop.quit();
    };
    QTimer::singleShot(20000, &loop, [&] { loop.exit(1); });
    ASSERT_EQ(loop.exec(), 0);
    EXPECT_EQ(pronouncer.state(), Pronouncer::State::Unavailable);
    const QStringList expected{u"rime-data-jyut6ping3"_qs, u"libopencc-data"_qs};
    EXPECT_EQ(reported, expected);
    EXPECT_EQ(pronouncer.missingPackages(), expected);
    EXPECT_EQ(readingText(pronouncer.annotate(u"銀行"_qs)), u"- -"_qs);
    EXPECT_FALSE(QFile::exists(sources().cacheFile));
}

TEST_F(PronouncerTest, ADestroyedPronouncerLeavesNoWorkerBehind) {
    // Dropped while loading: the destructor waits, and no callback reaches the dead object.
    bool called = false;
    {
        Pronouncer pronouncer(sources());
        pronouncer.onReady = [&] { called = true; };
        pronouncer.onUnavailable = [&](const QStringList&) { called = true; };
        pronouncer.load();
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(called);
}

class IndexCacheTest : public lurvo::test::TempFolderTest {};

TEST_F(IndexCacheTest, KeepsTheIndexWithItsKeyAndRefusesAnotherKey) {
    const lurvo::pronunciation::SourceKey key{{10, 20, 30}, {1, 2, 3}};
    const auto index = lurvo::pronunciation::JyutpingIndex::build(
        lurvo::pronunciation::parseDictionary(
            lurvo::test::dictionaryFile(u"c"_qs, {u"該\tgoi1"_qs}))
            .entries,
        {}, key);
    const IndexCache cache(dir.filePath(u"deep/folder/index.bin"_qs));
    EXPECT_FALSE(cache.load(key));
    ASSERT_TRUE(cache.save(index));
    const auto loaded = cache.load(key);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->bytes(), index.bytes());
    EXPECT_EQ(readingText(loaded->annotate(u"該"_qs)), u"goi1"_qs);
    lurvo::pronunciation::SourceKey otherKey = key;
    otherKey.modifiedMs[2] += 1;
    EXPECT_FALSE(cache.load(otherKey));
}

TEST_F(IndexCacheTest, TheSourceKeyFollowsTheFilesAndNeedsAllThree) {
    const DictionaryPaths paths = DictionaryPaths::inFolder(dir.path());
    write(u"jyut6ping3.chars.dict.yaml"_qs, "12345");
    write(u"jyut6ping3.words.dict.yaml"_qs, "1");
    EXPECT_FALSE(lurvo::pronunciation::sourceKeyOf(paths));
    write(u"jyut6ping3.phrase.dict.yaml"_qs, "123");
    const auto key = lurvo::pronunciation::sourceKeyOf(paths);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->sizes, (std::array<qint64, 3>{5, 1, 3}));
    EXPECT_GT(key->modifiedMs[0], 0);
}
