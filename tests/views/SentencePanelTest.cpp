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
    int pass = 0;
    int total = 3;
    QWidget window;
    SentencePanel* panel = new SentencePanel(&window);

    SentencePanelTest() {
        QFont font(QStringLiteral("Tahoma"));
        font.setPixelSize(24);
        panel->setSource({[this] { return loaded; }, [this] { return playing; },
                          [this] { return text; }, [font] { return font; }, [this] { ++toggles; },
                          [this] { return playable; }, [this] { return pass; },
                          [this] { return total; }});
        window.resize(600, 160);
        panel->setGeometry(0, 0, 600, 160);
        window.show();
    }

    QImage render() { return panel->grab().toImage(); }

    // Whether any pixel of the rows [top, bottom) is not white.
    static bool inkInRows(const QImage& image, int top, int bottom) {
        return inkIn(image, QRect(0, top, image.width(), bottom - top));
    }
    static bool inkIn(const QImage& image, const QRect& area) {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
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

TEST_F(SentencePanelTest, PassStandsSmallInTheLowerRightCorner) {
    playing = true;
    text.clear();
    const QRect corner(500, 120, 100, 35);
    EXPECT_EQ(panel->passText(), "");
    EXPECT_FALSE(inkIn(render(), corner)) << "no pass while none is heard";

    pass = 2;
    EXPECT_EQ(panel->passText(), QStringLiteral("2/3"));
    const QImage shown = render();
    EXPECT_TRUE(inkIn(shown, corner));
    EXPECT_FALSE(inkIn(shown, QRect(0, 0, 500, 160))) << "small, in the corner only";
    total = 0;
    EXPECT_EQ(panel->passText(), QStringLiteral("2/∞"));

    loaded = false;
    EXPECT_EQ(panel->passText(), "");
}

TEST_F(SentencePanelTest, WaitBarRunsDownAlongTheBottom) {
    playing = true;
    text.clear();
    const auto barAt = [this](const QImage& image, int x) {
        return image.pixelColor(x, 154) != Qt::white;
    };
    EXPECT_FALSE(barAt(render(), 20));
    panel->showWait(1.0);
    QImage image = render();
    EXPECT_TRUE(barAt(image, 16));
    EXPECT_TRUE(barAt(image, 583));
    EXPECT_FALSE(barAt(image, 590)) << "inside the text margins";
    EXPECT_FALSE(inkInRows(image, 0, 150)) << "a thin bar at the bottom only";

    panel->showWait(0.25);
    image = render();
    EXPECT_TRUE(barAt(image, 100));
    EXPECT_FALSE(barAt(image, 300)) << "a quarter of the wait left, a quarter of the bar";

    panel->showWait(-1);
    EXPECT_LT(panel->waitShown(), 0);
    EXPECT_FALSE(barAt(render(), 20)) << "gone when the wait ends";
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
