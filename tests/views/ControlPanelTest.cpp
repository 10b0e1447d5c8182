#include "views/ControlPanel.h"

#include "app/Settings.h"

#include "ImageColours.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using lurvo::views::ControlPanel;

namespace {

class ControlPanelTest : public testing::Test {
protected:
    lurvo::app::Settings settings;
    bool loaded = false;
    QList<int> volumes;
    int regroups = 0;
    int offsetDialogs = 0;
    int webSiteOpened = 0;
    QList<int> speedsApplied; // the setting each time the lesson was told
    QWidget window;
    ControlPanel* panel = new ControlPanel(&window);

    void attach() {
        panel->attach(settings, {
                                    [this] { return loaded; },
                                    [this](int volume) { volumes << volume; },
                                    [this] { ++regroups; },
                                    [this] { ++offsetDialogs; },
                                    [this] { ++webSiteOpened; },
                                    [this] { speedsApplied << settings.speedPercent; },
                                });
        window.resize(1000, 85);
        panel->setGeometry(0, 0, 1000, 85);
        window.show();
    }

    // Answers the next modal dialog by typing into its line edit and pressing a button.
    static void answerDialog(const QString& typed, const QString& button) {
        QTimer::singleShot(0, [typed, button] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("每句读几遍"));
            dialog->findChild<QLineEdit*>()->setText(typed);
            for (QPushButton* b : dialog->findChildren<QPushButton*>())
                if (b->text() == button)
                    b->click();
        });
    }
};

TEST_F(ControlPanelTest, ShowsTheSettings) {
    settings.lrcMode = 2;
    settings.bMute = true;
    settings.bFileLoopPlay = false;
    settings.totalCount = 0;
    settings.speedPercent = 75;
    settings.gapMode = 2;
    settings.gapValue = 150;
    attach();
    EXPECT_EQ(panel->modeBox()->count(), 3);
    EXPECT_EQ(panel->modeBox()->itemText(0), QStringLiteral("一行为一句"));
    EXPECT_EQ(panel->modeBox()->itemText(1), QStringLiteral("两行为一句（奇数行为句头）"));
    EXPECT_EQ(panel->modeBox()->itemText(2), QStringLiteral("两行为一句（偶数行为句头）"));
    EXPECT_EQ(panel->modeBox()->currentIndex(), 2);
    EXPECT_EQ(panel->volumeSlider()->minimum(), 1);
    EXPECT_EQ(panel->volumeSlider()->maximum(), 100);
    EXPECT_EQ(panel->volumeSlider()->value(), 79);
    EXPECT_TRUE(panel->muteBox()->isChecked());
    EXPECT_FALSE(panel->loopBox()->isChecked());
    EXPECT_EQ(panel->countLabel()->text(), QStringLiteral("0"));
    EXPECT_EQ(panel->offsetText(), QStringLiteral("0"));
    EXPECT_FALSE(panel->offsetButtonEnabled());
    EXPECT_EQ(panel->speedBox()->text(), QStringLiteral("0.75×"));
    EXPECT_EQ(panel->waitBox()->count(), 15);
    EXPECT_EQ(panel->waitBox()->currentText(), QStringLiteral("1.5 倍句长"));
    EXPECT_EQ(settings.volume, -500) << "showing the settings changes none";
    EXPECT_EQ(settings.speedPercent, 75);
    EXPECT_EQ(settings.gapValue, 150);
    EXPECT_TRUE(speedsApplied.isEmpty());
    EXPECT_TRUE(volumes.isEmpty());
    EXPECT_EQ(regroups, 0);
}

TEST_F(ControlPanelTest, SeparatorsFallBetweenTheGroups) {
    attach();
    // Each group of controls lies between two neighbouring separators.
    const struct {
        QWidget* control;
        int group;
    } controls[] = {{panel->modeBox(), 0},      {panel->volumeSlider(), 1},
                    {panel->muteBox(), 1},      {panel->countButton(), 2},
                    {panel->loopBox(), 2},      {panel->countLabel(), 2},
                    {panel->speedBox(), 2},     {panel->waitBox(), 3},
                    {panel->offsetButton(), 4}, {panel->logo(), 5}};
    for (const auto& c : controls) {
        const QRect r = c.control->geometry();
        const int left = c.group == 0 ? 0 : ControlPanel::kSeparatorX[c.group - 1] + 2;
        EXPECT_GE(r.left(), left) << c.control->objectName().toStdString();
        EXPECT_LT(r.right(), ControlPanel::kSeparatorX[c.group])
            << c.control->objectName().toStdString();
        EXPECT_LE(r.bottom(), 83) << c.control->objectName().toStdString();
    }
    // Nothing moves when the panel widens.
    const QRect logo = panel->logo()->geometry();
    panel->resize(1400, 85);
    EXPECT_EQ(panel->logo()->geometry(), logo);
}

TEST_F(ControlPanelTest, NarrowPanelLeavesOutWholeGroupsAndGivesTheRestToTheWebPage) {
    attach();
    auto* page = new QWidget(panel);
    panel->setWebPanel(page);
    const auto check = [&](int width, int groups) {
        panel->resize(width, 85);
        EXPECT_EQ(panel->groupsShown(), groups) << width;
        QList<QWidget*> shown;
        for (QWidget* child : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child == page || child->isHidden())
                continue;
            // Nothing reaches past the edge, where its words would be cut.
            EXPECT_LE(child->geometry().right(), width - 1)
                << width << " " << child->objectName().toStdString();
            EXPECT_FALSE(child->geometry().intersects(page->geometry()))
                << width << " " << child->objectName().toStdString();
            shown << child;
        }
        return shown;
    };
    // The window's smallest width: the sentence mode and the volume, then the page.
    const QList<QWidget*> narrow = check(525, 2);
    EXPECT_TRUE(narrow.contains(panel->modeBox()));
    EXPECT_TRUE(narrow.contains(panel->muteBox()));
    EXPECT_FALSE(narrow.contains(panel->speedBox()));
    EXPECT_FALSE(narrow.contains(panel->countLabel())) << "its group goes whole";
    EXPECT_FALSE(page->isHidden());
    EXPECT_EQ(page->geometry(), QRect(350, 5, 147, 75)) << "beside the button for the others";
    EXPECT_FALSE(panel->moreButton()->isHidden());

    // The groups left out open under "»" as they stand in the panel, and go back when it closes.
    const QRect countButton = panel->countButton()->geometry();
    QTest::mouseClick(panel->moreButton(), Qt::LeftButton);
    QWidget* popup = panel->overflowPopup();
    ASSERT_TRUE(popup->isVisible());
    for (QWidget* lent : std::initializer_list<QWidget*>{panel->countButton(), panel->speedBox(),
                                                         panel->offsetButton(), panel->logo()}) {
        EXPECT_EQ(lent->parentWidget(), popup) << lent->objectName().toStdString();
        EXPECT_TRUE(lent->isVisible()) << lent->objectName().toStdString();
        EXPECT_TRUE(popup->rect().contains(lent->geometry())) << lent->objectName().toStdString();
    }
    EXPECT_EQ(panel->countButton()->x(), countButton.x() - 347) << "its group starts the popup";
    EXPECT_EQ(panel->modeBox()->parentWidget(), panel) << "what is shown stays";
    popup->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(panel->countButton()->parentWidget(), panel);
    EXPECT_EQ(panel->countButton()->geometry(), countButton);
    EXPECT_TRUE(panel->countButton()->isHidden());

    // Everything at the default width, the page beyond the logo.
    const QList<QWidget*> wide = check(1100, 6);
    EXPECT_TRUE(wide.contains(panel->logo()));
    EXPECT_TRUE(wide.contains(panel->offsetButton()));
    EXPECT_EQ(page->geometry(), QRect(980, 5, 117, 75));
    EXPECT_FALSE(page->isHidden());
    EXPECT_TRUE(panel->moreButton()->isHidden()) << "nothing left out";
    check(1070, 6);
    EXPECT_TRUE(page->isHidden()) << "too narrow to show anything";

    // Just too narrow for the logo's separator.
    const QList<QWidget*> almost = check(976, 5);
    EXPECT_FALSE(almost.contains(panel->logo()));
    EXPECT_TRUE(almost.contains(panel->offsetButton()));
}

TEST_F(ControlPanelTest, LogoIsDrawnSharpOnAScaledScreen) {
    attach();
    QWidget* logo = panel->logo();
    const auto renderAt = [logo](qreal ratio) {
        QImage image(logo->size() * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        logo->render(&image);
        return image;
    };
    const QImage normal = renderAt(1);
    ASSERT_TRUE(lurvo::test::colourIn(normal, normal.rect(), QColor(0x2e, 0x67, 0xb0)))
        << "the logo is drawn";
    const QImage doubled = renderAt(2);
    EXPECT_FALSE(lurvo::test::blownUp(doubled)) << "drawn in the screen's pixels";
    EXPECT_TRUE(lurvo::test::blownUp(normal.scaled(normal.size() * 2)))
        << "the check tells a blown-up picture";
}

TEST_F(ControlPanelTest, VolumeAndMuteReachThePlayerOnlyWithALesson) {
    attach();
    // Without a lesson only the settings change.
    panel->volumeSlider()->setValue(50);
    EXPECT_EQ(settings.volume, -1505);
    panel->muteBox()->click();
    EXPECT_TRUE(settings.bMute);
    EXPECT_TRUE(volumes.isEmpty());

    loaded = true;
    panel->volumeSlider()->setValue(10); // muted: the player stays silent
    EXPECT_EQ(settings.volume, -5000);
    EXPECT_TRUE(volumes.isEmpty());
    panel->muteBox()->click(); // unmuting restores the slider's volume
    EXPECT_FALSE(settings.bMute);
    panel->muteBox()->click();
    EXPECT_EQ(volumes, QList<int>({-5000, -10000}));

    panel->muteBox()->click();
    volumes.clear();
    panel->volumeSlider()->setValue(100);
    EXPECT_EQ(volumes, QList<int>{0});
}

TEST_F(ControlPanelTest, TouchingTheSliderAtTheDefaultSetsItsStep) {
    attach();
    loaded = true;
    QSlider* slider = panel->volumeSlider();
    emit slider->sliderReleased(); // released where it was taken
    EXPECT_EQ(settings.volume, -511);
    EXPECT_EQ(volumes, QList<int>{-511});
}

TEST_F(ControlPanelTest, SentenceModeAndLoopWriteTheSettings) {
    attach();
    panel->modeBox()->setCurrentIndex(1);
    EXPECT_EQ(settings.lrcMode, 1);
    EXPECT_EQ(regroups, 0) << "no lesson to regroup";
    loaded = true;
    panel->modeBox()->setCurrentIndex(2);
    EXPECT_EQ(settings.lrcMode, 2);
    EXPECT_EQ(regroups, 1);

    panel->loopBox()->click();
    EXPECT_FALSE(settings.bFileLoopPlay);
    panel->loopBox()->click();
    EXPECT_TRUE(settings.bFileLoopPlay);
}

TEST_F(ControlPanelTest, RepeatCountDialogClampsWhatIsTyped) {
    attach();
    const struct {
        const char* typed;
        int count;
    } entries[] = {{"5", 5}, {"12", 9}, {"", 0}, {"abc", 0}, {"-3", 0}};
    for (const auto& e : entries) {
        settings.totalCount = 3;
        answerDialog(QString::fromLatin1(e.typed), QStringLiteral("确定"));
        panel->countButton()->click();
        EXPECT_EQ(settings.totalCount, e.count) << e.typed;
        EXPECT_EQ(panel->countLabel()->text(), QString::number(e.count)) << e.typed;
    }
    answerDialog(QStringLiteral("7"), QStringLiteral("取消"));
    panel->countButton()->click();
    EXPECT_EQ(settings.totalCount, 0);
}

TEST_F(ControlPanelTest, OffsetButtonFollowsTheLessonAndLogoOpensTheSite) {
    attach();
    panel->setOffsetText(QStringLiteral("提前300毫秒"), true);
    EXPECT_EQ(panel->offsetText(), QStringLiteral("提前300毫秒"));
    ASSERT_TRUE(panel->offsetButtonEnabled());
    panel->offsetButton()->click();
    EXPECT_EQ(offsetDialogs, 1);
    panel->setOffsetText(QStringLiteral("0"), false);
    panel->offsetButton()->click();
    EXPECT_EQ(offsetDialogs, 1);

    QTest::mouseClick(panel->logo(), Qt::LeftButton, {}, panel->logo()->rect().center());
    EXPECT_EQ(webSiteOpened, 1);
}

TEST_F(ControlPanelTest, SpeedStepsByFiveHundredthsAndAppliesAtOnce) {
    attach();
    QDoubleSpinBox* speed = panel->speedBox();
    speed->stepUp();
    EXPECT_EQ(speed->text(), QStringLiteral("1.05×"));
    EXPECT_EQ(settings.speedPercent, 105);
    speed->stepDown();
    speed->stepDown();
    EXPECT_EQ(settings.speedPercent, 95);
    EXPECT_EQ(speedsApplied, QList<int>({105, 100, 95}));

    // The ends hold.
    speed->setValue(0.5);
    speed->stepDown();
    EXPECT_EQ(settings.speedPercent, 50);
    speed->setValue(3.0);
    EXPECT_EQ(settings.speedPercent, 200);

    // A speed set by a command is shown without being applied a second time.
    speedsApplied.clear();
    settings.speedPercent = 125;
    panel->showSpeed(125);
    EXPECT_EQ(speed->text(), QStringLiteral("1.25×"));
    EXPECT_TRUE(speedsApplied.isEmpty());
}

TEST_F(ControlPanelTest, WaitBoxWritesModeAndValue) {
    attach();
    const struct {
        int index;
        int mode;
        int value;
    } choices[] = {{3, 1, 3}, {10, 1, 10}, {11, 2, 50}, {14, 2, 200}, {0, 0, 0}};
    for (const auto& c : choices) {
        panel->waitBox()->setCurrentIndex(c.index);
        EXPECT_EQ(settings.gapMode, c.mode) << c.index;
        EXPECT_EQ(settings.gapValue, c.value) << c.index;
    }
}

} // namespace
