#include "views/FittedText.h"

#include <QFontMetricsF>

#include <gtest/gtest.h>

using lurvo::views::FittedText;

namespace {

QFont displayFont(int pixels) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixels);
    font.setWeight(QFont::DemiBold);
    return font;
}

// A box like the sentence panel's at the smallest window: 335 by 144 pixels.
const QSizeF kBox(335, 144);

void expectInside(const FittedText& fitted, const QSizeF& box) {
    ASSERT_FALSE(fitted.lines().isEmpty());
    const QFontMetricsF metrics(fitted.font());
    for (const FittedText::Line& line : fitted.lines()) {
        EXPECT_GE(line.rect.left(), 0) << line.text.toStdString();
        EXPECT_LE(line.rect.right(), box.width() + 0.5) << line.text.toStdString();
        EXPECT_LE(metrics.horizontalAdvance(line.text), box.width() + 0.5)
            << line.text.toStdString();
    }
    EXPECT_LE(fitted.height(), box.height()) << "no line is cut through at the bottom";
}

} // namespace

TEST(FittedText, AShortSentenceKeepsItsTypeOnOneCentredLine) {
    const FittedText fitted =
        FittedText::fit(QStringLiteral("你食咗飯未呀？"), displayFont(35), 24, kBox);
    EXPECT_EQ(fitted.font().pixelSize(), 35);
    ASSERT_EQ(fitted.lines().size(), 1);
    EXPECT_FALSE(fitted.elided());
    const QRectF line = fitted.lines()[0].rect;
    EXPECT_NEAR(line.left(), kBox.width() - line.right(), 1) << "centred";
}

TEST(FittedText, TwoLinesOfASentenceStartLinesOfTheirOwn) {
    const FittedText fitted =
        FittedText::fit(QStringLiteral("好。\r\nGood."), displayFont(24), 24, kBox);
    ASSERT_EQ(fitted.lines().size(), 2);
    EXPECT_EQ(fitted.lines()[0].text, QStringLiteral("好。"));
    EXPECT_EQ(fitted.lines()[1].text, QStringLiteral("Good."));
    EXPECT_GE(fitted.lines()[1].rect.top(), fitted.lines()[0].rect.bottom());
}

TEST(FittedText, ALongSentenceWrapsAtWordsThenTakesSmallerType) {
    // Too long for two lines in the large type, short enough for three in a smaller one.
    const QString text = QStringLiteral("We went to the market early this morning to buy "
                                        "fish and vegetables.");
    const FittedText large = FittedText::fit(text, displayFont(35), 35, kBox);
    ASSERT_TRUE(large.elided()) << "the test's text must not fit in the large type";

    const FittedText fitted = FittedText::fit(text, displayFont(35), 24, kBox);
    EXPECT_LT(fitted.font().pixelSize(), 35);
    EXPECT_GE(fitted.font().pixelSize(), 24);
    EXPECT_FALSE(fitted.elided());
    EXPECT_GE(fitted.lines().size(), 2);
    expectInside(fitted, kBox);
    // Every word whole, on one line or the next.
    QStringList words;
    for (const FittedText::Line& line : fitted.lines())
        words += line.text.split(QLatin1Char(' '));
    EXPECT_EQ(words.join(QLatin1Char(' ')), text);
    // The largest type that fits: one pixel more would not.
    const int bigger = fitted.font().pixelSize() + 1;
    EXPECT_TRUE(FittedText::fit(text, displayFont(bigger), bigger, kBox).elided());
}

TEST(FittedText, ATextTooLongEvenInTheSmallTypeEndsInAnEllipsisAfterAWholeLine) {
    QString text;
    for (int i = 0; i < 12; ++i)
        text += QStringLiteral("我哋今日去街市買餸，");
    for (const int start : {24, 29, 35}) {
        const FittedText fitted = FittedText::fit(text, displayFont(start), 24, kBox);
        EXPECT_EQ(fitted.font().pixelSize(), 24) << start;
        EXPECT_TRUE(fitted.elided());
        EXPECT_TRUE(fitted.lines().back().text.endsWith(QStringLiteral("…")));
        expectInside(fitted, kBox);
        // The lines shown read on from one to the next.
        QString shown;
        for (const FittedText::Line& line : fitted.lines())
            shown += line.text;
        shown.chop(1);
        EXPECT_TRUE(text.startsWith(shown)) << shown.toStdString();
    }
    // A box too low for even one line still shows one, rather than nothing.
    const FittedText low = FittedText::fit(text, displayFont(24), 24, QSizeF(335, 10));
    EXPECT_EQ(low.lines().size(), 1);
    EXPECT_TRUE(low.lines()[0].text.endsWith(QStringLiteral("…")));
}
