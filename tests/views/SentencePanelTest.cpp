#include "views/SentencePanel.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

using lurvo::views::SentencePanel;
using lurvo::views::TipStrip;

namespace {

class SentencePanelTest : public testing::Test {
protected:
    bool loaded = true;
    bool playing = false;
    bool playable = true;
    QString text = QStringLiteral("你食咗飯未呀？");
    int toggles = 0;
    QWidget window;
    SentencePanel* panel = new SentencePanel(&window);

    SentencePanelTest() {
        QFont font(QStringLiteral("Tahoma"));
        font.setPixelSize(24);
        panel->setSource({[this] { return loaded; }, [this] { return playing; },
                          [this] { return text; }, [font] { return font; }, [this] { ++toggles; },
                          [this] { return playable; }});
        window.resize(600, 160);
        panel->setGeometry(0, 0, 600, 160);
        window.show();
    }

    QImage render() { return panel->grab().toImage(); }

    // Whether any pixel of the rows [top, bottom) is not white.
    static bool inkInRows(const QImage& image, int top, int bottom) {
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) != Qt::white)
                    return true;
        return false;
    }
};

TEST_F(SentencePanelTest, PlaySymbolShowsAndStartsPlaybackOnlyWhileNotPlaying) {
    EXPECT_EQ(panel->hotSquare(), QRect(268, 48, 64, 64));
    const QPoint centre = panel->hotSquare().center();
    EXPECT_NE(render().pixelColor(centre), Qt::white);
    QTest::mouseClick(panel, Qt::LeftButton, {}, centre);
    EXPECT_EQ(toggles, 1);
    QTest::mouseMove(panel, centre);
    EXPECT_EQ(panel->cursor().shape(), Qt::PointingHandCursor);

    playing = true;
    EXPECT_EQ(render().pixelColor(centre), Qt::white) << "no symbol while playing";
    QTest::mouseClick(panel, Qt::LeftButton, {}, centre);
    EXPECT_EQ(toggles, 1);
    QTest::mouseMove(panel, centre + QPoint(1, 1));
    EXPECT_NE(panel->cursor().shape(), Qt::PointingHandCursor);

    playing = false;
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(20, 140)); // beside the symbol
    EXPECT_EQ(toggles, 1);

    // A lesson without an audio output offers nothing to start.
    playable = false;
    EXPECT_EQ(render().pixelColor(centre), Qt::white);
    QTest::mouseClick(panel, Qt::LeftButton, {}, centre);
    EXPECT_EQ(toggles, 1);
}

TEST_F(SentencePanelTest, TwoLineSentenceShowsAsTwoParagraphs) {
    playing = true; // no symbol over the text
    const QImage one = render();
    text = QStringLiteral("你食咗飯未呀？\r\nHave you eaten yet?");
    const QImage two = render();
    // The second paragraph stands below the first line's height (24 px type from y = 8).
    EXPECT_FALSE(inkInRows(one, 40, 70));
    EXPECT_TRUE(inkInRows(two, 40, 70));
}

TEST_F(SentencePanelTest, WithoutALessonItSaysSoAndShowsThePicture) {
    loaded = false;
    const QImage image = render();
    EXPECT_TRUE(inkInRows(image, 8, 40)) << "the no-lesson text";
    EXPECT_TRUE(inkInRows(image, 60, 137)) << "the picture";
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->hotSquare().center());
    EXPECT_EQ(toggles, 0);
}

TEST(TipStrip, DrawsALightYellowBandAboveAnEtchedLine) {
    QWidget window;
    auto* strip = new TipStrip(&window);
    window.resize(2000, 26);
    strip->setGeometry(0, 0, 2000, 26);
    window.show();
    const QImage image = strip->grab().toImage();
    EXPECT_EQ(image.pixelColor(3, 12), QColor(255, 255, 205));
    EXPECT_NE(image.pixelColor(3, 24), QColor(255, 255, 205));
    EXPECT_NE(image.pixelColor(3, 25), QColor(255, 255, 205));
    EXPECT_NE(image.pixelColor(3, 0), QColor(255, 255, 205));
    bool text = false;
    for (int x = 900; x < 1100 && !text; ++x)
        text = image.pixelColor(x, 12) != QColor(255, 255, 205);
    EXPECT_TRUE(text) << "the advice is drawn centred";
}

} // namespace
