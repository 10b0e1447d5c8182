#include "app/StatusBar.h"

#include <QResizeEvent>
#include <QSizeGrip>

#include <algorithm>

namespace lurvo::app {

StatusBar::StatusBar(QWidget* parent) : QWidget(parent), grip_(new QSizeGrip(this)) {
    setObjectName("statusBar");
    for (QLabel*& label : parts_) {
        label = new QLabel(this);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setIndent(3);
        label->setTextFormat(Qt::PlainText);
    }
}

void StatusBar::setText(int part, const QString& text) {
    texts_[std::size_t(part)] = text;
    showText(part);
}

QString StatusBar::text(int part) const {
    return texts_[std::size_t(part)];
}

void StatusBar::showText(int part) {
    // A text longer than its part ends in "…"; a path keeps its start and its file name.
    QLabel* label = parts_[std::size_t(part)];
    const int room = std::max(0, label->contentsRect().width() - label->indent() - 2);
    const Qt::TextElideMode mode =
        part == int(parts_.size()) - 1 ? Qt::ElideMiddle : Qt::ElideRight;
    label->setText(label->fontMetrics().elidedText(texts_[std::size_t(part)], mode, room));
}

QSize StatusBar::sizeHint() const {
    return {kPartEdges.back() + 100, fontMetrics().height() + 8};
}

void StatusBar::resizeEvent(QResizeEvent* event) {
    const int h = event->size().height();
    const int gripWidth = grip_->sizeHint().width();
    int left = 0;
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        const int right = i < kPartEdges.size() ? kPartEdges[i] : event->size().width() - gripWidth;
        parts_[i]->setGeometry(left, 2, std::max(0, right - left - 2), h - 2);
        left = right;
    }
    for (int i = 0; i < int(parts_.size()); ++i)
        showText(i);
    grip_->setGeometry(event->size().width() - gripWidth, h - grip_->sizeHint().height(), gripWidth,
                       grip_->sizeHint().height());
}

} // namespace lurvo::app
