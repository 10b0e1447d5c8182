#pragma once

#include "split/SplitContext.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace lurvo::test {

inline QPushButton* buttonOf(QWidget* dialog, const QString& text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

inline void click(QWidget* dialog, const QString& button) {
    QPushButton* target = buttonOf(dialog, button);
    ASSERT_NE(target, nullptr) << button.toStdString();
    QTest::mouseClick(target, Qt::LeftButton);
}

inline QLineEdit* editOf(QWidget* dialog, const char* name) {
    return dialog->findChild<QLineEdit*>(QLatin1StringView(name));
}

inline QStringList labelTexts(QWidget* dialog) {
    QStringList texts;
    for (const QLabel* label : dialog->findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

// Runs act on the visible top-level dialog of type D once the caller's exec() has shown it.
template <typename D> void whenShown(std::function<void(D*)> act) {
    QTimer::singleShot(0, [act] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* dialog = dynamic_cast<D*>(widget); dialog != nullptr && dialog->isVisible())
                return act(dialog);
        }
        ADD_FAILURE() << "no dialog shown";
    });
}

// What the dialogs told the learner.
struct Recorder {
    int sounds = 0;
    QStringList errors;
    QStringList informations;
    QStringList questions;
    bool answer = true;
    QList<QPair<QWidget*, QString>> folderRequests;
    QString folderAnswer;

    split::SplitContext context(subtitles::SubtitleDocument* doc, subtitles::SentenceMode mode,
                                const QString& lesson, const QString& program) {
        split::SplitContext c;
        c.document = doc;
        c.mode = mode;
        c.lessonPath = lesson;
        c.splitterProgram = program;
        c.invalidInputSound = [this] { ++sounds; };
        c.showError = [this](const QString& text) { errors << text; };
        c.showInformation = [this](const QString& text) { informations << text; };
        c.askYesNo = [this](const QString& text) {
            questions << text;
            return answer;
        };
        c.chooseFolder = [this](QWidget* owner, const QString& title) {
            folderRequests.append({owner, title});
            return folderAnswer;
        };
        return c;
    }
};

} // namespace lurvo::test
