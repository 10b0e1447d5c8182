#pragma once

#include "views/FittedText.h"
#include "views/RubyText.h"

#include <QFont>
#include <QWidget>

#include <functional>

namespace lurvo::views {

// The current sentence in large type on white; while the lesson is not playing, a play symbol
// in the middle that starts it. Elsewhere a press drags the main window. The pass being heard
// stands small in the lower right corner, and a thin bar along the bottom runs down while the
// learner is given time to speak. Given readings, each syllable stands above its character; a
// tooltip over the syllables shows the tone colours.
class SentencePanel : public QWidget {
public:
    // What the panel reads from the application at every render.
    struct Source {
        std::function<bool()> lessonLoaded;
        std::function<bool()> playing;
        std::function<QString()> sentenceText; // head line, and "\r\n" and the tail line if any
        std::function<QFont()> font;
        std::function<void()> togglePlayPause;
        // False while the lesson cannot be played (no audio output); none means it can.
        std::function<bool()> playable;
        // The pass being heard, 0 when none is (stopped); passes per sentence, 0 without end.
        std::function<int()> passCount;
        std::function<int()> totalCount;
    };

    explicit SentencePanel(QWidget* parent);
    void setSource(Source source) { source_ = std::move(source); }
    // Repaints with the current sentence and display font.
    void refresh() { update(); }
    // The 64 by 64 square, left of the sentence and halfway down, where the play symbol stands.
    QRect hotSquare() const;
    // Where the sentence stands: between the symbol's column and the pass's while a lesson is
    // open, the whole panel within its margins otherwise.
    QRect textArea() const;
    // The text without readings as it is shown: wrapped, in smaller type if need be, and cut
    // after the last line that fits.
    FittedText fittedText() const;
    // The share of the wait still to come, 1 down to 0; negative when there is no wait.
    void showWait(double fractionLeft);
    double waitShown() const { return waitLeft_; }
    // The pass as shown in the corner, "2/3" or "2/∞"; empty when none is shown.
    QString passText() const;
    // Repaints the corner after the pass changed.
    void refreshPass() { update(passArea()); }
    // Where the readings of the sentence come from; none shows the characters alone. Setting
    // it again asks again, after the readings changed.
    void setAnnotator(Annotator annotator);
    // The piece of the current sentence's annotation at `point`, -1 when none is there or the
    // sentence shows without readings.
    int pieceAt(const QPoint& point) const;
    // Told of a right-click (or the menu key) on a piece of the readings: the piece, and where
    // on the screen its menu goes. Nothing happens elsewhere.
    void setPieceMenuHandler(std::function<void(int piece, const QPoint& globalPos)> handler) {
        pieceMenu_ = std::move(handler);
    }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool symbolShown() const;
    QRect passArea() const;
    QRect waitBarArea() const;
    QFont sentenceFont() const;
    // The sentence laid out with its readings at the panel's width; null when it has none.
    const RubyText* ruby() const;

    Source source_;
    double waitLeft_ = -1;
    Annotator annotator_;
    std::function<void(int, const QPoint&)> pieceMenu_;
    // The last layout, kept while the sentence, its font and the panel's width stay.
    struct RubyCache {
        QString text;
        QFont font;
        QSize area;
        bool valid = false;
        RubyText ruby;
    };
    mutable RubyCache rubyCache_;
};

// One line of usage advice on a light-yellow band, above an etched line; a notice about the open
// lesson takes the advice's place while there is one.
class TipStrip : public QWidget {
public:
    explicit TipStrip(QWidget* parent);
    // Where the notice comes from, read at every render; an empty notice shows the advice.
    void setNoticeSource(std::function<QString()> notice) { notice_ = std::move(notice); }
    // The line shown now.
    QString text() const;
    // The line as it fits the strip's width, ending in "…" when it had to be shortened.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::function<QString()> notice_;
};

// Lets the learner move the main window by dragging a panel.
void dragWindowFrom(QWidget* panel);

} // namespace lurvo::views
