#include "readalong/PitchPlot.h"

#include "views/ToneColours.h"

#include "ImageColours.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPalette>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using lurvo::readalong::PitchPlot;
using lurvo::readalong::PitchPlotData;
using lurvo::test::colourIn;
using lurvo::test::nearColour;

namespace {

constexpr float kUnvoiced = NAN;

class PitchPlotTest : public testing::Test {
protected:
    PitchPlot plot;

    PitchPlotTest() {
        QPalette light;
        light.setColor(QPalette::Base, Qt::white);
        light.setColor(QPalette::Text, Qt::black);
        plot.setPalette(light);
        plot.resize(514, PitchPlot::kHeight);
    }

    static std::vector<float> flat(int frames, float value) {
        return std::vector<float>(std::size_t(frames), value);
    }

    // A few pixels around where `frame` at `semitones` is drawn, in an image of ratio 1.
    QRect around(int frame, float semitones) const {
        const QPoint centre = plot.pointAt(frame, semitones).toPoint();
        return {centre - QPoint(2, 2), QSize(5, 5)};
    }
    bool drawnAt(const QImage& image, int frame, float semitones, const QColor& colour) const {
        return colourIn(image, around(frame, semitones), colour);
    }
};

TEST_F(PitchPlotTest, CurvesFollowTheirDataUpwardAndAcross) {
    PitchPlotData data;
    for (int i = 0; i < 100; ++i)
        data.lesson.push_back(-4 + 8 * float(i) / 99);
    data.learner = flat(100, -3);
    plot.setData(data);
    const QImage image = plot.image(1);
    EXPECT_LT(plot.pointAt(50, 4).y(), plot.pointAt(50, -4).y()) << "higher pitch, higher up";
    EXPECT_LT(plot.pointAt(10, 0).x(), plot.pointAt(90, 0).x());
    EXPECT_TRUE(image.rect().contains(plot.pointAt(0, -4).toPoint()));
    EXPECT_TRUE(image.rect().contains(plot.pointAt(99, 4).toPoint()));

    for (const int frame : {10, 50, 90}) {
        const float value = data.lesson[std::size_t(frame)];
        EXPECT_TRUE(drawnAt(image, frame, value, plot.lessonColour())) << frame;
        EXPECT_FALSE(drawnAt(image, frame, -value - 2, plot.lessonColour())) << frame;
    }
    EXPECT_TRUE(drawnAt(image, 80, -3, plot.learnerColour()));
    EXPECT_FALSE(drawnAt(image, 80, 1, plot.learnerColour()));
    EXPECT_FALSE(nearColour(plot.lessonColour(), plot.learnerColour()));
}

TEST_F(PitchPlotTest, UnvoicedFramesLeaveAGap) {
    PitchPlotData data;
    data.lesson = flat(120, 1);
    std::fill(data.lesson.begin() + 40, data.lesson.begin() + 80, kUnvoiced);
    data.lesson[60] = 1; // a lone voiced frame is a dot, not joined to either side
    plot.setData(data);
    const QImage image = plot.image(1);
    EXPECT_TRUE(drawnAt(image, 20, 1, plot.lessonColour()));
    EXPECT_TRUE(drawnAt(image, 100, 1, plot.lessonColour()));
    EXPECT_TRUE(drawnAt(image, 60, 1, plot.lessonColour()));
    EXPECT_FALSE(drawnAt(image, 50, 1, plot.lessonColour()));
    EXPECT_FALSE(drawnAt(image, 70, 1, plot.lessonColour()));
}

TEST_F(PitchPlotTest, LearnerCurveAndScoreOnlyAfterARecording) {
    PitchPlotData data;
    data.lesson = flat(100, 2);
    plot.setData(data);
    const QImage before = plot.image(1);
    EXPECT_TRUE(drawnAt(before, 50, 2, plot.lessonColour()));
    EXPECT_FALSE(colourIn(before, before.rect(), plot.learnerColour()))
        << "neither curve nor legend entry before a recording";
    const QRect scoreCorner(before.width() - 120, 0, 120, 20);
    EXPECT_FALSE(colourIn(before, scoreCorner, Qt::black));

    data.learner = flat(100, -2);
    data.score = 64;
    plot.setData(data);
    const QImage after = plot.image(1);
    EXPECT_TRUE(drawnAt(after, 50, -2, plot.learnerColour()));
    EXPECT_TRUE(drawnAt(after, 50, 2, plot.lessonColour()));
    EXPECT_TRUE(colourIn(after, scoreCorner, Qt::black)) << "the score is written";

    // A recording without a score says why where the score would be.
    data.learner.clear();
    data.score.reset();
    data.note = QStringLiteral("录音里没有听到说话");
    plot.setData(data);
    EXPECT_TRUE(colourIn(plot.image(1), scoreCorner, Qt::black));
}

TEST_F(PitchPlotTest, MessageTakesThePlaceOfTheCurves) {
    PitchPlotData data;
    data.lesson = flat(100, 2);
    data.learner = flat(100, -2);
    data.score = 80;
    plot.setData(data);
    plot.setMessage(QStringLiteral("正在分析…"));
    EXPECT_EQ(plot.message(), QStringLiteral("正在分析…"));
    const QImage image = plot.image(1);
    EXPECT_FALSE(colourIn(image, image.rect(), plot.lessonColour()));
    EXPECT_FALSE(colourIn(image, image.rect(), plot.learnerColour()));
    const QRect plotted(plot.pointAt(0, 0).toPoint().x(), int(plot.levelY(5)),
                        int(plot.pointAt(99, 0).x() - plot.pointAt(0, 0).x()),
                        int(plot.levelY(1) - plot.levelY(5)));
    EXPECT_TRUE(colourIn(image, plotted, Qt::black)) << "the message is written";

    plot.setMessage({});
    EXPECT_TRUE(drawnAt(plot.image(1), 50, 2, plot.lessonColour()));
}

TEST_F(PitchPlotTest, BandsSpanTheSpeakersRangeWithTheirTones) {
    PitchPlotData data;
    for (int i = 0; i <= 100; ++i) // evenly from 0 to 10: percentiles 5 and 95 at 0.5 and 9.5
        data.lesson.push_back(float(i) / 10);
    plot.setData(data);
    EXPECT_NEAR(plot.levelY(5), plot.pointAt(0, 9.5f).y(), 0.5);
    EXPECT_NEAR(plot.levelY(1), plot.pointAt(0, 0.5f).y(), 0.5);
    EXPECT_NEAR(plot.levelY(3), plot.pointAt(0, 5).y(), 0.5);

    const QImage image = plot.image(1);
    const int x = int(plot.pointAt(80, 0).x()); // the curve is higher up there
    const QColor band = image.pixelColor(x, int(plot.levelY(1)));
    EXPECT_NE(band, QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(x, int((plot.levelY(1) + plot.levelY(2)) / 2)), QColor(Qt::white))
        << "the bands are apart";
    const auto toneBeside = [&](int level, int tone) {
        const int y = int(plot.levelY(level));
        return colourIn(image, QRect(0, y - 6, int(plot.pointAt(0, 0).x()) - 2, 12),
                        lurvo::views::toneColour(tone, Qt::black));
    };
    EXPECT_TRUE(toneBeside(5, 1));
    EXPECT_TRUE(toneBeside(5, 2));
    EXPECT_TRUE(toneBeside(3, 3));
    EXPECT_TRUE(toneBeside(3, 5));
    EXPECT_TRUE(toneBeside(2, 6));
    EXPECT_TRUE(toneBeside(1, 4));
    EXPECT_FALSE(toneBeside(1, 1));
    EXPECT_FALSE(toneBeside(4, 3));

    data.lesson = flat(100, kUnvoiced);
    data.lesson[10] = 3; // too little voice to read a range from
    plot.setData(data);
    EXPECT_LT(plot.levelY(5), plot.levelY(1));
    EXPECT_GT(plot.levelY(1) - plot.levelY(5), plot.pointAt(0, -2).y() - plot.pointAt(0, 2).y());
}

TEST_F(PitchPlotTest, ReadingsSitUnderTheirSyllablesInToneColour) {
    PitchPlotData data;
    data.lesson = flat(100, 0);
    plot.setData(data);
    const QColor tone2 = lurvo::views::toneColour(2, Qt::black);
    const auto below = [&](const QImage& image, int first, int last) {
        const int top = int(plot.levelY(1)) + 8;
        const int left = int(plot.pointAt(first, 0).x());
        return colourIn(
            image, QRect(left, top, int(plot.pointAt(last, 0).x()) - left, image.height()), tone2);
    };
    EXPECT_FALSE(below(plot.image(1), 10, 40));

    data.syllables = {{QStringLiteral("gwong2"), 2, 10, 40}, {QStringLiteral("zau1"), 1, 41, 60}};
    plot.setData(data);
    const QImage image = plot.image(1);
    EXPECT_TRUE(below(image, 10, 40));
    EXPECT_FALSE(below(image, 62, 99));
    EXPECT_TRUE(colourIn(
        image, QRect(int(plot.pointAt(41, 0).x()), int(plot.levelY(1)) + 8, 40, image.height()),
        lurvo::views::toneColour(1, Qt::black)));
}

TEST_F(PitchPlotTest, HighDensityImageHasTwiceThePixels) {
    PitchPlotData data;
    data.lesson = flat(100, 2);
    plot.setData(data);
    const QImage image = plot.image(2);
    EXPECT_EQ(image.size(), QSize(2 * 514, 2 * PitchPlot::kHeight));
    EXPECT_EQ(image.devicePixelRatio(), 2);
    const QPoint point = (plot.pointAt(50, 2) * 2).toPoint();
    EXPECT_TRUE(colourIn(image, QRect(point - QPoint(2, 2), QSize(5, 5)), plot.lessonColour()));
}

TEST_F(PitchPlotTest, SavesAReadablePngOrSaysWhyNot) {
    PitchPlotData data;
    data.lesson = flat(100, 2);
    plot.setData(data);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("音调.png"));
    QString error;
    ASSERT_TRUE(plot.savePng(path, &error)) << error.toStdString();
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), QByteArray("png"));
    const QImage saved = reader.read();
    EXPECT_EQ(saved.size(), plot.image(plot.devicePixelRatioF()).size());
    EXPECT_TRUE(drawnAt(saved, 50, 2, plot.lessonColour()));

    const QString unwritable = dir.filePath(QStringLiteral("没有/这个/目录.png"));
    EXPECT_FALSE(plot.savePng(unwritable, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(unwritable));
}

TEST_F(PitchPlotTest, DarkPaletteKeepsBothCurvesApartFromTheBackground) {
    const QColor background(0x1e, 0x1e, 0x1e);
    QPalette dark;
    dark.setColor(QPalette::Base, background);
    dark.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
    plot.setPalette(dark);
    PitchPlotData data;
    data.lesson = flat(100, 2);
    data.learner = flat(100, -2);
    plot.setData(data);
    const QImage image = plot.image(1);
    EXPECT_EQ(image.pixelColor(2, image.height() - 2), background);
    // Contrast as the web's accessibility rules count it; 3:1 is their floor for graphics.
    const auto luminance = [](const QColor& c) {
        const auto channel = [](qreal v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    for (const QColor& curve : {plot.lessonColour(), plot.learnerColour()})
        EXPECT_GE((luminance(curve) + 0.05) / (luminance(background) + 0.05), 3.0)
            << curve.name().toStdString();
    EXPECT_TRUE(drawnAt(image, 50, 2, plot.lessonColour()));
    EXPECT_TRUE(drawnAt(image, 50, -2, plot.learnerColour()));
    EXPECT_FALSE(nearColour(plot.lessonColour(), plot.learnerColour()));
}

} // namespace
