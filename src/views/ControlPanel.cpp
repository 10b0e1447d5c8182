#include "views/ControlPanel.h"

#include "app/Settings.h"
#include "app/StringTable.h"
#include "views/ControlImages.h"
#include "views/ControlValues.h"
#include "views/RepeatCountDialog.h"
#include "views/SentencePanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>

namespace lurvo::views {

namespace {

// The layout is that of a dialog in a 9-point font: one dialog unit is 1.5 pixels.
QRect du(double x, double y, double w, double h) {
    return {qRound(x * 1.5), qRound(y * 1.5), qRound(w * 1.5), qRound(h * 1.5)};
}

// The logo; a click on it opens the product web site.
class Logo : public QWidget {
public:
    Logo(QWidget* parent, std::function<void()> clicked)
        : QWidget(parent), image_(logoImage()), clicked_(std::move(clicked)) {
        setObjectName("logo");
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRect shown(QPoint(), image_.size());
        p.drawImage(shown.translated(rect().center() - shown.center()), image_);
    }
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            clicked_();
    }

private:
    QImage image_;
    std::function<void()> clicked_;
};

// The speed, stepped by its arrows or the wheel. It never takes the keyboard focus, so the
// number it shows is not left selected as if it were being typed over.
class SpeedBox : public QDoubleSpinBox {
public:
    using QDoubleSpinBox::QDoubleSpinBox;
    void stepBy(int steps) override {
        QDoubleSpinBox::stepBy(steps);
        lineEdit()->deselect();
    }
};

// A label on the panel: it takes no mouse input, so a press on it drags the window too.
QLabel* addLabel(QWidget* panel, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, panel);
    label->setGeometry(geometry);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

} // namespace

ControlPanel::ControlPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("controlPanel");
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);

    addLabel(this, QCoreApplication::translate("ControlPanel", "断句方式："), du(5, 8, 70, 8));
    mode_ = new QComboBox(this);
    mode_->setObjectName("modeBox");
    for (const int text : {1005, 1003, 1004})
        mode_->addItem(app::stringText(text));
    mode_->setGeometry(du(5, 20, 125, 0).adjusted(0, 0, 0, mode_->sizeHint().height()));
    addLabel(this, QCoreApplication::translate("ControlPanel", "一句话可能包含中英文两行字幕"),
             du(6, 38, 125, 8));

    addLabel(this, QCoreApplication::translate("ControlPanel", "音量："), du(150, 8, 30, 8));
    volume_ = new QSlider(Qt::Horizontal, this);
    volume_->setObjectName("volumeSlider");
    volume_->setRange(kSliderMin, kSliderMax);
    volume_->setTickPosition(QSlider::NoTicks);
    volume_->setGeometry(du(150, 20, 70, 12));
    mute_ = new QCheckBox(QCoreApplication::translate("ControlPanel", "静音"), this);
    mute_->setObjectName("muteBox");
    mute_->setGeometry(du(155, 38, 45, 10));

    addLabel(this, QCoreApplication::translate("ControlPanel", "每句读几遍："), du(240, 8, 65, 8));
    count_ = addLabel(this, QString(), du(240, 22, 20, 8));
    count_->setObjectName("countLabel");
    count_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    countButton_ = new QPushButton(QCoreApplication::translate("ControlPanel", "修改…"), this);
    countButton_->setObjectName("countButton");
    countButton_->setGeometry(du(265, 20, 35, 12));
    loop_ = new QCheckBox(QCoreApplication::translate("ControlPanel", "文件循环播放"), this);
    loop_->setObjectName("loopBox");
    loop_->setGeometry(du(240, 38, 70, 10));

    // Beside the passes, how fast they are heard: 0.50× to 2.00× by 0.05.
    addLabel(this, QCoreApplication::translate("ControlPanel", "语速："), QRect(470, 12, 75, 12));
    speed_ = new SpeedBox(this);
    speed_->setObjectName("speedBox");
    speed_->setRange(app::kMinSpeedPercent / 100.0, app::kMaxSpeedPercent / 100.0);
    speed_->setSingleStep(app::kSpeedStepPercent / 100.0);
    speed_->setDecimals(2);
    speed_->setSuffix(QStringLiteral("×"));
    speed_->setValue(1.0);
    speed_->setGeometry(470, 30, 72, speed_->sizeHint().height());

    addLabel(this, QCoreApplication::translate("ControlPanel", "跟读停顿："),
             QRect(570, 12, 115, 12));
    wait_ = new QComboBox(this);
    wait_->setObjectName("waitBox");
    for (int i = 0; i < gapChoiceCount(); ++i)
        wait_->addItem(gapChoiceText(i));
    wait_->setMaxVisibleItems(gapChoiceCount());
    wait_->setGeometry(570, 30, 115, wait_->sizeHint().height());
    addLabel(this, QCoreApplication::translate("ControlPanel", "每遍之后留时间跟读"),
             QRect(570, 57, 125, 12));

    // The groups after these stand as far to the right as the two new groups are wide.
    constexpr int shift = kSeparatorX[3] - 480;
    addLabel(this, QCoreApplication::translate("ControlPanel", "调整字幕偏移："),
             du(330, 8, 65, 8).translated(shift, 0));
    offset_ = addLabel(this, QStringLiteral("0"), du(335, 22, 65, 8).translated(shift, 0));
    offset_->setObjectName("offsetLabel");
    offsetButton_ = new QPushButton(QCoreApplication::translate("ControlPanel", "修改…"), this);
    offsetButton_->setObjectName("offsetButton");
    offsetButton_->setGeometry(du(335, 35, 35, 12).translated(shift, 0));
    offsetButton_->setEnabled(false);

    logo_ = new Logo(this, [this] {
        if (host_.openWebSite)
            host_.openWebSite();
    });
    logo_->setGeometry(du(412, 8, 83, 41).translated(shift, 0));

    // Buttons and boxes keep the keyboard focus on the list, where the keys act as commands.
    for (QWidget* control : std::initializer_list<QWidget*>{mode_, volume_, mute_, countButton_,
                                                            loop_, speed_, wait_, offsetButton_})
        control->setFocusPolicy(Qt::NoFocus);
}

void ControlPanel::attach(app::Settings& settings, Host host) {
    settings_ = &settings;
    host_ = std::move(host);
    volume_->setValue(sliderPositionForVolume(settings.volume));
    mute_->setChecked(settings.bMute);
    loop_->setChecked(settings.bFileLoopPlay);
    count_->setText(QString::number(unsigned(settings.totalCount)));
    offset_->setText(QStringLiteral("0"));
    mode_->setCurrentIndex(settings.lrcMode);
    speed_->setValue(settings.speedPercent / 100.0);
    wait_->setCurrentIndex(gapChoiceIndex(settings.gapMode, settings.gapValue));

    connect(mode_, &QComboBox::currentIndexChanged, this, [this](int i) { onModeSelected(i); });
    // Every move of the thumb, by mouse, wheel or page click, and its release even where it
    // was taken: the volume follows the slider as it is dragged.
    connect(volume_, &QSlider::valueChanged, this, [this] { onVolumeScrolled(); });
    connect(volume_, &QSlider::sliderReleased, this, [this] { onVolumeScrolled(); });
    connect(mute_, &QCheckBox::clicked, this, [this](bool checked) { onMuteClicked(checked); });
    connect(loop_, &QCheckBox::clicked, this,
            [this](bool checked) { settings_->bFileLoopPlay = checked; });
    connect(countButton_, &QPushButton::clicked, this, [this] { onCountClicked(); });
    connect(speed_, &QDoubleSpinBox::valueChanged, this, [this](double v) { onSpeedChanged(v); });
    connect(wait_, &QComboBox::currentIndexChanged, this, [this](int i) { onWaitSelected(i); });
    connect(offsetButton_, &QPushButton::clicked, this, [this] {
        if (host_.changeOffset)
            host_.changeOffset();
    });
}

void ControlPanel::setOffsetText(const QString& text, bool buttonEnabled) {
    offset_->setText(text);
    offsetButton_->setEnabled(buttonEnabled);
}

QString ControlPanel::offsetText() const {
    return offset_->text();
}

bool ControlPanel::offsetButtonEnabled() const {
    return offsetButton_->isEnabled();
}

void ControlPanel::onModeSelected(int index) {
    if (index < 0)
        return;
    settings_->lrcMode = index;
    if (host_.lessonLoaded())
        host_.sentenceModeChanged();
}

void ControlPanel::onVolumeScrolled() {
    settings_->volume = volumeForSliderPosition(volume_->value());
    if (host_.lessonLoaded() && !settings_->bMute)
        host_.setVolume(settings_->volume);
}

void ControlPanel::onMuteClicked(bool checked) {
    settings_->bMute = checked;
    if (host_.lessonLoaded())
        host_.setVolume(checked ? -10000 : settings_->volume);
}

void ControlPanel::onCountClicked() {
    if (const std::optional<int> count = RepeatCountDialog::ask(settings_->totalCount, window())) {
        settings_->totalCount = *count;
        count_->setText(QString::number(unsigned(*count)));
    }
}

void ControlPanel::showSpeed(int percent) {
    // Shown only: the command that changed the speed has applied it.
    const QSignalBlocker quiet(speed_);
    speed_->setValue(percent / 100.0);
}

void ControlPanel::onSpeedChanged(double speed) {
    settings_->speedPercent = app::snappedSpeedPercent(qRound(speed * 100));
    if (host_.speedChanged)
        host_.speedChanged();
}

void ControlPanel::onWaitSelected(int index) {
    if (index < 0)
        return;
    // Read by the player after each pass: nothing to apply here.
    const GapChoice choice = gapChoiceAt(index);
    settings_->gapMode = choice.mode;
    settings_->gapValue = choice.value;
}

void ControlPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor dark = palette().dark().color();
    const QColor light = palette().light().color();
    const int w = width();
    const int h = height();
    // Etched lines: the top and bottom edges and the separators between the groups.
    for (const int y : {0, h - 2}) {
        p.setPen(dark);
        p.drawLine(0, y, w, y);
        p.setPen(light);
        p.drawLine(0, y + 1, w, y + 1);
    }
    for (const int x : kSeparatorX) {
        p.setPen(dark);
        p.drawLine(x, 0, x, h - 1);
        p.setPen(light);
        p.drawLine(x + 1, 0, x + 1, h - 1);
    }
}

void ControlPanel::setWebPanel(QWidget* panel) {
    webPanel_ = panel;
    resizeEvent(nullptr);
}

void ControlPanel::resizeEvent(QResizeEvent*) {
    // Only the web page takes up the width beyond the fixed groups of controls.
    if (webPanel_ != nullptr)
        webPanel_->setGeometry(kSeparatorX[5] + 5, 5, std::max(0, width() - kSeparatorX[5] - 8),
                               std::max(0, height() - 10));
}

void ControlPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragWindowFrom(this);
}

} // namespace lurvo::views
