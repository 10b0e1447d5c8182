#include "readalong/ReadAlongPanels.h"

#include "app/StringTable.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWindow>

namespace lurvo::readalong {

namespace {

// The panel's layout is that of a dialog in a 9-point font: a dialog unit is 1.5 pixels.
QRect du(double x, double y, double w, double h) {
    return {qRound(x * 1.5), qRound(y * 1.5), qRound(w * 1.5), qRound(h * 1.5)};
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

    addLabel(this, QStringLiteral("录音设备"), du(80, 6, 40, 10));
    device_ = addReadOnlyEdit(this, du(125, 5, 210, 12));
    device_->setObjectName("deviceEdit");
    // As tall as the edit beside it, so that the text is not clipped at this font's height.
    addLabel(this, QStringLiteral("录音存放"), du(80, 20, 40, 12));
    destination_ = addReadOnlyEdit(this, du(125, 20, 182, 12));
    destination_->setObjectName("destinationEdit");
    deviceButton_ = addButton(this, app::stringText(1061), du(5, 5, 70, 15), actions.chooseDevice);
    propertiesButton_ =
        addButton(this, QStringLiteral("录音设备属性…"), du(5, 25, 70, 15), actions.showProperties);
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
    font_ = QFont(QStringLiteral("Tahoma"));
    font_.setPixelSize(24);
    font_.setWeight(QFont::DemiBold);
}

void StatePanel::refresh(const QString& text) {
    text_ = text;
    update();
}

void StatePanel::paintEvent(QPaintEvent*) {
    // Qt paints through a back buffer: the panel reaches the screen whole.
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setFont(font_);
    p.setPen(Qt::black);
    p.drawText(rect().adjusted(15, 8, -15, -8), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
               text_);
}

void StatePanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragWindow(this);
}

} // namespace lurvo::readalong
