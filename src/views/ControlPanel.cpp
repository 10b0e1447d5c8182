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
#include <QToolButton>

#include <algorithm>
#include <iterator>

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
        : QWidget(parent), clicked_(std::move(clicked)) {
        setObjectName("logo");
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        // Drawn afresh rather than copied from a picture, so it is sharp at any screen scale.
        QPainter p(this);
        const QRect shown(QPoint(), kLogoSize);
        p.translate(shown.translated(rect().center() - shown.center()).topLeft());
        paintLogo(p);
    }
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            clicked_();
    }

private:
    std::function<void()> clicked_;
};

// Etched lines along the top and bottom edges of `w`, and down it at `separators`.
void paintEtchedLines(QWidget* w, std::initializer_list<int> separators) {
    QPainter p(w);
    const QColor dark = w->palette().dark().color();
    const QColor light = w->palette().light().color();
    const int h = w->height();
    for (const int y : {0, h - 2}) {
        p.setPen(dark);
        p.drawLine(0, y, w->width(), y);
        p.setPen(light);
        p.drawLine(0, y + 1, w->width(), y + 1);
    }
    for (const int x : separators) {
        if (x < 0 || x >= w->width())
            continue;
        p.setPen(dark);
        p.drawLine(x, 0, x, h - 1);
        p.setPen(light);
        p.drawLine(x + 1, 0, x + 1, h - 1);
    }
}

// The groups a narrow panel leaves out, shown under its "»" button as they stand in the panel;
// their controls are lent to it while it is open.
class OverflowPopup : public QWidget {
public:
    OverflowPopup(QWidget* panel, std::function<void()> closed)
        : QWidget(panel, Qt::Popup), closed_(std::move(closed)) {
        setObjectName("overflowPopup");
        setAutoFillBackground(true);
    }
    int left = 0; // where the first group it shows starts in the panel

protected:
    void paintEvent(QPaintEvent*) override {
        const auto* x = ControlPanel::kSeparatorX;
        paintEtchedLines(this, {0, x[0] - left, x[1] - left, x[2] - left, x[3] - left, x[4] - left,
                                x[5] - left, width() - 2});
    }
    void hideEvent(QHideEvent*) override {
        // The controls go home once the popup is done with its own hiding.
        QMetaObject::invokeMethod(this, closed_, Qt::QueuedConnection);
    }

private:
    std::function<void()> closed_;
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

    // Each control and label belongs to the group between the separators around it.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const int x = child->geometry().left();
        const auto group = std::find_if(std::begin(kSeparatorX), std::end(kSeparatorX),
                                        [x](int separator) { return separator > x; });
        groups_.append({child, int(group - std::begin(kSeparatorX)), child->geometry()});
    }
    more_ = new QToolButton(this);
    more_->setObjectName("moreButton");
    more_->setText(QStringLiteral("»"));
    more_->setAutoRaise(true);
    overflow_ = new OverflowPopup(this, [this] { takeBackOverflow(); });
    connect(more_, &QToolButton::clicked, this, [this] { showOverflow(); });

    // Buttons and boxes keep the keyboard focus on the list, where the keys act as commands.
    for (QWidget* control : std::initializer_list<QWidget*>{
             mode_, volume_, mute_, countButton_, loop_, speed_, wait_, offsetButton_, more_})
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
    // The separators of the groups left out would stand beyond the edge, or cut into the page.
    const int shown = groupsShown();
    const auto separator = [shown](int i) { return i < shown ? kSeparatorX[i] : -1; };
    paintEtchedLines(
        this, {separator(0), separator(1), separator(2), separator(3), separator(4), separator(5)});
}

void ControlPanel::showOverflow() {
    const int shown = groupsShown();
    if (shown == int(std::size(kSeparatorX)) || overflow_->isVisible())
        return;
    auto* popup = static_cast<OverflowPopup*>(overflow_);
    popup->left = shown == 0 ? 0 : kSeparatorX[shown - 1] + 2;
    for (const Group& g : groups_)
        if (g.group >= shown) {
            g.widget->setParent(popup);
            g.widget->setGeometry(g.home.translated(-popup->left, 0));
            g.widget->show();
        }
    popup->resize(kSeparatorX[std::size(kSeparatorX) - 1] + 2 - popup->left, height());
    popup->move(mapToGlobal(QPoint(std::max(0, width() - popup->width()), height())));
    popup->show();
}

void ControlPanel::takeBackOverflow() {
    for (const Group& g : groups_)
        if (g.widget->parentWidget() == overflow_) {
            g.widget->setParent(this);
            g.widget->setGeometry(g.home);
        }
    resizeEvent(nullptr);
}

void ControlPanel::setWebPanel(QWidget* panel) {
    webPanel_ = panel;
    resizeEvent(nullptr);
}

int ControlPanel::groupsShown() const {
    int shown = 0;
    while (shown < int(std::size(kSeparatorX)) && kSeparatorX[shown] + 2 <= width())
        ++shown;
    return shown;
}

void ControlPanel::resizeEvent(QResizeEvent*) {
    // The groups keep their places; a group the panel is too narrow for is left out whole
    // rather than cut off at the window's edge, and the "»" button at the right end opens it.
    const int shown = groupsShown();
    for (const Group& g : groups_)
        if (g.widget->parentWidget() == this)
            g.widget->setVisible(g.group < shown);
    const bool leftOut = shown < int(std::size(kSeparatorX));
    more_->setVisible(leftOut);
    more_->setGeometry(width() - 3 - kMoreWidth, 5, kMoreWidth, height() - 10);
    // The web page takes up the width beyond the groups shown.
    if (webPanel_ != nullptr) {
        const int left = shown == 0 ? 5 : kSeparatorX[shown - 1] + 5;
        const int pageWidth = width() - left - 3 - (leftOut ? kMoreWidth + 3 : 0);
        webPanel_->setGeometry(left, 5, std::max(0, pageWidth), std::max(0, height() - 10));
        webPanel_->setVisible(pageWidth >= kMinimumWebWidth);
    }
}

void ControlPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragWindowFrom(this);
}

} // namespace lurvo::views
