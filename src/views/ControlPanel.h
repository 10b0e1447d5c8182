#pragma once

#include <QList>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSlider;
class QToolButton;

namespace lurvo::app {
struct Settings;
}

namespace lurvo::views {

// The strip across the top of the main window with the learner's playback settings: sentence
// mode, volume and mute, passes per sentence, file loop, and the open lesson's subtitle
// offset, the playback speed and the time to speak after each pass. Each control writes its setting
// at once and applies it to the open lesson.
class ControlPanel : public QWidget {
public:
    // Vertical separators between the groups of controls, in pixels from the left.
    static constexpr int kSeparatorX[] = {210, 345, 555, 700, 825, 975};
    // Narrower than this, the web page is not shown: it could show no more than a few words.
    static constexpr int kMinimumWebWidth = 100;

    // What the controls act on beyond the settings.
    struct Host {
        std::function<bool()> lessonLoaded;
        std::function<void(int volume)> setVolume; // the open lesson's player
        std::function<void()> sentenceModeChanged; // regroups the open lesson's sentences
        std::function<void()> changeOffset;        // the offset dialog and what follows it
        std::function<void()> openWebSite;
        std::function<void()> speedChanged; // the open lesson heard at the new speed
    };

    explicit ControlPanel(QWidget* parent);
    // Shows the settings; from then on the controls write the learner's changes into them.
    void attach(app::Settings& settings, Host host);

    // The lesson's subtitle offset and whether its button can be used.
    void setOffsetText(const QString& text, bool buttonEnabled);
    QString offsetText() const;
    // The speed after a command changed it elsewhere.
    void showSpeed(int percent);
    bool offsetButtonEnabled() const;

    QComboBox* modeBox() const { return mode_; }
    QSlider* volumeSlider() const { return volume_; }
    QCheckBox* muteBox() const { return mute_; }
    QLabel* countLabel() const { return count_; }
    QPushButton* countButton() const { return countButton_; }
    QCheckBox* loopBox() const { return loop_; }
    QPushButton* offsetButton() const { return offsetButton_; }
    QDoubleSpinBox* speedBox() const { return speed_; }
    QComboBox* waitBox() const { return wait_; }
    QWidget* logo() const { return logo_; }
    // The web page at the right end, kept in place as the panel is resized; may be absent.
    void setWebPanel(QWidget* panel);
    QWidget* webPanel() const { return webPanel_; }
    // How many groups of controls, from the left, fit the panel's width whole. The groups left
    // out open under the "»" button at the panel's right end.
    int groupsShown() const;
    QToolButton* moreButton() const { return more_; }
    // The popup holding the groups left out while it is open.
    QWidget* overflowPopup() const { return overflow_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void onModeSelected(int index);
    void onVolumeScrolled();
    void onMuteClicked(bool checked);
    void onCountClicked();
    void onSpeedChanged(double speed);
    void onWaitSelected(int index);
    void showOverflow();
    void takeBackOverflow();

    app::Settings* settings_ = nullptr;
    Host host_;
    QComboBox* mode_;
    QSlider* volume_;
    QCheckBox* mute_;
    QLabel* count_;
    QPushButton* countButton_;
    QCheckBox* loop_;
    QDoubleSpinBox* speed_;
    QComboBox* wait_;
    QLabel* offset_;
    QPushButton* offsetButton_;
    QWidget* logo_;
    QWidget* webPanel_ = nullptr;
    // Every control and label with the index of its group and its place in the panel.
    struct Group {
        QWidget* widget;
        int group;
        QRect home;
    };
    QList<Group> groups_;
    QToolButton* more_;
    QWidget* overflow_;
    static constexpr int kMoreWidth = 22;
};

} // namespace lurvo::views
