#include "subtitles/LineEdits.h"

#include <gtest/gtest.h>

#include <optional>

using namespace lurvo::subtitles;

namespace {

SubtitleDocument documentAt(std::initializer_list<int> starts) {
    SubtitleDocument doc;
    for (const int start : starts)
        doc.lines.append({start, QStringLiteral("line")});
    return doc;
}

TEST(CheckedLineTime, AcceptsOnlyCanonicalTimesStrictlyBetweenTheNeighbours) {
    const SubtitleDocument three = documentAt({60000, 122020, 180000});
    const SubtitleDocument one = documentAt({5000});
    const SubtitleDocument shifted = documentAt({-300, 5000});
    const struct {
        const char* name;
        const SubtitleDocument& doc;
        int index;
        const char16_t* text;
        std::optional<int> time;
    } cases[] = {
        {"current time", three, 1, u"02:02.02", 122020},
        {"just after previous", three, 1, u"01:00.01", 60010},
        {"just before next", three, 1, u"02:59.99", 179990},
        {"equal to previous", three, 1, u"01:00.00", std::nullopt},
        {"equal to next", three, 1, u"03:00.00", std::nullopt},
        {"before previous", three, 1, u"00:59.99", std::nullopt},
        {"after next", three, 1, u"03:00.01", std::nullopt},
        {"short fields", three, 1, u"2:2.2", std::nullopt},
        {"thousandths", three, 1, u"02:02.020", std::nullopt},
        {"tenths", three, 1, u"02:02.2", std::nullopt},
        {"leading space", three, 1, u" 02:02.02", std::nullopt},
        {"trailing space", three, 1, u"02:02.02 ", std::nullopt},
        {"zero hour field", three, 1, u"00:02:02.02", std::nullopt},
        {"not a time", three, 1, u"abc", std::nullopt},
        {"empty", three, 1, u"", std::nullopt},
        {"first line from zero", three, 0, u"00:00.00", 0},
        {"first line, 2.01 exact", three, 0, u"00:02.01", 2010},
        {"first line, 8.03 exact", three, 0, u"00:08.03", 8030},
        {"first line below second", three, 0, u"02:02.01", 122010},
        {"first line at second", three, 0, u"02:02.02", std::nullopt},
        {"last line past the hour", three, 2, u"1:00:00.00", 3600000},
        {"last line, sixty minutes", three, 2, u"60:00.00", std::nullopt},
        {"last line at previous", three, 2, u"02:02.02", std::nullopt},
        {"one line, zero", one, 0, u"00:00.00", 0},
        {"one line, last minute", one, 0, u"59:59.99", 3599990},
        {"one line, hours", one, 0, u"2:03:04.50", 7384500},
        {"one line, short fields", one, 0, u"0:5.0", std::nullopt},
        {"previous below zero", shifted, 1, u"00:00.00", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(checkedLineTime(c.doc, c.index, QStringView(c.text)), c.time);
    }
}

TEST(EditedLineText, LineBreaksBecomeOneSpaceEach) {
    const struct {
        const char16_t* typed;
        const char16_t* text;
    } cases[] = {
        {u"one line", u"one line"},
        {u"a\r\nb", u"a b"},
        {u"a\rb\nc", u"a b c"},
        {u"a\n\rb", u"a  b"},
        {u"a\r\n\r\nb", u"a  b"},
        {u"a\u2028b\u2029c", u"a b c"},
        {u"\r\n", u" "},
        {u"你好\n世界", u"你好 世界"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(editedLineText(QStringView(c.typed)), QString::fromUtf16(c.text))
            << QString::fromUtf16(c.typed).toStdString();
}

TEST(EditedLineText, KeepsAtMost510UnitsWithoutSplittingAPair) {
    const QString pair = QString::fromUtf16(u"\U0001F600");
    const struct {
        const char* name;
        QString typed;
        QString text;
    } cases[] = {
        {"600 units", QString(600, u'x'), QString(510, u'x')},
        {"pair across the cut", QString(509, u'x') + pair + QStringLiteral("yy"),
         QString(509, u'x')},
        {"pair ending at the cut", QString(508, u'x') + pair + QStringLiteral("yy"),
         QString(508, u'x') + pair},
        {"cut after the breaks are replaced", QStringLiteral("\r\n").repeated(600),
         QString(510, u' ')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(editedLineText(c.typed), c.text);
    }
}

TEST(DocumentEdits, SetTheFieldAndMarkTheDocumentModified) {
    const QString pair = QString::fromUtf16(u"\U0001F600");
    const struct {
        const char* name;
        QString text;
        QString kept;
    } cases[] = {
        {"short", QStringLiteral("新"), QStringLiteral("新")},
        {"600 units", QString(600, u'x'), QString(511, u'x')},
        {"pair across the cut", QString(510, u'x') + pair, QString(510, u'x')},
        {"pair ending at the cut", QString(509, u'x') + pair + QStringLiteral("y"),
         QString(509, u'x') + pair},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SubtitleDocument doc = documentAt({1000, 2000});
        doc.setLineText(1, c.text);
        EXPECT_EQ(doc.line(1).text, c.kept);
        EXPECT_EQ(doc.line(0).text, QStringLiteral("line"));
        EXPECT_TRUE(doc.modified);
    }
    SubtitleDocument doc = documentAt({1000, 2000});
    doc.setLineStart(0, 1500);
    EXPECT_EQ(doc.line(0).startMs, 1500);
    EXPECT_TRUE(doc.modified);
}

} // namespace
