#include "views/SentencePanel.h"

#include "app/Settings.h"
#include "app/StringTable.h"
#include "views/FittedText.h"
#include "views/ToneColours.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QWindow>

#include <algorithm>

namespace lurvo::views {

namespace {

constexpr int kSymbolSize = 64;
// The columns either side of the sentence: the play symbol stands in the left one, so it never
// covers a word, and the pass in the right one; the text stays centred between them.
constexpr int kSideColumn = 80;
constexpr int kMargin = 15;
constexpr int kWaitBarHeight = 4;
constexpr QColor kWaitBarColour(0x4a, 0x90, 0xd9);
constexpr QSize kNoLessonPicture(114, 77);
constexpr int kTipPixelSize = 12;
constexpr int kTipMargin = 6; // the advice keeps clear of the strip's ends

// The play symbol: a grey ring and triangle that darken what lies under them.
void drawPlaySymbol(QPainter& p, const QRect& square) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setCompositionMode(QPainter::CompositionMode_Multiply);
    p.setPen(QPen(QColor(0x70, 0x70, 0x70), 4));
    p.setBrush(QColor(0xe8, 0xe8, 0xe8));
    p.drawEllipse(QRectF(square).adjusted(3, 3, -3, -3));
    QPainterPath triangle;
    const QPointF c = QRectF(square).center();
    triangle.moveTo(c.x() - 9, c.y() - 15);
    triangle.lineTo(c.x() + 16, c.y());
    triangle.lineTo(c.x() - 9, c.y() + 15);
    triangle.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x60, 0x60, 0x60));
    p.drawPath(triangle);
    p.restore();
}

// The picture shown while no lesson is open: a loudspeaker with sound waves.
void drawNoLessonPicture(QPainter& p, const QRect& area) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setCompositionMode(QPainter::CompositionMode_Multiply);
    const QColor ink(0xb0, 0xc4, 0xde);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    const qreal x = area.x();
    const qreal y = area.y();
    QPainterPath speaker;
    speaker.moveTo(x + 20, y + 28);
    speaker.lineTo(x + 36, y + 28);
    speaker.lineTo(x + 58, y + 10);
    speaker.lineTo(x + 58, y + 67);
    speaker.lineTo(x + 36, y + 49);
    speaker.lineTo(x + 20, y + 49);
    speaker.closeSubpath();
    p.drawPath(speaker);
    p.setPen(QPen(ink, 5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (const int r : {12, 24})
        p.drawArc(QRectF(x + 62 - r, y + 38.5 - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
    p.restore();
}

} // namespace

void dragWindowFrom(QWidget* panel) {
    if (QWindow* window = panel->window()->windowHandle())
        window->startSystemMove();
}

SentencePanel::SentencePanel(QWidget* parent) : QWidget(parent) {
    setObjectName("sentencePanel");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

QRect SentencePanel::hotSquare() const {
    return {kMargin + (kSideColumn - kSymbolSize) / 2, height() / 2 - kSymbolSize / 2, kSymbolSize,
            kSymbolSize};
}

QRect SentencePanel::waitBarArea() const {
    return {15, height() - kWaitBarHeight - 3, std::max(0, width() - 30), kWaitBarHeight};
}

QRect SentencePanel::passArea() const {
    return {width() - kMargin - kSideColumn, height() - kWaitBarHeight - 23, kSideColumn, 18};
}

void SentencePanel::showWait(double fractionLeft) {
    if (fractionLeft < 0 && waitLeft_ < 0)
        return;
    waitLeft_ = fractionLeft < 0 ? -1 : std::min(fractionLeft, 1.0);
    update(waitBarArea());
}

QString SentencePanel::passText() const {
    const bool loaded = source_.lessonLoaded && source_.lessonLoaded();
    const int pass = loaded && source_.passCount ? source_.passCount() : 0;
    if (pass <= 0)
        return {};
    const int total = source_.totalCount ? source_.totalCount() : 0;
    return QStringLiteral("%1/%2").arg(pass).arg(total == 0 ? QStringLiteral("∞")
                                                            : QString::number(total));
}

void SentencePanel::setAnnotator(Annotator annotator) {
    annotator_ = std::move(annotator);
    rubyCache_.valid = false;
    update();
}

QRect SentencePanel::textArea() const {
    const bool loaded = source_.lessonLoaded && source_.lessonLoaded();
    const int side = kMargin + (loaded ? kSideColumn : 0);
    return rect().adjusted(side, 8, -side, -8);
}

QFont SentencePanel::sentenceFont() const {
    return source_.font ? source_.font() : font();
}

FittedText SentencePanel::fittedText() const {
    const bool loaded = source_.lessonLoaded && source_.lessonLoaded();
    const QString text = loaded ? source_.sentenceText() : app::stringText(120);
    return FittedText::fit(text, sentenceFont(), app::displayFontPixelHeight(0), textArea().size());
}

const RubyText* SentencePanel::ruby() const {
    if (!annotator_ || !source_.lessonLoaded || !source_.lessonLoaded())
        return nullptr;
    const QString text = source_.sentenceText();
    const QFont font = sentenceFont();
    const QSize area = textArea().size();
    RubyCache& c = rubyCache_;
    if (!c.valid || c.text != text || c.font != font || c.area != area) {
        c = {text, font, area, true, {}};
        // Wrapped, then in smaller type down to the small size, then cut after a whole line.
        const pronunciation::Annotation annotation = annotator_(text);
        const int smallest = std::min(app::displayFontPixelHeight(0), pixelSizeOf(font));
        QFont sized = font;
        for (int size = pixelSizeOf(font);; --size) {
            sized.setPixelSize(size);
            c.ruby = RubyText(annotation, sized);
            c.ruby.layout(area.width(), Qt::AlignHCenter);
            if (c.ruby.size().height() <= area.height() || size <= smallest)
                break;
        }
        c.ruby.cutAfterLine(int(area.height() / c.ruby.lineHeight()));
    }
    return hasSyllables(c.ruby.annotation()) ? &c.ruby : nullptr;
}

int SentencePanel::pieceAt(const QPoint& point) const {
    const RubyText* shown = ruby();
    return shown ? shown->pieceAt(point - textArea().topLeft()) : -1;
}

bool SentencePanel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const RubyText* shown = ruby();
        if (shown && shown->syllableAt(help->pos() - textArea().topLeft()) >= 0) {
            QToolTip::showText(help->globalPos(), toneLegend(), this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

bool SentencePanel::symbolShown() const {
    return source_.lessonLoaded && source_.lessonLoaded() && !source_.playing() &&
           (!source_.playable || source_.playable());
}

void SentencePanel::paintEvent(QPaintEvent*) {
    // Qt paints widgets through a back buffer: the whole panel reaches the screen at once.
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QRect area = textArea();
    const bool loaded = source_.lessonLoaded && source_.lessonLoaded();
    p.setPen(Qt::black);
    if (const RubyText* shown = ruby())
        shown->paint(p, area.topLeft(), Qt::black);
    else
        fittedText().paint(p, area.topLeft());
    if (loaded) {
        if (symbolShown())
            drawPlaySymbol(p, hotSquare());
        if (const QString pass = passText(); !pass.isEmpty()) {
            QFont small(QStringLiteral("Tahoma"));
            small.setPixelSize(13);
            p.setFont(small);
            p.setPen(QColor(0x80, 0x80, 0x80));
            p.drawText(passArea(), Qt::AlignRight | Qt::AlignBottom | Qt::TextSingleLine, pass);
        }
        if (waitLeft_ >= 0) {
            // Runs down from the full width to nothing as the wait passes.
            QRect bar = waitBarArea();
            bar.setWidth(qRound(bar.width() * waitLeft_));
            p.fillRect(bar, kWaitBarColour);
        }
    } else {
        drawNoLessonPicture(
            p, QRect(QPoint(width() / 2 - kNoLessonPicture.width() / 2, 60), kNoLessonPicture));
    }
}

void SentencePanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (symbolShown() && hotSquare().contains(event->position().toPoint()))
        source_.togglePlayPause();
    else
        dragWindowFrom(this);
}

void SentencePanel::mouseMoveEvent(QMouseEvent* event) {
    if (symbolShown() && hotSquare().contains(event->position().toPoint()))
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void SentencePanel::contextMenuEvent(QContextMenuEvent* event) {
    const int piece = pieceMenu_ ? pieceAt(event->pos()) : -1;
    if (piece < 0 || ruby()->annotation()[piece].syllable.isEmpty()) {
        event->ignore();
        return;
    }
    pieceMenu_(piece, event->globalPos());
}

TipStrip::TipStrip(QWidget* parent) : QWidget(parent) {
    setObjectName("tipStrip");
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TipStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().button());
    const QRect band(0, 1, width(), height() - 3);
    p.fillRect(band, QColor(255, 255, 205));
    QFont small(QStringLiteral("Tahoma"));
    small.setPixelSize(kTipPixelSize);
    p.setFont(small);
    p.setPen(palette().buttonText().color());
    // One line, centred; in a narrow window it ends in "…" rather than being cut off.
    p.drawText(band, Qt::AlignCenter | Qt::TextSingleLine, shownText());
    // The etched line along the bottom edge.
    p.setPen(palette().dark().color());
    p.drawLine(0, height() - 2, width(), height() - 2);
    p.setPen(palette().light().color());
    p.drawLine(0, height() - 1, width(), height() - 1);
}

QString TipStrip::text() const {
    const QString notice = notice_ ? notice_() : QString();
    return notice.isEmpty() ? app::stringText(1052) : notice;
}

QString TipStrip::shownText() const {
    QFont small(QStringLiteral("Tahoma"));
    small.setPixelSize(kTipPixelSize);
    return QFontMetrics(small).elidedText(text(), Qt::ElideRight,
                                          std::max(0, width() - 2 * kTipMargin));
}

void TipStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragWindowFrom(this);
}

} // namespace lurvo::views
