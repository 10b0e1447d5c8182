#include "subtitles/OffsetDialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using lurvo::subtitles::lessonOffsetText;
using lurvo::subtitles::OffsetDialog;

namespace {

QLineEdit* editOf(QWidget* dialog) {
    return dialog->findChild<QLineEdit*>(QStringLiteral("offsetEdit"));
}

QPushButton* buttonOf(QWidget* dialog, const QString& text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

// Types over the preset value, as a learner does in the freshly opened dialog.
void typeOffset(QWidget* dialog, const QString& text) {
    QLineEdit* edit = editOf(dialog);
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(edit->hasSelectedText());
    QTest::keyClicks(edit, text);
}

TEST(OffsetDialog, ShowsItsTextsAndTheCurrentOffset) {
    OffsetDialog dialog(-300, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("微调字幕偏移"));
    EXPECT_TRUE(dialog.isModal());
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    for (const char16_t* text : {u"调整字幕偏移：", u"（毫秒）", u"正：字幕提前", u"负：字幕延后"})
        EXPECT_TRUE(labels.contains(QString::fromUtf16(text)))
            << QString::fromUtf16(text).toStdString();
    ASSERT_NE(editOf(&dialog), nullptr);
    EXPECT_EQ(editOf(&dialog)->text(), QStringLiteral("-300"));
    EXPECT_EQ(editOf(&dialog)->selectedText(), QStringLiteral("-300"));
    ASSERT_NE(buttonOf(&dialog, QStringLiteral("确定")), nullptr);
    ASSERT_NE(buttonOf(&dialog, QStringLiteral("取消")), nullptr);
    EXPECT_TRUE(buttonOf(&dialog, QStringLiteral("确定"))->isDefault());
    EXPECT_EQ(dialog.offsetMs(), -300);
}

TEST(OffsetDialog, ConfirmReadsTheEntryClamped) {
    const struct {
        const char16_t* typed;
        int ms;
    } cases[] = {{u"2500", 2000}, {u"-3000", -2000}, {u"abc", 0}, {u"-450", -450}};
    for (const auto& c : cases) {
        OffsetDialog dialog(100, nullptr);
        typeOffset(&dialog, QString::fromUtf16(c.typed));
        QTest::mouseClick(buttonOf(&dialog, QStringLiteral("确定")), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.offsetMs(), c.ms) << QString::fromUtf16(c.typed).toStdString();
    }
}

TEST(OffsetDialog, CancelKeepsTheOffset) {
    OffsetDialog dialog(700, nullptr);
    typeOffset(&dialog, QStringLiteral("-5"));
    QTest::mouseClick(buttonOf(&dialog, QStringLiteral("取消")), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.offsetMs(), 700);
}

// Acts on the dialog once ask() has shown it and runs its event loop.
std::optional<int> askAndThen(int current, std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (dynamic_cast<OffsetDialog*>(widget) != nullptr && widget->isVisible())
                return act(widget);
        }
        ADD_FAILURE() << "no dialog shown";
    });
    return OffsetDialog::ask(current, nullptr);
}

TEST(OffsetDialog, AskGivesTheNewOffsetOnlyWhenConfirmed) {
    EXPECT_EQ(askAndThen(0,
                         [](QWidget* dialog) {
                             typeOffset(dialog, QStringLiteral("2500"));
                             QTest::mouseClick(buttonOf(dialog, QStringLiteral("确定")),
                                               Qt::LeftButton);
                         }),
              std::optional<int>(2000));
    EXPECT_EQ(askAndThen(300,
                         [](QWidget* dialog) {
                             typeOffset(dialog, QStringLiteral("5"));
                             QTest::mouseClick(buttonOf(dialog, QStringLiteral("取消")),
                                               Qt::LeftButton);
                         }),
              std::nullopt);
}

TEST(LessonOffsetText, UsesTheEarlierAndLaterTexts) {
    EXPECT_EQ(lessonOffsetText(300), QStringLiteral("提前300毫秒"));
    EXPECT_EQ(lessonOffsetText(-300), QStringLiteral("延后300毫秒"));
    EXPECT_EQ(lessonOffsetText(0), QStringLiteral("0"));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
