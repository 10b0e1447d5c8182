#include "views/SentencePanel.h"

#include "views/ToneColours.h"

#include "ImageColours.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QImage>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

using lurvo::test::nearColour;
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
    int fontSize = 24;
    QWidget window;
    SentencePanel* panel = new SentencePanel(&window);

    SentencePanelTest() {
        panel->setSource({[this] { return loaded; }, [this] { return playing; },
                          [this] { return text; },
                          [this] {
                              QFont font(QStringLiteral("Tahoma"));
                              font.setPixelSize(fontSize);
                              return font;
                          },
                          [this] { ++toggles; }, [this] { return playable; },
                          [this] { return pass; }, [this] { return total; }});
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
    EXPECT_EQ(panel->hotSquare(), QRect(23, 48, 64, 64));
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
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(300, 80)); // beside the symbol
    EXPECT_EQ(toggles, 1);

    // A lesson without an audio output offers nothing to start.
    playable = false;
    EXPECT_EQ(render().pixelColor(centre), Qt::white);
    QTest::mouseClick(panel, Qt::LeftButton, {}, centre);
    EXPECT_EQ(toggles, 1);
}

TEST_F(SentencePanelTest, PlaySymbolStandsBesideTheTextNeverOverIt) {
    text = QString();
    for (int i = 0; i < 3; ++i)
        text += QStringLiteral("我哋今日去街市買餸，");
    for (const int width : {525, 600, 1100, 1900}) {
        window.resize(width, 160);
        panel->setGeometry(0, 0, width, 160);
        const QRect symbol = panel->hotSquare();
        EXPECT_FALSE(symbol.intersects(panel->textArea())) << width;
        playing = true;
        const QImage heard = render();
        EXPECT_TRUE(inkIn(heard, panel->textArea())) << width;
        EXPECT_FALSE(inkIn(heard, symbol)) << width << ": the text keeps out of its way";
        playing = false;
        const QImage paused = render();
        EXPECT_TRUE(inkIn(paused, symbol)) << width;
        EXPECT_EQ(paused.copy(panel->textArea()), heard.copy(panel->textArea()))
            << width << ": the symbol leaves the text as it is";
    }
}

TEST_F(SentencePanelTest, ALongSentenceTakesSmallerTypeThenEndsInAnEllipsis) {
    playing = true;
    fontSize = 35;
    text = QString();
    for (int i = 0; i < 12; ++i)
        text += QStringLiteral("我哋今日去街市買餸，");
    const lurvo::views::FittedText fitted = panel->fittedText();
    EXPECT_EQ(fitted.font().pixelSize(), 24) << "down to the small size";
    ASSERT_TRUE(fitted.elided());
    EXPECT_TRUE(fitted.lines().back().text.endsWith(QStringLiteral("…")));
    const QImage image = render();
    const QRect area = panel->textArea();
    EXPECT_TRUE(inkInRows(image, area.bottom() - 40, area.bottom()));
    EXPECT_FALSE(inkInRows(image, area.bottom() + 1, 160)) << "no line cut off at the bottom";

    // With readings over the characters too.
    text = QString();
    for (int i = 0; i < 10; ++i)
        text += QStringLiteral("你食咗飯未呀？");
    panel->setAnnotator([](const QString& sentence) {
        lurvo::pronunciation::Annotation a;
        for (const QChar c : sentence)
            a.append({QString(c), QStringLiteral("sik6"), 6});
        return a;
    });
    const QImage ruby = render();
    EXPECT_TRUE(inkInRows(ruby, area.top() + 70, area.bottom())) << "a second line";
    EXPECT_FALSE(inkInRows(ruby, area.bottom() + 1, 160)) << "no line cut off at the bottom";
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
    EXPECT_EQ(strip->shownText(), strip->text()) << "the whole advice fits";
}

TEST(TipStrip, ANarrowStripEndsTheAdviceInAnEllipsis) {
    QWidget window;
    auto* strip = new TipStrip(&window);
    window.resize(300, 26);
    strip->setGeometry(0, 0, 300, 26);
    window.show();
    const QString shown = strip->shownText();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("…"))) << shown.toStdString();
    EXPECT_TRUE(strip->text().startsWith(shown.chopped(1)));
    // Its start stays in the strip: no ink at either end of the band.
    const QImage image = strip->grab().toImage();
    for (const int x : {0, 1, 2, 297, 298, 299})
        for (int y = 2; y < 22; ++y)
            ASSERT_EQ(image.pixelColor(x, y), QColor(255, 255, 205)) << x << "," << y;
}

} // namespace

namespace {

using lurvo::pronunciation::Annotation;

// The readings of the test's sentences, as the dictionary would give them.
Annotation readingsOf(const QString& text) {
    if (!text.startsWith(QStringLiteral("你食咗飯未呀")))
        return {{text, {}, 0}};
    Annotation a;
    const char* syllables[] = {"nei5", "sik6", "zo2", "faan6", "mei6", "aa3"};
    for (int i = 0; i < 6; ++i)
        a.append({text.mid(i, 1), QString::fromLatin1(syllables[i]),
                  lurvo::pronunciation::toneOf(QString::fromLatin1(syllables[i]))});
    a.append({text.mid(6), {}, 0});
    return a;
}

// The rows [top, bottom) where a pixel near `colour` is.
std::pair<int, int> rowsWith(const QImage& image, const QColor& colour) {
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (nearColour(image.pixelColor(x, y), colour)) {
                if (top < 0)
                    top = y;
                bottom = y + 1;
                break;
            }
    return {top, bottom};
}

void saveShot(const QImage& image, const QString& name) {
    // To look at them: LURVO_SCREENSHOTS=/tmp
    if (const QString folder = qEnvironmentVariable("LURVO_SCREENSHOTS"); !folder.isEmpty())
        image.save(folder + QStringLiteral("/ruby-") + name + QStringLiteral(".png"));
}

} // namespace

TEST_F(SentencePanelTest, ReadingsStandAboveTheCharactersInToneColours) {
    playing = true;
    pass = 2;
    const QImage plain = render();
    panel->setAnnotator(readingsOf);
    const QImage ruby = render();
    saveShot(ruby, QStringLiteral("sentence"));

    // The syllables in colour on top, the black characters below them.
    const QColor tone6 = lurvo::views::toneColour(6, Qt::black);
    const auto [syllablesTop, syllablesBottom] = rowsWith(ruby, tone6);
    const auto [charsTop, charsBottom] = rowsWith(ruby.copy(0, 0, 600, 120), Qt::black);
    ASSERT_GE(syllablesTop, 8);
    EXPECT_LT(syllablesBottom, charsBottom);
    EXPECT_GT(charsBottom, rowsWith(plain.copy(0, 0, 600, 120), Qt::black).second)
        << "the characters moved down under their syllables";
    for (const int tone : {2, 3, 5})
        EXPECT_GE(rowsWith(ruby, lurvo::views::toneColour(tone, Qt::black)).first, 0) << tone;
    EXPECT_TRUE(inkIn(ruby, QRect(500, 120, 100, 35))) << "the pass still in its corner";

    // The piece under the pointer, for the corrections menu.
    const int firstRow = (syllablesTop + charsBottom) / 2;
    int left = 0;
    while (left < 600 && ruby.pixelColor(left, charsBottom - 8) == Qt::white)
        ++left;
    EXPECT_EQ(panel->pieceAt(QPoint(left + 2, charsBottom - 8)), 0);
    EXPECT_EQ(panel->pieceAt(QPoint(2, firstRow)), -1) << "the margin";

    // A tooltip over a syllable shows the tone colours; none over the characters.
    const QPoint syllable(left + 4, (syllablesTop + syllablesBottom) / 2);
    EXPECT_EQ(panel->pieceAt(syllable), 0);
    QHelpEvent over(QEvent::ToolTip, syllable, panel->mapToGlobal(syllable));
    QApplication::sendEvent(panel, &over);
    EXPECT_EQ(QToolTip::text(), lurvo::views::toneLegend());
    const QPoint character(left + 2, charsBottom - 8);
    QHelpEvent below(QEvent::ToolTip, character, panel->mapToGlobal(character));
    QApplication::sendEvent(panel, &below);
    EXPECT_FALSE(below.isAccepted());

    // A right-click on a syllable or its character asks for that piece's menu, at the pointer;
    // nowhere else.
    QList<std::pair<int, QPoint>> asked;
    panel->setPieceMenuHandler([&](int piece, const QPoint& at) { asked.append({piece, at}); });
    const auto rightClick = [this](const QPoint& at) {
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, panel->mapToGlobal(at));
        QApplication::sendEvent(panel, &click);
        return click.isAccepted();
    };
    EXPECT_TRUE(rightClick(syllable));
    EXPECT_TRUE(rightClick(character));
    EXPECT_FALSE(rightClick(QPoint(2, firstRow)));
    int right = 599;
    while (right > 0 && ruby.pixelColor(right, charsBottom - 8) == Qt::white)
        --right;
    EXPECT_FALSE(rightClick(QPoint(right - 1, charsBottom - 8))) << "the bare question mark";
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[0], std::make_pair(0, panel->mapToGlobal(syllable)));
    EXPECT_EQ(asked[1].first, 0);

    // Readings off: as before, and no menu.
    panel->setAnnotator({});
    EXPECT_EQ(render(), plain);
    EXPECT_FALSE(rightClick(character));
    EXPECT_EQ(panel->pieceAt(QPoint(left + 2, charsBottom - 8)), -1);
}

TEST_F(SentencePanelTest, ReadingsWrapWithTheirCharactersAndATextWithoutThemShowsPlain) {
    playing = true;
    text = QStringLiteral("你食咗飯未呀？\r\nHave you eaten yet?");
    panel->setAnnotator(readingsOf);
    window.resize(340, 160);
    panel->setGeometry(0, 0, 340, 160);
    const QImage narrow = render();
    saveShot(narrow, QStringLiteral("sentence-narrow"));
    // sik6 on the first line, faan6 and mei6 on the next: tone 6 in two bands apart.
    const QColor tone6 = lurvo::views::toneColour(6, Qt::black);
    QList<int> bandTops;
    int lastRow = -100;
    for (int y = 0; y < narrow.height(); ++y) {
        bool found = false;
        for (int x = 0; x < narrow.width() && !found; ++x)
            found = nearColour(narrow.pixelColor(x, y), tone6);
        if (!found)
            continue;
        if (y - lastRow > 8) // a band of its own, not a gap inside the letters
            bandTops << y;
        lastRow = y;
    }
    ASSERT_EQ(bandTops.size(), 2);
    EXPECT_TRUE(inkInRows(narrow, bandTops[1] + 40, 150)) << "the English line below";

    // A sentence the annotator knows nothing of looks as without readings.
    text = QStringLiteral("Have you eaten yet?");
    const QImage none = render();
    panel->setAnnotator({});
    EXPECT_EQ(render(), none);
}
