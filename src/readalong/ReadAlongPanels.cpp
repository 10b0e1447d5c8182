#include "readalong/ReadAlongPanels.h"

#include "app/StringTable.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTextLayout>
#include <QWindow>
#include <QtMath>

#include <algorithm>

namespace lurvo::readalong {

namespace {

// The panel's layout is that of a dialog in a 9-point font: a dialog unit is 1.5 pixels.
QRect du(double x, double y, double w, double h) {
    return {qRound(x * 1.5), qRound(y * 1.5), qRound(w * 1.5), qRound(h * 1.5)};
}

// The state panel's text sits this far inside its edges; the sentence follows a little below.
constexpr int kMarginX = 15;
constexpr int kMarginY = 8;
constexpr int kSentenceGap = 6;

QFont stateFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(24);
    font.setWeight(QFont::DemiBold);
    return font;
}

int lineHeight(const QFont& font) {
    return qCeil(views::chineseLineHeight(font));
}

void dragWindow(QWidget* panel) {
    if (QWindow* window = panel->window()->windowHandle())
        window->startSystemMove();
}

QLabel* addLabel(QWidget* panel, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, panel);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

QPushButton* addButton(QWidget* panel, const QString& text, const QRect& geometry,
                       std::function<void()> action) {
    auto* button = new QPushButton(text, panel);
    button->setGeometry(geometry);
    button->setFlat(true);
    // The keys belong to the window's commands, not to the buttons.
    button->setFocusPolicy(Qt::NoFocus);
    QObject::connect(button, &QPushButton::clicked, panel, [action = std::move(action)] {
        if (action)
            action();
    });
    return button;
}

QLineEdit* addReadOnlyEdit(QWidget* panel, const QRect& geometry) {
    auto* edit = new QLineEdit(panel);
    edit->setGeometry(geometry);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

} // namespace

DevicePanel::DevicePanel(QWidget* parent, Actions actions) : QWidget(parent) {
    setObjectName("devicePanel");
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);

    addLabel(this, QCoreApplication::translate("ReadAlongPanels", "录音设备"), du(80, 6, 40, 10));
    device_ = addReadOnlyEdit(this, du(125, 5, 210, 12));
    device_->setObjectName("deviceEdit");
    // As tall as the edit beside it, so that the text is not clipped at this font's height.
    addLabel(this, QCoreApplication::translate("ReadAlongPanels", "录音存放"), du(80, 20, 40, 12));
    destination_ = addReadOnlyEdit(this, du(125, 20, 182, 12));
    destination_->setObjectName("destinationEdit");
    deviceButton_ = addButton(this, app::stringText(1061), du(5, 5, 70, 15), actions.chooseDevice);
    propertiesButton_ =
        addButton(this, QCoreApplication::translate("ReadAlongPanels", "录音设备属性…"),
                  du(5, 25, 70, 15), actions.showProperties);
    destinationButton_ =
        addButton(this, app::stringText(1067), du(310, 20, 25, 12), actions.chooseDestination);
    autoPlay_ = new QCheckBox(app::stringText(1071), this);
    autoPlay_->setObjectName("autoPlayBox");
    autoPlay_->setGeometry(du(125, 35, 125, 10));
    autoPlay_->setFocusPolicy(Qt::NoFocus);
    connect(autoPlay_, &QCheckBox::clicked, this, [changed = actions.autoPlayChanged](bool on) {
        if (changed)
            changed(on);
    });
}

void DevicePanel::setDeviceName(const QString& name) {
    device_->setText(name);
    device_->setCursorPosition(0);
}

void DevicePanel::setDestination(const QString& path) {
    destination_->setText(path);
    destination_->setCursorPosition(0);
}

void DevicePanel::setAutoPlay(bool on) {
    autoPlay_->setChecked(on);
}

void DevicePanel::paintEvent(QPaintEvent*) {
    // The etched line along the bottom edge.
    QPainter p(this);
    p.setPen(palette().dark().color());
    p.drawLine(0, height() - 2, width(), height() - 2);
    p.setPen(palette().light().color());
    p.drawLine(0, height() - 1, width(), height() - 1);
}

void DevicePanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragWindow(this);
}

StatePanel::StatePanel(QWidget* parent) : QWidget(parent) {
    setObjectName("statePanel");
    setAttribute(Qt::WA_OpaquePaintEvent);
    font_ = stateFont();
}

void StatePanel::refresh(const QString& text) {
    text_ = text;
    update();
}

void StatePanel::setSentence(const QString& text, const QFont& font) {
    sentence_ = text;
    sentenceFont_ = font;
    update();
}

void StatePanel::setAnnotator(views::Annotator annotator) {
    annotator_ = std::move(annotator);
    update();
}

int StatePanel::heightFor(const QFont& sentenceFont, bool withReadings) {
    const int band = withReadings ? qCeil(views::RubyText::syllableBandFor(sentenceFont)) : 0;
    return kMarginY + lineHeight(stateFont()) + kSentenceGap +
           kSentenceLines * (lineHeight(sentenceFont) + band) + kMarginY;
}

QRect StatePanel::sentenceArea() const {
    const int top = kMarginY + lineHeight(font_) + kSentenceGap;
    return QRect(kMarginX, top, width() - 2 * kMarginX, height() - kMarginY - top);
}

QStringList StatePanel::sentenceLines() const {
    if (sentence_.isEmpty())
        return {};
    const QRect area = sentenceArea();
    const QFontMetrics metrics(sentenceFont_);
    const int room = std::max(1, area.height() / lineHeight(sentenceFont_));
    // A sentence of two subtitle lines keeps its break.
    QString text = sentence_;
    text.replace(QStringLiteral("\r\n"), QChar(QChar::LineSeparator));
    text.replace(QLatin1Char('\n'), QChar(QChar::LineSeparator));
    QTextLayout layout(text, sentenceFont_);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    int lastStart = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(area.width());
        if (lines.size() == room) {
            // More than fits: the last line shown takes the rest, cut short.
            QString rest = text.mid(lastStart);
            rest.replace(QChar(QChar::LineSeparator), QLatin1Char(' '));
            lines.last() = metrics.elidedText(rest, Qt::ElideRight, area.width());
            break;
        }
        lastStart = line.textStart();
        lines << text.mid(line.textStart(), line.textLength())
                     .remove(QChar(QChar::LineSeparator))
                     .trimmed();
    }
    layout.endLayout();
    return lines;
}

void StatePanel::paintEvent(QPaintEvent*) {
    // Qt paints through a back buffer: the panel reaches the screen whole.
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setFont(font_);
    p.setPen(Qt::black);
    p.drawText(rect().adjusted(kMarginX, kMarginY, -kMarginX, -kMarginY),
               Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text_);
    const QRect area = sentenceArea();
    if (annotator_ && !sentence_.isEmpty()) {
        views::RubyText ruby(annotator_(sentence_), sentenceFont_);
        if (views::hasSyllables(ruby.annotation())) {
            ruby.layout(area.width(), Qt::AlignHCenter);
            // The lines that fit whole; a sentence longer than that is cut after them.
            const int room = std::max(1, int(area.height() / ruby.lineHeight()));
            p.setClipRect(area);
            ruby.paint(p, area.topLeft(), Qt::black, room);
            return;
        }
    }
    const int height = lineHeight(sentenceFont_);
    p.setFont(sentenceFont_);
    int y = area.top();
    for (const QString& line : sentenceLines()) {
        p.drawText(QRect(area.left(), y, area.width(), height),
                   Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, line);
        y += height;
    }
}

void StatePanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragWindow(this);
}

} // namespace lurvo::readalong
