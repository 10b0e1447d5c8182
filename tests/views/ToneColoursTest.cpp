#include "views/ToneColours.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using lurvo::views::kToneCount;
using lurvo::views::toneColour;

namespace {

using Vec = std::array<double, 3>;
using Matrix = std::array<Vec, 3>;

double linear(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

Vec linearRgb(const QColor& c) {
    return {linear(c.redF()), linear(c.greenF()), linear(c.blueF())};
}

// Full dichromacy after Machado, Oliveira and Fernandes (2009), on linear RGB.
constexpr Matrix kNormal = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
constexpr Matrix kDeuteranopia = {{{0.367322, 0.860646, -0.227968},
                                   {0.280085, 0.672501, 0.047413},
                                   {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix kProtanopia = {{{0.152286, 1.052583, -0.204868},
                                 {0.114503, 0.786281, 0.099216},
                                 {-0.003882, -0.048116, 1.051998}}};

Vec seenAs(const QColor& colour, const Matrix& m) {
    const Vec rgb = linearRgb(colour);
    Vec out{};
    for (int i = 0; i < 3; ++i)
        out[i] = std::clamp(m[i][0] * rgb[0] + m[i][1] * rgb[1] + m[i][2] * rgb[2], 0.0, 1.0);
    return out;
}

Vec lab(const Vec& rgb) {
    const double x = (0.4124 * rgb[0] + 0.3576 * rgb[1] + 0.1805 * rgb[2]) / 0.9505;
    const double y = 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2];
    const double z = (0.0193 * rgb[0] + 0.1192 * rgb[1] + 0.9505 * rgb[2]) / 1.089;
    const auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double distance(const QColor& a, const QColor& b, const Matrix& vision) {
    const Vec la = lab(seenAs(a, vision));
    const Vec lb = lab(seenAs(b, vision));
    return std::hypot(la[0] - lb[0], la[1] - lb[1], la[2] - lb[2]);
}

double luminance(const QColor& c) {
    const Vec rgb = linearRgb(c);
    return 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2];
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(ToneColours, SixColoursStayApartForColourBlindEyesAndFromTheText) {
    struct Vision {
        const char* name;
        const Matrix& matrix;
    };
    const Vision visions[] = {
        {"normal", kNormal}, {"deuteranopia", kDeuteranopia}, {"protanopia", kProtanopia}};
    for (const Vision& vision : visions) {
        for (int a = 1; a <= kToneCount; ++a) {
            const QColor colour = toneColour(a, Qt::black);
            for (int b = a + 1; b <= kToneCount; ++b)
                EXPECT_GE(distance(colour, toneColour(b, Qt::black), vision.matrix), 18)
                    << vision.name << ": tones " << a << " and " << b;
            for (const QColor text : {QColor(Qt::black), QColor(Qt::white)})
                EXPECT_GE(distance(colour, text, vision.matrix), 18)
                    << vision.name << ": tone " << a << " and " << qPrintable(text.name());
        }
    }
}

TEST(ToneColours, ReadOnLightAndDarkBackgrounds) {
    const QColor listGreen(200, 255, 150); // the list's current sentence
    for (int tone = 1; tone <= kToneCount; ++tone) {
        const QColor colour = toneColour(tone, Qt::black);
        EXPECT_GE(contrast(colour, Qt::white), 4.5) << tone;
        EXPECT_GE(contrast(colour, listGreen), 3.9) << tone;
        EXPECT_GE(contrast(colour, Qt::black), 3.5) << tone;
    }
}

TEST(ToneColours, NoToneTakesTheTextColourAndTheLegendShowsAllSix) {
    EXPECT_EQ(toneColour(0, Qt::darkGray), QColor(Qt::darkGray));
    EXPECT_EQ(toneColour(7, Qt::white), QColor(Qt::white));
    const QString legend = lurvo::views::toneLegend();
    for (int tone = 1; tone <= kToneCount; ++tone) {
        EXPECT_TRUE(legend.contains(toneColour(tone, Qt::black).name())) << tone;
        EXPECT_TRUE(legend.contains(QStringLiteral("si%1").arg(tone))) << tone;
    }
}

} // namespace
