#pragma once

#include "subtitles/SentenceMode.h"
#include "views/SubtitleListModel.h"

#include <QWidget>

#include <functional>
#include <memory>

class QMenu;
class QTableView;

namespace lurvo::app {
struct Settings;
}
namespace lurvo::subtitles {
class SubtitleDocument;
}

namespace lurvo::views {

// The list of the lesson's subtitle lines below the sentence panel. It marks and colours the
// sentence being played and keeps it in view a page at a time; its context menu copies a
// line, jumps to it, and corrects its text or time. Given readings, a smaller line of syllables
// in their tone colours stands under each text, and the rows grow to hold it.
class ListPanel : public QWidget {
public:
    // The commands of the context menu "字幕".
    enum Command {
        CmdCopyLine = 32777,
        CmdJumpToLine = 32778,
        CmdEditLine = 32785,
        CmdAdjustLineTime = 32809,
    };
    static constexpr int kRowHeight = 35; // without readings

    // What the panel reads from and asks of the application.
    struct Source {
        std::function<subtitles::SubtitleDocument*()> document; // null while no lesson is open
        std::function<int()> currentLine;
        std::function<subtitles::SentenceMode()> mode;
        std::function<bool()> playing;
        std::function<void()> togglePlayPause;
        std::function<void(int line)> goToLine;
        std::function<void()> refreshSentence; // the sentence panel shows edited text
        std::function<void()> invalidInputSound;
    };

    explicit ListPanel(QWidget* parent);
    ~ListPanel() override;
    void setSource(Source source);

    // Column widths from the settings; the learner's widths back into them.
    void setColumnWidths(const app::Settings& settings);

    // Where the lines' readings come from; none shows the texts alone. Setting it again asks
    // again, after the readings changed.
    void setAnnotator(Annotator annotator);
    // The height of every row: taller while readings are shown.
    int rowHeight() const { return rowHeight_; }
    void getColsWidth(app::Settings& settings) const;

    // Lists the open lesson's lines; empties the list; moves the mark and the highlight to the
    // current sentence and scrolls it into view.
    void fill();
    void clear();
    void posRefresh();

    void setTimeText(int row, const QString& text) { model_->setTimeText(row, text); }
    void setText(int row, const QString& text) { model_->setText(row, text); }
    void setSentenceNumberText(int row, const QString& text) {
        model_->setSentenceNumberText(row, text);
    }
    // Every row's sentence number after a change of sentence mode; every row's time after a
    // change of the subtitle offset.
    void renumberSentences() { model_->renumberSentences(); }
    void rewriteTimes() { model_->rewriteTimes(); }

    // Runs a command of the context menu for the first selected row; nothing without one.
    void runCommand(int command);
    // The context menu, its items greyed while no row is selected.
    std::unique_ptr<QMenu> makeContextMenu();

    int markedRow() const { return model_->markedRow(); }
    // The lowest selected row, -1 when none is selected.
    int firstSelectedRow() const;
    QTableView* table() const { return table_; }
    SubtitleListModel* model() const { return model_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void scrollSentenceIntoView(int first, int last);
    void copyLine(int row);
    void editLine(int row, int command);

    Source source_;
    SubtitleListModel* model_;
    QTableView* table_;
    int rowHeight_ = kRowHeight;
};

} // namespace lurvo::views
