#include "subtitles/TimeText.h"

#include <gtest/gtest.h>

#include <limits>

using lurvo::subtitles::formatLrcTime;
using lurvo::subtitles::parseTimeText;

namespace {

struct TimeCase {
    const char16_t* text;
    int ms;
};

void PrintTo(const TimeCase& c, std::ostream* os) {
    *os << '"' << QString::fromUtf16(c.text).toStdString() << "\" -> " << c.ms;
}

class ParseTimeText : public testing::TestWithParam<TimeCase> {};

TEST_P(ParseTimeText, ReadsTheDocumentedValue) {
    EXPECT_EQ(parseTimeText(QStringView(GetParam().text)), GetParam().ms);
}

INSTANTIATE_TEST_SUITE_P(DecimalFieldsAreExact, ParseTimeText,
                         testing::Values(TimeCase{u"00:05", 5000}, TimeCase{u"00:05.5", 5500},
                                         TimeCase{u"00:05.05", 5050}, TimeCase{u"00:05.123", 5123},
                                         TimeCase{u"00:02.01", 2010}, TimeCase{u"00:05.1239", 5123},
                                         TimeCase{u"00:00.29", 290}, TimeCase{u"01:02.50", 62500},
                                         TimeCase{u"12:34.56", 754560},
                                         TimeCase{u"59:59.999", 3599999},
                                         TimeCase{u"0:59.99999999999999999999", 59999},
                                         TimeCase{u"1:.5", 60500}, TimeCase{u"0:7.", 7000},
                                         TimeCase{u"0.5:00", 30000}, TimeCase{u"0:-0", 0}));

INSTANTIATE_TEST_SUITE_P(
    HourFieldWithTwoColons, ParseTimeText,
    testing::Values(TimeCase{u"1:00:00.00", 3600000}, TimeCase{u"00:12:50", 770000},
                    TimeCase{u"2:03:04.5", 7384500}, TimeCase{u"x:01:02", 62000},
                    TimeCase{u"596:31:23.647", std::numeric_limits<int>::max()},
                    TimeCase{u"596:31:23.648", -1}, TimeCase{u"99999999999:00:00", -1}));

// Each field is read as %lf reads a number from the front of a text.
INSTANTIATE_TEST_SUITE_P(FieldsAreNumberPrefixes, ParseTimeText,
                         testing::Values(TimeCase{u" 1: 2", 62000}, TimeCase{u"5abc:07", 307000},
                                         TimeCase{u"01:02.50xyz", 62500}, TimeCase{u"+1:+2", 62000},
                                         TimeCase{u"1:1e1", 70000}, TimeCase{u"1:5E+1", 110000},
                                         TimeCase{u"0:2e", 2000}, TimeCase{u"0x1A:00", 1560000},
                                         TimeCase{u"0:0x1p2", 4000}, TimeCase{u"0:0x", 0}));

INSTANTIATE_TEST_SUITE_P(
    InvalidTexts, ParseTimeText,
    testing::Values(TimeCase{u"00:60.00", -1}, TimeCase{u"60:00.00", -1}, TimeCase{u"5", -1},
                    TimeCase{u"1:2:3:4", -1}, TimeCase{u"", -1}, TimeCase{u":", -1},
                    TimeCase{u":12.00", -1}, TimeCase{u"12:", -1}, TimeCase{u"-1:00", -1},
                    TimeCase{u"00:-1", -1}, TimeCase{u"-1:00:00", -1}, TimeCase{u"ab:cd", -1},
                    TimeCase{u"0:6e1", -1}, TimeCase{u"0:nan", -1}, TimeCase{u"0:inf", -1},
                    TimeCase{u"inf:00:00", -1}, TimeCase{u"nan:00:00", -1}, TimeCase{u"0:.", -1},
                    TimeCase{u"0:-", -1}));

TEST(FormatLrcTime, WritesMinutesSecondsAndHundredths) {
    EXPECT_EQ(formatLrcTime(62505), "01:02.50");
    EXPECT_EQ(formatLrcTime(1234), "00:01.23");
    EXPECT_EQ(formatLrcTime(0), "00:00.00");
    EXPECT_EQ(formatLrcTime(9), "00:00.00");
    EXPECT_EQ(formatLrcTime(-5), "00:00.00");
    EXPECT_EQ(formatLrcTime(3599999), "59:59.99");
}

TEST(FormatLrcTime, WritesAnHourFieldFromSixtyMinutesOn) {
    EXPECT_EQ(formatLrcTime(3600000), "1:00:00.00");
    EXPECT_EQ(formatLrcTime(6000000), "1:40:00.00");
    EXPECT_EQ(formatLrcTime(36061230), "10:01:01.23");
}

TEST(FormatLrcTime, ReadsBackToTheSameHundredth) {
    const int samples[] = {0,       10,      990,     1000,     59990,
                           60000,   62505,   599999,  3599990,  3599999,
                           3600000, 3600010, 7384567, 86399999, std::numeric_limits<int>::max()};
    for (const int ms : samples)
        EXPECT_EQ(parseTimeText(formatLrcTime(ms)), ms / 10 * 10) << ms;
    for (int ms = 0; ms < 4'000'000; ms += 4567)
        ASSERT_EQ(parseTimeText(formatLrcTime(ms)), ms / 10 * 10) << ms;
}

} // namespace
