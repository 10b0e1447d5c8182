#pragma once

#include "subtitles/SentenceMode.h"
#include "views/RubyText.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace lurvo::subtitles {
class SubtitleDocument;
}

namespace lurvo::views {

// The subtitle list's rows: one per line of the open lesson, with its time, the pointer mark,
// the sentence number on a sentence's first line, and the text. The cells are filled once and
// rewritten by the operations that change them; the highlight of the current sentence is
// worked out at every paint, so it never goes stale. Given readings, each row's are asked for
// when the row is first shown, and kept until its text or the readings change.
class SubtitleListModel : public QAbstractTableModel {
public:
    enum Column { TimeColumn = 0, PointerColumn, NumberColumn, TextColumn, ColumnCount };

    // Light green behind every row of the sentence being played.
    static constexpr QRgb kCurrentSentenceColor = 0xFFC8FF96; // red 200, green 255, blue 150

    struct Source {
        std::function<const subtitles::SubtitleDocument*()> document; // null with no lesson
        std::function<int()> currentLine;
        std::function<subtitles::SentenceMode()> mode;
    };

    explicit SubtitleListModel(QObject* parent = nullptr);
    void setSource(Source source) { source_ = std::move(source); }

    // Appends a row for every line of the open document; no pointer mark yet.
    void fill();
    void clear();

    int markedRow() const { return markedRow_; }
    // Moves the pointer mark; -1 shows none.
    void setMarkedRow(int row);
    // Asks the views to repaint rows first..last, all columns.
    void repaintRows(int first, int last);

    void setTimeText(int row, const QString& text);
    void setText(int row, const QString& text);
    void setSentenceNumberText(int row, const QString& text);
    // Column 2 of every row for the current sentence mode; column 0 of every row from the
    // document's (shifted) times.
    void renumberSentences();
    void rewriteTimes();

    // Where the rows' readings come from; none shows the texts alone. Setting it again asks
    // again for every row, after the readings changed.
    void setAnnotator(Annotator annotator);
    bool readingsShown() const { return bool(annotator_); }
    // The readings of a row's text; empty without an annotator.
    pronunciation::Annotation readings(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        QString time;
        QString number;
        QString text;
        mutable std::optional<pronunciation::Annotation> readings; // asked for when first shown
    };
    const subtitles::SubtitleDocument* document() const;
    QString sentenceNumberOf(const subtitles::SubtitleDocument& doc, int line) const;
    bool inCurrentSentence(int row) const;
    void setCell(int row, Column column, QString Row::*cell, const QString& text);

    Source source_;
    Annotator annotator_;
    QList<Row> rows_;
    int markedRow_ = -1;
};

} // namespace lurvo::views
