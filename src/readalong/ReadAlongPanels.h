#pragma once

#include "views/RubyText.h"

#include <QFont>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace lurvo::readalong {

// The upper part of the read-along window: the capture device, where the recording goes, and
// whether changing sentence plays it at once.
class DevicePanel : public QWidget {
public:
    struct Actions {
        std::function<void()> chooseDevice;
        std::function<void()> showProperties;
        std::function<void()> chooseDestination;
        std::function<void(bool)> autoPlayChanged;
    };

    DevicePanel(QWidget* parent, Actions actions);
    void setDeviceName(const QString& name);
    void setDestination(const QString& path);
    void setAutoPlay(bool on);

    QLineEdit* deviceEdit() const { return device_; }
    QLineEdit* destinationEdit() const { return destination_; }
    QPushButton* deviceButton() const { return deviceButton_; }
    QPushButton* propertiesButton() const { return propertiesButton_; }
    QPushButton* destinationButton() const { return destinationButton_; }
    QCheckBox* autoPlayBox() const { return autoPlay_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLineEdit* device_;
    QLineEdit* destination_;
    QPushButton* deviceButton_;
    QPushButton* propertiesButton_;
    QPushButton* destinationButton_;
    QCheckBox* autoPlay_;
};

// The middle of the read-along window: what is going on, in large type on white, and below it
// the current sentence in the main window's sentence font, given readings with each syllable
// above its character.
class StatePanel : public QWidget {
public:
    // Lines of the sentence font the panel has room for below the state.
    static constexpr int kSentenceLines = 3;

    explicit StatePanel(QWidget* parent);
    // Repaints with this text.
    void refresh(const QString& text);
    QString text() const { return text_; }
    void setSentence(const QString& text, const QFont& font);
    QString sentence() const { return sentence_; }
    QFont sentenceFont() const { return sentenceFont_; }
    // Where the sentence's readings come from; none shows the characters alone. Setting it
    // again asks again, after the readings changed.
    void setAnnotator(views::Annotator annotator);
    bool readingsShown() const { return bool(annotator_); }
    // The height the state and kSentenceLines lines of `sentenceFont` take, with the
    // syllables' band above each line when `withReadings`.
    static int heightFor(const QFont& sentenceFont, bool withReadings = false);
    // The sentence as painted at the panel's size: wrapped, and cut short with "…" when it
    // has more lines than fit.
    QStringList sentenceLines() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRect sentenceArea() const;

    views::Annotator annotator_;
    QString text_;
    QFont font_;
    QString sentence_;
    QFont sentenceFont_;
};

} // namespace lurvo::readalong
