#include "subtitles/AdjustTimeDialog.h"
#include "subtitles/EditTextDialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace lurvo::subtitles;

namespace {

SubtitleDocument threeLines() {
    SubtitleDocument doc;
    doc.lines = {{60000, QStringLiteral("第一行")},
                 {122020, QStringLiteral("第二行")},
                 {180000, QStringLiteral("第三行")}};
    return doc;
}

QPushButton* buttonOf(QWidget* dialog, const QString& text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

void click(QWidget* dialog, const QString& button) {
    QPushButton* target = buttonOf(dialog, button);
    ASSERT_NE(target, nullptr) << button.toStdString();
    QTest::mouseClick(target, Qt::LeftButton);
}

QStringList labelTexts(QWidget* dialog) {
    QStringList texts;
    for (const QLabel* label : dialog->findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

QPlainTextEdit* textEditOf(QWidget* dialog) {
    return dialog->findChild<QPlainTextEdit*>(QStringLiteral("textEdit"));
}

QLineEdit* timeEditOf(QWidget* dialog) {
    return dialog->findChild<QLineEdit*>(QStringLiteral("timeEdit"));
}

// Runs act on the dialog of type D once the caller's exec() has shown it.
template <typename D> void whenShown(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (dynamic_cast<D*>(widget) != nullptr && widget->isVisible())
                return act(widget);
        }
        ADD_FAILURE() << "no dialog shown";
    });
}

TEST(EditTextDialog, ShowsTheLineAndItsNumber) {
    SubtitleDocument doc = threeLines();
    EditTextDialog dialog(doc, 2);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("编辑字幕"));
    EXPECT_TRUE(dialog.isModal());
    const QStringList labels = labelTexts(&dialog);
    EXPECT_TRUE(labels.contains(QStringLiteral("编辑字幕：")));
    EXPECT_TRUE(labels.contains(QStringLiteral("行号：")));
    const auto* number = dialog.findChild<QLabel*>(QStringLiteral("lineNumberLabel"));
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(number->text(), QStringLiteral("3"));
    ASSERT_NE(textEditOf(&dialog), nullptr);
    EXPECT_EQ(textEditOf(&dialog)->toPlainText(), QStringLiteral("第三行"));
    EXPECT_EQ(textEditOf(&dialog)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    ASSERT_NE(buttonOf(&dialog, QStringLiteral("取消")), nullptr);
    ASSERT_NE(buttonOf(&dialog, QStringLiteral("确定")), nullptr);
    EXPECT_TRUE(buttonOf(&dialog, QStringLiteral("确定"))->isDefault());
}

TEST(EditTextDialog, ConfirmStoresOnlyAChangedText) {
    const struct {
        const char* name;
        QString lineText;
        std::function<void(QPlainTextEdit*)> type;
        bool changed;
        QString stored;
    } cases[] = {
        {"untouched", QStringLiteral("第二行"), [](QPlainTextEdit*) {}, false,
         QStringLiteral("第二行")},
        {"retyped the same", QStringLiteral("第二行"),
         [](QPlainTextEdit* e) { e->setPlainText(QStringLiteral("第二行")); }, false,
         QStringLiteral("第二行")},
        {"untouched, no-break space", QStringLiteral("a\u00A0b"), [](QPlainTextEdit*) {}, false,
         QStringLiteral("a\u00A0b")},
        {"typed over", QStringLiteral("第二行"),
         [](QPlainTextEdit* e) { QTest::keyClicks(e, QStringLiteral("fixed")); }, true,
         QStringLiteral("fixed")},
        {"case only", QStringLiteral("abc"),
         [](QPlainTextEdit* e) { e->setPlainText(QStringLiteral("ABC")); }, true,
         QStringLiteral("ABC")},
        {"pasted lines", QStringLiteral("第二行"),
         [](QPlainTextEdit* e) { e->insertPlainText(QStringLiteral("一\r\n二\n三")); }, true,
         QStringLiteral("一 二 三")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SubtitleDocument doc = threeLines();
        doc.lines[1].text = c.lineText;
        EditTextDialog dialog(doc, 1);
        c.type(textEditOf(&dialog));
        click(&dialog, QStringLiteral("确定"));
        EXPECT_EQ(dialog.result(), c.changed ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(doc.modified, c.changed);
        EXPECT_EQ(doc.line(1).text, c.stored);
        EXPECT_EQ(doc.line(0).text, QStringLiteral("第一行"));
    }
}

TEST(EditTextDialog, EnterConfirmsAndCancelDrops) {
    SubtitleDocument doc = threeLines();
    {
        EditTextDialog dialog(doc, 0);
        QTest::keyClicks(textEditOf(&dialog), QStringLiteral("new"));
        QTest::keyClick(textEditOf(&dialog), Qt::Key_Return);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(doc.line(0).text, QStringLiteral("new"));
    }
    doc.modified = false;
    {
        EditTextDialog dialog(doc, 0);
        QTest::keyClicks(textEditOf(&dialog), QStringLiteral("other"));
        click(&dialog, QStringLiteral("取消"));
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(doc.line(0).text, QStringLiteral("new"));
        EXPECT_FALSE(doc.modified);
    }
}

TEST(EditTextDialog, EditTellsWhetherTheLineChanged) {
    SubtitleDocument doc = threeLines();
    whenShown<EditTextDialog>([](QWidget* dialog) { click(dialog, QStringLiteral("确定")); });
    EXPECT_FALSE(EditTextDialog::edit(doc, 1, nullptr));
    EXPECT_FALSE(doc.modified);

    whenShown<EditTextDialog>([](QWidget* dialog) {
        QTest::keyClicks(textEditOf(dialog), QStringLiteral("edit"));
        click(dialog, QStringLiteral("确定"));
    });
    EXPECT_TRUE(EditTextDialog::edit(doc, 1, nullptr));
    EXPECT_EQ(doc.line(1).text, QStringLiteral("edit"));
    EXPECT_TRUE(doc.modified);
}

TEST(AdjustTimeDialog, ShowsTheTimeTheNumberAndTheRules) {
    SubtitleDocument doc = threeLines();
    AdjustTimeDialog dialog(doc, 1, {});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("调整字幕时间"));
    EXPECT_TRUE(dialog.isModal());
    const QStringList labels = labelTexts(&dialog);
    for (const char16_t* text : {u"行号：", u"调整字幕时间：", u"1. 上行时间<当前时间<下行时间",
                                 u"2. 严格的格式要求 mm:ss.xx", u"mm：分", u"ss：秒(00~59)",
                                 u"xx：百分之一秒(00-99)", u"对：02:02.02", u"错：2:2.2"})
        EXPECT_TRUE(labels.contains(QString::fromUtf16(text)))
            << QString::fromUtf16(text).toStdString();
    const auto* number = dialog.findChild<QLabel*>(QStringLiteral("lineNumberLabel"));
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(number->text(), QStringLiteral("2"));
    ASSERT_NE(timeEditOf(&dialog), nullptr);
    EXPECT_EQ(timeEditOf(&dialog)->text(), QStringLiteral("02:02.02"));
    ASSERT_NE(buttonOf(&dialog, QStringLiteral("取消")), nullptr);
    ASSERT_NE(buttonOf(&dialog, QStringLiteral("确定")), nullptr);
    EXPECT_TRUE(buttonOf(&dialog, QStringLiteral("确定"))->isDefault());
}

TEST(AdjustTimeDialog, RefusedTimeKeepsTheDialogOpenWithTheEntrySelected) {
    for (const char16_t* typed : {u"2:2.2", u"03:00.00", u"01:00.00", u"", u"02:05.00x"}) {
        const QString entry = QString::fromUtf16(typed);
        SCOPED_TRACE(entry.toStdString());
        SubtitleDocument doc = threeLines();
        int sounds = 0;
        AdjustTimeDialog dialog(doc, 1, [&sounds] { ++sounds; });
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        QLineEdit* edit = timeEditOf(&dialog);
        edit->setText(entry);
        edit->deselect();
        QPushButton* ok = buttonOf(&dialog, QStringLiteral("确定"));
        ok->setFocus();
        ASSERT_FALSE(edit->hasFocus());
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(edit->hasFocus());
        EXPECT_EQ(edit->selectedText(), entry);
        EXPECT_EQ(sounds, 1);
        EXPECT_EQ(doc.line(1).startMs, 122020);
        EXPECT_FALSE(doc.modified);
    }
}

TEST(AdjustTimeDialog, AcceptedTimeIsStoredUnlessUnchanged) {
    const struct {
        const char16_t* typed;
        bool changed;
        int start;
    } cases[] = {
        {u"02:02.02", false, 122020},
        {u"02:05.00", true, 125000},
        {u"01:00.01", true, 60010},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.typed).toStdString());
        SubtitleDocument doc = threeLines();
        int sounds = 0;
        AdjustTimeDialog dialog(doc, 1, [&sounds] { ++sounds; });
        timeEditOf(&dialog)->setText(QString::fromUtf16(c.typed));
        click(&dialog, QStringLiteral("确定"));
        EXPECT_EQ(dialog.result(), c.changed ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(doc.line(1).startMs, c.start);
        EXPECT_EQ(doc.modified, c.changed);
        EXPECT_EQ(sounds, 0);
    }
}

TEST(AdjustTimeDialog, AdjustRetriesUntilAValidTime) {
    SubtitleDocument doc = threeLines();
    int sounds = 0;
    whenShown<AdjustTimeDialog>([&sounds](QWidget* dialog) {
        QLineEdit* edit = timeEditOf(dialog);
        edit->setText(QStringLiteral("2:5"));
        click(dialog, QStringLiteral("确定"));
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(sounds, 1);
        EXPECT_EQ(dialog->focusWidget(), edit);
        EXPECT_EQ(edit->selectedText(), QStringLiteral("2:5"));
        edit->setText(QStringLiteral("02:05.00"));
        click(dialog, QStringLiteral("确定"));
    });
    EXPECT_TRUE(AdjustTimeDialog::adjust(
        doc, 1, [&sounds] { ++sounds; }, nullptr));
    EXPECT_EQ(doc.line(1).startMs, 125000);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(sounds, 1);

    doc.modified = false;
    whenShown<AdjustTimeDialog>([](QWidget* dialog) { click(dialog, QStringLiteral("确定")); });
    EXPECT_FALSE(AdjustTimeDialog::adjust(doc, 1, {}, nullptr));
    EXPECT_FALSE(doc.modified);
}

} // namespace
