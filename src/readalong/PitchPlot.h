#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

namespace lurvo::readalong {

// What the pitch plot shows. Series hold one value per 10 ms frame of the lesson's sentence, in
// semitones from the speaker's own median, NaN where unvoiced.
struct PitchPlotData {
    std::vector<float> lesson;
    std::vector<float> learner; // on the lesson's frames; empty before a recording
    std::optional<int> score;   // with the learner's curve
    struct Syllable {
        QString text; // Jyutping, e.g. "gwong2"
        int tone = 0; // 1..6, 0 when unknown
        int firstFrame = 0;
        int lastFrame = -1;
    };
    QList<Syllable> syllables; // empty when readings are not shown
    QString note;              // a line about the recording, e.g. why it has no curve
};

// The lesson's pitch contour and the learner's in one plot, over light bands for the levels of
// the six Cantonese tones scaled to the lesson speaker's range.
class PitchPlot : public QWidget {
public:
    static constexpr int kHeight = 200;

    explicit PitchPlot(QWidget* parent = nullptr);
    void setData(PitchPlotData data);
    const PitchPlotData& data() const { return data_; }
    // A line in place of the curves ("正在分析…", or why there is nothing to show); empty
    // shows the data again.
    void setMessage(const QString& message);
    QString message() const { return message_; }
    // The plot drawn at its present size and `devicePixelRatio`, as a PNG shows it.
    QImage image(qreal devicePixelRatio) const;
    // Saves image() as PNG; false with the reason on failure.
    bool savePng(const QString& path, QString* error) const;

    // Where the value of `frame` is drawn at the present size, in logical pixels: the centre of
    // the frame's column, `semitones` on the vertical scale.
    QPointF pointAt(int frame, float semitones) const;
    // The height of the middle of the band of Chao level `level` (1 low .. 5 high).
    qreal levelY(int level) const;

    // The colours of the two curves, chosen for the present palette's background.
    QColor lessonColour() const;
    QColor learnerColour() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paint(QPainter& painter, const QRectF& area) const;
    // The size image() and the positions above use: the widget's, or its hint before layout.
    QSizeF drawnSize() const;

    PitchPlotData data_;
    QString message_;
};

} // namespace lurvo::readalong
