// Readings from the installed dictionary package; skipped where it is not installed.
#include "PronunciationTestSupport.h"

#include "pronunciation/IndexCache.h"
#include "pronunciation/JyutpingIndex.h"
#include "pronunciation/SimplifiedConverter.h"

#include <QRandomGenerator>
#include <QSet>

#include <optional>

using lurvo::pronunciation::DictionaryContents;
using lurvo::pronunciation::DictionaryEntry;
using lurvo::pronunciation::DictionaryPaths;
using lurvo::pronunciation::JyutpingIndex;
using lurvo::test::readingText;

namespace {

const QString kFolder = u"/usr/share/rime-data"_qs;

class RealDictionary : public testing::Test {
protected:
    static void SetUpTestSuite() {
        const DictionaryPaths paths = DictionaryPaths::inFolder(kFolder);
        characters_ = lurvo::pronunciation::readDictionaryFile(paths.characters);
        words_ = lurvo::pronunciation::readDictionaryFile(paths.words);
        phrases_ = lurvo::pronunciation::readDictionaryFile(paths.phrases);
        if (characters_ && words_ && phrases_) {
            QList<DictionaryEntry> all = words_->entries;
            for (const DictionaryEntry& entry : phrases_->entries) {
                if (!entry.syllables.isEmpty())
                    all.append(entry);
            }
            index_.emplace(JyutpingIndex::build(characters_->entries, all));
        }
    }
    static void TearDownTestSuite() {
        index_.reset();
        characters_.reset();
        words_.reset();
        phrases_.reset();
    }
    void SetUp() override {
        if (!index_)
            GTEST_SKIP() << "rime-data-jyut6ping3 is not installed";
    }

    static QString read(const QString& text) { return readingText(index_->annotate(text)); }

    static inline std::optional<DictionaryContents> characters_, words_, phrases_;
    static inline std::optional<JyutpingIndex> index_;
};

} // namespace

TEST_F(RealDictionary, TheFilesParseWhole) {
    EXPECT_GT(characters_->entries.size(), 30000);
    EXPECT_GT(words_->entries.size(), 100000);
    EXPECT_GT(phrases_->entries.size(), 300000);
    EXPECT_EQ(characters_->malformedLines + words_->malformedLines + phrases_->malformedLines, 0);
}

// Entries left out of the index, then read from the rest, as text the dictionary has never seen
// as a whole. The packaged phrase file lists texts without readings, so its entries are taken
// only when it has readings; otherwise those of the words file.
TEST_F(RealDictionary, ReadsNineInTenSyllablesOfUnseenWords) {
    QList<DictionaryEntry> candidates;
    for (const DictionaryEntry& entry : phrases_->entries) {
        if (entry.syllables.size() >= 2 && entry.syllables.size() == entry.text.toUcs4().size())
            candidates.append(entry);
    }
    if (candidates.size() < 1000) {
        candidates.clear();
        for (const DictionaryEntry& entry : words_->entries) {
            const QList<uint> text = entry.text.toUcs4();
            if (entry.syllables.size() >= 2 && entry.syllables.size() == text.size() &&
                std::ranges::all_of(text,
                                    [](uint c) { return QChar::script(c) == QChar::Script_Han; }))
                candidates.append(entry);
        }
    }
    ASSERT_GE(candidates.size(), 1000);
    QRandomGenerator random(20240614);
    QSet<QString> chosenTexts;
    QList<DictionaryEntry> chosen;
    while (chosen.size() < 1000) {
        const DictionaryEntry& entry = candidates[random.bounded(candidates.size())];
        if (!chosenTexts.contains(entry.text)) {
            chosenTexts.insert(entry.text);
            chosen.append(entry);
        }
    }
    // Every reading of a chosen text is left out, not only the chosen one.
    QList<DictionaryEntry> rest;
    for (const DictionaryContents* file : {&*words_, &*phrases_}) {
        for (const DictionaryEntry& entry : file->entries) {
            if (!entry.syllables.isEmpty() && !chosenTexts.contains(entry.text))
                rest.append(entry);
        }
    }
    const JyutpingIndex index = JyutpingIndex::build(characters_->entries, rest);
    int right = 0;
    int total = 0;
    for (const DictionaryEntry& entry : chosen) {
        const auto annotation = index.annotate(entry.text);
        ASSERT_EQ(annotation.size(), entry.syllables.size()) << entry.text.toStdString();
        for (qsizetype i = 0; i < annotation.size(); ++i)
            right += annotation[i].syllable == entry.syllables[i];
        total += int(entry.syllables.size());
    }
    const double share = double(right) / total;
    RecordProperty("syllables_right_percent", QString::number(100 * share, 'f', 1).toStdString());
    EXPECT_GE(share, 0.90) << right << " of " << total;
}

TEST_F(RealDictionary, ReadsEverydaySentences) {
    EXPECT_EQ(read(u"唔該"_qs), u"m4 goi1"_qs);
    EXPECT_EQ(read(u"我哋"_qs), u"ngo5 dei6"_qs);
    EXPECT_EQ(read(u"你好"_qs), u"nei5 hou2"_qs);
    EXPECT_EQ(read(u"多謝"_qs), u"do1 ze6"_qs);
    EXPECT_EQ(read(u"銀行"_qs), u"ngan4 hong4"_qs);
    EXPECT_EQ(read(u"我哋去飲茶啦。"_qs), u"ngo5 dei6 heoi3 jam2 caa4 laa1 [。]"_qs);
    EXPECT_EQ(read(u"佢係我嘅朋友"_qs), u"keoi5 hai6 ngo5 ge3 pang4 jau5"_qs);
}

// The lines of the bundled sample lesson (resources/eg.lrc) with their readings checked by hand.
// Where the dictionary lists a colloquial form that is also right (見到 gin3 dou2, 呢度 nei1
// dou6) it is taken. Two syllables the lookup cannot get: 行 of 一直行 alone ("walk", haang4;
// its listed readings tie and more words read it hang4) and 話 of 我廣東話 (the dictionary lists
// 我廣東 as a word, which the longest match takes first, leaving 話 to its own reading waa6).
TEST_F(RealDictionary, ReadsTheSampleLesson) {
    const std::pair<QString, QString> lines[] = {
        {u"早晨！你食咗早餐未？"_qs, u"zou2 san4 [！] nei5 sik6 zo2 zou2 caan1 mei6 [？]"_qs},
        {u"今日天氣好好，唔係好熱。"_qs,
         u"gam1 jat6 tin1 hei3 hou2 hou2 [，] m4 hai6 hou2 jit6 [。]"_qs},
        {u"唔該，請問地鐵站點去？"_qs,
         u"m4 goi1 [，] cing2 man6 dei6 tit3 zaam6 dim2 heoi3 [？]"_qs},
        {u"一直行，見到銀行轉左就到。"_qs,
         u"jat1 zik6 haang4 [，] gin3 dou2 ngan4 hong4 zyun3 zo2 zau6 dou3 [。]"_qs},
        {u"唔該，我要一杯凍奶茶，少甜。"_qs,
         u"m4 goi1 [，] ngo5 jiu3 jat1 bui1 dung3 naai5 caa4 [，] siu2 tim4 [。]"_qs},
        {u"呢度可唔可以用八達通俾錢？"_qs,
         u"nei1 dou6 ho2 m4 ho2 ji5 jung6 baat3 daat6 tung1 bei2 cin2 [？]"_qs},
        {u"呢個幾錢？"_qs, u"ni1 go3 gei2 cin2 [？]"_qs},
        {u"今晚好似要落雨，記得帶遮。"_qs,
         u"gam1 maan5 hou2 ci5 jiu3 lok6 jyu5 [，] gei3 dak1 daai3 ze1 [。]"_qs},
        {u"我廣東話講得唔係好好，你可唔可以講慢啲？"_qs,
         u"ngo5 gwong2 dung1 waa2 gong2 dak1 m4 hai6 hou2 hou2 [，] nei5 ho2 m4 ho2 ji5 gong2 "
         u"maan6 di1 [？]"_qs},
        {u"多謝晒，拜拜！"_qs, u"do1 ze6 saai3 [，] baai1 baai3 [！]"_qs},
    };
    int syllables = 0;
    QStringList misses;
    for (const auto& [text, handChecked] : lines) {
        const QStringList read = readingText(index_->annotate(text)).split(u' ');
        const QStringList expected = handChecked.split(u' ');
        ASSERT_EQ(read.size(), expected.size()) << text.toStdString();
        for (qsizetype i = 0; i < read.size(); ++i) {
            syllables += !expected[i].startsWith(u'[');
            if (read[i] != expected[i])
                misses.append(text + u": "_qs + expected[i] + u" read "_qs + read[i]);
        }
    }
    EXPECT_EQ(syllables, 99);
    EXPECT_LE(misses.size(), 2) << misses.join(u'\n').toStdString();
}

TEST_F(RealDictionary, ReadsSimplifiedTextThroughTheConverter) {
    const auto converter = lurvo::pronunciation::SimplifiedConverter::open(u"s2hk.json"_qs);
    if (!converter)
        GTEST_SKIP() << "OpenCC's s2hk.json is not installed";
    const QString text = u"谢谢，我们去银行。"_qs;
    const QString converted = converter->convert(text);
    EXPECT_EQ(converted, u"謝謝，我們去銀行。"_qs);
    const auto annotation = index_->annotate(text, converted);
    EXPECT_EQ(readingText(annotation), u"ze6 ze6 [，] ngo5 mun4 heoi3 ngan4 hong4 [。]"_qs);
    EXPECT_EQ(annotation.front().text, u"谢"_qs);
}
