#include "readalong/PitchPlot.h"

#include "views/ToneColours.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cmath>

namespace lurvo::readalong {

namespace {

constexpr int kFramesPerSecond = 100;
constexpr int kLevels = 5;

// Margins of the plotting area: the tone numbers on the left, the legend and score above, the
// readings and second marks below.
constexpr qreal kLeftMargin = 34;
constexpr qreal kRightMargin = 10;
constexpr qreal kTopMargin = 24;
constexpr qreal kSyllableRow = 17;
constexpr qreal kTickRow = 13;

// The speaker's range is read from the 5th to the 95th percentile of the voiced frames, so a
// few octave slips of the tracker do not stretch it. With less voice than this, or a flatter
// voice than the minimum span, the bands would mean nothing, so a typical range stands in.
constexpr std::size_t kMinVoicedFrames = 20;
constexpr float kMinSpan = 4;
constexpr float kDefaultLow = -5;
constexpr float kDefaultHigh = 5;
// Far-off values (mostly tracking errors) are clipped rather than allowed to flatten the rest.
constexpr float kMaxBeyondBands = 12;

// Which tones sit at each Chao level, from level 1 up: 21 ends at 1, 22 at 2, 33 and the end of
// 23 at 3, 55 and the end of 25 at 5.
constexpr std::array<std::array<int, 2>, kLevels> kTonesAtLevel = {{
    {4, 0},
    {6, 0},
    {3, 5},
    {0, 0},
    {1, 2},
}};

bool voiced(float v) {
    return std::isfinite(v);
}

struct LevelRange {
    float low = kDefaultLow;   // semitones at level 1
    float high = kDefaultHigh; // semitones at level 5
    float step() const { return (high - low) / (kLevels - 1); }
    float at(int level) const { return low + float(level - 1) * step(); }
};

float percentile(std::vector<float>& values, double q) {
    const auto index = std::size_t(std::lround(q * double(values.size() - 1)));
    std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(index), values.end());
    return values[index];
}

LevelRange levelRange(const std::vector<float>& lesson) {
    std::vector<float> values;
    std::copy_if(lesson.begin(), lesson.end(), std::back_inserter(values), voiced);
    if (values.size() < kMinVoicedFrames)
        return {};
    LevelRange range{percentile(values, 0.05), percentile(values, 0.95)};
    if (range.high - range.low < kMinSpan) {
        const float middle = (range.high + range.low) / 2;
        range = {middle - kMinSpan / 2, middle + kMinSpan / 2};
    }
    return range;
}

// Where frames and semitones land in the plotting area.
struct Geometry {
    QRectF plot;
    int frames = 1;
    LevelRange levels;
    float top = 0;
    float bottom = 0;

    qreal x(qreal frame) const { return plot.left() + frame * plot.width() / frames; }
    qreal frameCentre(int frame) const { return x(frame + 0.5); }
    qreal y(float semitones) const {
        const float clipped = std::clamp(semitones, bottom, top);
        return plot.top() + qreal(top - clipped) * plot.height() / qreal(top - bottom);
    }
};

Geometry plotGeometry(const PitchPlotData& data, const QSizeF& size) {
    Geometry g;
    g.plot = QRectF(kLeftMargin, kTopMargin, size.width() - kLeftMargin - kRightMargin,
                    size.height() - kTopMargin - kSyllableRow - kTickRow);
    g.frames =
        std::max<int>(1, int(data.lesson.empty() ? data.learner.size() : data.lesson.size()));
    g.levels = levelRange(data.lesson);
    const float half = g.levels.step() / 2;
    g.top = g.levels.high + half;
    g.bottom = g.levels.low - half;
    for (const auto* series : {&data.lesson, &data.learner})
        for (std::size_t i = 0; i < series->size() && int(i) < g.frames; ++i)
            if (const float v = (*series)[i]; voiced(v)) {
                g.top = std::max(g.top, std::min(v, g.levels.high + kMaxBeyondBands));
                g.bottom = std::min(g.bottom, std::max(v, g.levels.low - kMaxBeyondBands));
            }
    // Room for the thickness of the lines at the extremes.
    const float pad = (g.top - g.bottom) * 0.04f;
    g.top += pad;
    g.bottom -= pad;
    return g;
}

QColor blend(const QColor& from, const QColor& to, qreal share) {
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * share),
                            float(from.greenF() + (to.greenF() - from.greenF()) * share),
                            float(from.blueF() + (to.blueF() - from.blueF()) * share));
}

struct Inks {
    QColor background;
    QColor text;
    QColor muted;
    QColor band;
    QColor lesson;
    QColor learner;
};

// Blue for the lesson and orange for the learner stay apart for colour-blind eyes too; on a dark
// background both take a lighter shade so the lines keep their contrast.
Inks inks(const QPalette& palette) {
    Inks ink;
    ink.background = palette.color(QPalette::Base);
    ink.text = palette.color(QPalette::Text);
    ink.muted = blend(ink.background, ink.text, 0.55);
    const bool dark = ink.background.lightness() < 128;
    ink.band = blend(ink.background, ink.text, dark ? 0.11 : 0.07);
    ink.lesson = dark ? QColor(0x5a, 0xaa, 0xf0) : QColor(0x1a, 0x5f, 0xb4);
    ink.learner = dark ? QColor(0xff, 0x9e, 0x3d) : QColor(0xe0, 0x62, 0x00);
    return ink;
}

QFont sized(QFont font, qreal pixels, bool bold = false) {
    font.setPixelSize(std::max(1, int(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

// One series as a line broken wherever the voice stops; a voiced frame alone is a dot.
void drawSeries(QPainter& p, const Geometry& g, const std::vector<float>& series,
                const QColor& colour, qreal width) {
    QPainterPath path;
    const int count = std::min<int>(g.frames, int(series.size()));
    for (int i = 0; i < count; ++i) {
        if (!voiced(series[i]))
            continue;
        const QPointF point(g.frameCentre(i), g.y(series[i]));
        const bool joined = i > 0 && voiced(series[i - 1]);
        const bool alone = !joined && (i + 1 >= count || !voiced(series[i + 1]));
        if (alone) {
            // A stroke too short to see, so the round caps make it a dot of the line's width.
            path.moveTo(point);
            path.lineTo(point + QPointF(0.01, 0));
        } else if (joined) {
            path.lineTo(point);
        } else {
            path.moveTo(point);
        }
    }
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void drawBands(QPainter& p, const Geometry& g, const Inks& ink, const QFont& font) {
    const qreal half = std::abs(g.y(g.levels.step() * 0.32f) - g.y(0));
    p.setPen(Qt::NoPen);
    p.setBrush(ink.band);
    for (int level = 1; level <= kLevels; ++level) {
        const qreal y = g.y(g.levels.at(level));
        p.drawRect(QRectF(g.plot.left(), y - half, g.plot.width(), 2 * half));
    }
    // The tone numbers beside their level, right-aligned against the plot.
    p.setFont(font);
    const QFontMetricsF metrics(font);
    for (int level = 1; level <= kLevels; ++level) {
        const qreal y = g.y(g.levels.at(level));
        qreal right = g.plot.left() - 5;
        const auto& tones = kTonesAtLevel[std::size_t(level - 1)];
        for (auto it = tones.rbegin(); it != tones.rend(); ++it) {
            if (*it == 0)
                continue;
            const QString digit = QString::number(*it);
            const qreal w = metrics.horizontalAdvance(digit);
            p.setPen(views::toneColour(*it, ink.text));
            p.drawText(QRectF(right - w, y - metrics.height() / 2, w, metrics.height()),
                       Qt::AlignCenter, digit);
            right -= w + 4;
        }
    }
}

void drawSecondTicks(QPainter& p, const Geometry& g, const Inks& ink, const QFont& font) {
    p.setFont(font);
    const qreal labelTop = g.plot.bottom() + kSyllableRow;
    // Long sentences mark every 2, 5 or 10 seconds, so the labels never run together.
    const qreal perSecond = g.x(kFramesPerSecond) - g.x(0);
    int every = 1;
    for (const int candidate : {1, 2, 5, 10, 20, 30, 60}) {
        every = candidate;
        if (perSecond * candidate >= 40)
            break;
    }
    for (int s = every; s * kFramesPerSecond < g.frames; s += every) {
        const qreal x = g.x(s * kFramesPerSecond);
        p.setPen(QPen(ink.band.darker(ink.background.lightness() < 128 ? 70 : 112), 1));
        p.drawLine(QPointF(x, g.plot.top()), QPointF(x, g.plot.bottom()));
        p.setPen(ink.muted);
        p.drawText(QRectF(x - 30, labelTop, 60, kTickRow), Qt::AlignCenter,
                   QStringLiteral("%1 s").arg(s));
    }
}

// Each reading centred under its frames, made smaller when its syllable is short.
void drawSyllables(QPainter& p, const Geometry& g, const PitchPlotData& data, const Inks& ink,
                   const QFont& base) {
    for (const auto& syllable : data.syllables) {
        const int first = std::max(0, syllable.firstFrame);
        const int last = std::min(g.frames - 1, syllable.lastFrame);
        if (last < first || syllable.text.isEmpty())
            continue;
        const qreal left = g.x(first);
        const qreal width = g.x(last + 1) - left;
        QFont font = base;
        for (qreal size = base.pixelSize(); size >= 9; size -= 1) {
            font = sized(base, size);
            if (QFontMetricsF(font).horizontalAdvance(syllable.text) <= width)
                break;
        }
        p.setFont(font);
        p.setPen(views::toneColour(syllable.tone, ink.text));
        const qreal centre = left + width / 2;
        p.drawText(QRectF(centre - 100, g.plot.bottom(), 200, kSyllableRow), Qt::AlignCenter,
                   syllable.text);
    }
}

void drawLegend(QPainter& p, const Geometry& g, const PitchPlotData& data, const Inks& ink,
                const QFont& font, const QFont& scoreFont) {
    p.setFont(font);
    const QFontMetricsF metrics(font);
    const qreal middle = kTopMargin / 2;
    qreal x = g.plot.left();
    const auto entry = [&](const QString& label, const QColor& colour) {
        p.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x + 2, middle), QPointF(x + 18, middle));
        p.setPen(ink.text);
        const qreal w = metrics.horizontalAdvance(label);
        p.drawText(QRectF(x + 24, 0, w + 2, kTopMargin), Qt::AlignVCenter | Qt::AlignLeft, label);
        x += 24 + w + 16;
    };
    entry(QCoreApplication::translate("PitchPlot", "原声"), ink.lesson);
    if (!data.learner.empty())
        entry(QCoreApplication::translate("PitchPlot", "录音"), ink.learner);
    if (data.score) {
        p.setFont(scoreFont);
        p.setPen(ink.text);
        p.drawText(QRectF(g.plot.left(), 0, g.plot.width(), kTopMargin),
                   Qt::AlignVCenter | Qt::AlignRight,
                   QCoreApplication::translate("PitchPlot", "相似度 %1").arg(*data.score));
    } else if (!data.note.isEmpty()) {
        // Where the score would stand: why the recording has none.
        p.setPen(ink.text);
        p.drawText(QRectF(x, 0, std::max(0.0, g.plot.right() - x), kTopMargin),
                   Qt::AlignVCenter | Qt::AlignRight,
                   metrics.elidedText(data.note, Qt::ElideRight, g.plot.right() - x));
    }
}

} // namespace

PitchPlot::PitchPlot(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // What the coloured tone numbers beside the bands stand for.
    setToolTip(views::toneLegend());
}

void PitchPlot::setData(PitchPlotData data) {
    data_ = std::move(data);
    update();
}

void PitchPlot::setMessage(const QString& message) {
    message_ = message;
    update();
}

QSize PitchPlot::sizeHint() const {
    return {514, kHeight};
}

QSizeF PitchPlot::drawnSize() const {
    return size().isEmpty() ? QSizeF(sizeHint()) : QSizeF(size());
}

QPointF PitchPlot::pointAt(int frame, float semitones) const {
    const Geometry g = plotGeometry(data_, drawnSize());
    return {g.frameCentre(frame), g.y(semitones)};
}

qreal PitchPlot::levelY(int level) const {
    const Geometry g = plotGeometry(data_, drawnSize());
    return g.y(g.levels.at(level));
}

QColor PitchPlot::lessonColour() const {
    return inks(palette()).lesson;
}

QColor PitchPlot::learnerColour() const {
    return inks(palette()).learner;
}

QImage PitchPlot::image(qreal devicePixelRatio) const {
    const QSizeF logical = drawnSize();
    QImage image((logical * devicePixelRatio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&image);
    paint(painter, QRectF(QPointF(0, 0), logical));
    return image;
}

bool PitchPlot::savePng(const QString& path, QString* error) const {
    QSaveFile file(path);
    QString reason;
    if (!file.open(QIODevice::WriteOnly)) {
        reason = file.errorString();
    } else if (!image(devicePixelRatioF()).save(&file, "PNG")) {
        reason = file.errorString().isEmpty()
                     ? QCoreApplication::translate("PitchPlot", "无法写入 PNG 图片")
                     : file.errorString();
        file.cancelWriting();
    } else if (!file.commit()) {
        reason = file.errorString();
    } else {
        return true;
    }
    if (error)
        *error = reason;
    return false;
}

void PitchPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, QRectF(rect()));
}

void PitchPlot::paint(QPainter& p, const QRectF& area) const {
    const Inks ink = inks(palette());
    p.fillRect(area, ink.background);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const Geometry g = plotGeometry(data_, area.size());
    if (g.plot.width() <= 0 || g.plot.height() <= 0)
        return;
    const QFont base = font();
    drawBands(p, g, ink, sized(base, 12, true));
    if (!message_.isEmpty()) {
        // On a patch of the background, so the bands do not run through the words.
        p.setFont(sized(base, 15));
        const QRectF text = p.boundingRect(g.plot, Qt::AlignCenter | Qt::TextWordWrap, message_)
                                .adjusted(-12, -5, 12, 5);
        p.setPen(Qt::NoPen);
        p.setBrush(ink.background);
        p.drawRoundedRect(text & g.plot, 4, 4);
        p.setPen(ink.text);
        p.drawText(g.plot, Qt::AlignCenter | Qt::TextWordWrap, message_);
        return;
    }
    drawSecondTicks(p, g, ink, sized(base, 10));
    drawSeries(p, g, data_.lesson, ink.lesson, 3.5);
    drawSeries(p, g, data_.learner, ink.learner, 2.5);
    drawSyllables(p, g, data_, ink, sized(base, 12));
    drawLegend(p, g, data_, ink, sized(base, 12), sized(base, 13, true));
}

} // namespace lurvo::readalong
