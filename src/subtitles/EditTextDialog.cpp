#include "subtitles/EditTextDialog.h"

#include "subtitles/DialogButtons.h"
#include "subtitles/LineEdits.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVBoxLayout>

namespace lurvo::subtitles {

EditTextDialog::EditTextDialog(SubtitleDocument& doc, int index, QWidget* parent)
    : QDialog(parent), doc_(doc), index_(index) {
    setWindowTitle(QCoreApplication::translate("EditTextDialog", "编辑字幕"));
    setModal(true);

    // Multi-line so that a long line wraps and can be read whole while it is corrected.
    edit_ = new QPlainTextEdit(this);
    edit_->setObjectName(QStringLiteral("textEdit"));
    edit_->setPlainText(doc.line(index).text);
    edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit_->setTabChangesFocus(true);
    edit_->installEventFilter(this);

    auto* lineNumber = new QLabel(QString::number(index + 1), this);
    lineNumber->setObjectName(QStringLiteral("lineNumberLabel"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QCoreApplication::translate("EditTextDialog", "行号："), this));
    bottom->addWidget(lineNumber);
    bottom->addLayout(confirmButtonRow(this, [this] { confirm(); }));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QCoreApplication::translate("EditTextDialog", "编辑字幕："), this));
    layout->addWidget(edit_);
    layout->addLayout(bottom);

    edit_->selectAll();
    edit_->setFocus();
}

bool EditTextDialog::eventFilter(QObject* watched, QEvent* event) {
    // A subtitle line has no line breaks, so Enter confirms as in any other dialog.
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            mods == Qt::NoModifier) {
            confirm();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void EditTextDialog::confirm() {
    // Raw text: plain text would turn no-break spaces into spaces and so alter untouched lines.
    const QString text = editedLineText(edit_->document()->toRawText());
    if (text == doc_.line(index_).text) {
        reject();
        return;
    }
    doc_.setLineText(index_, text);
    accept();
}

bool EditTextDialog::edit(SubtitleDocument& doc, int index, QWidget* parent) {
    EditTextDialog dialog(doc, index, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace lurvo::subtitles
