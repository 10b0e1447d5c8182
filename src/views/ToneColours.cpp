#include "views/ToneColours.h"

#include <QCoreApplication>

namespace lurvo::views {

namespace {

// Picked with a small search over candidates: every colour has at least 4.6:1 contrast on white
// and 3.6:1 on black, so one set serves light and dark backgrounds; simulated for deuteranopia
// and protanopia, the nearest two (tones 1 and 2) remain about 22 CIELAB units apart, and each
// is further than that from black and white text.
constexpr QRgb kToneColours[kToneCount] = {
    0xEB0019, // 1 high level: red
    0x00871E, // 2 high rising: green
    0x2264D7, // 3 mid level: blue
    0x703EFF, // 4 low falling: violet
    0xBB5462, // 5 low rising: rose
    0x546692, // 6 low level: slate
};

// The learner's classic six-tone set: one syllable, six words.
struct ToneExample {
    const char16_t* syllable;
    const char16_t* word;
    const char* name; // the tone's name and its contour
};
constexpr ToneExample kExamples[kToneCount] = {
    {u"si1", u"诗", QT_TRANSLATE_NOOP("ToneColours", "阴平 高平")},
    {u"si2", u"史", QT_TRANSLATE_NOOP("ToneColours", "阴上 高升")},
    {u"si3", u"试", QT_TRANSLATE_NOOP("ToneColours", "阴去 中平")},
    {u"si4", u"时", QT_TRANSLATE_NOOP("ToneColours", "阳平 低降")},
    {u"si5", u"市", QT_TRANSLATE_NOOP("ToneColours", "阳上 低升")},
    {u"si6", u"事", QT_TRANSLATE_NOOP("ToneColours", "阳去 低平")},
};

} // namespace

QColor toneColour(int tone, const QColor& text) {
    if (tone < 1 || tone > kToneCount)
        return text;
    return QColor::fromRgb(kToneColours[tone - 1]);
}

QString toneLegend() {
    QString html = QStringLiteral("<table cellspacing=\"2\">");
    for (int tone = 1; tone <= kToneCount; ++tone) {
        const ToneExample& e = kExamples[tone - 1];
        html += QStringLiteral("<tr><td style=\"color:%1\"><b>%2</b></td><td>%3</td>"
                               "<td>%4</td></tr>")
                    .arg(toneColour(tone, Qt::black).name(), QString::fromUtf16(e.syllable),
                         QString::fromUtf16(e.word),
                         QCoreApplication::translate("ToneColours", e.name));
    }
    return html + QStringLiteral("</table>");
}

} // namespace lurvo::views
