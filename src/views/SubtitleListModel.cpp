#include "views/SubtitleListModel.h"

#include "app/StringTable.h"
#include "subtitles/SubtitleDocument.h"
#include "subtitles/TimeText.h"

#include <QColor>

#include <algorithm>

namespace lurvo::views {

namespace {

// Header string and alignment of each column.
struct ColumnInfo {
    int header;
    Qt::Alignment alignment;
};
constexpr ColumnInfo kColumns[SubtitleListModel::ColumnCount] = {
    {144, Qt::AlignLeft | Qt::AlignVCenter},
    {117, Qt::AlignCenter},
    {118, Qt::AlignCenter},
    {119, Qt::AlignLeft | Qt::AlignVCenter},
};

} // namespace

SubtitleListModel::SubtitleListModel(QObject* parent) : QAbstractTableModel(parent) {}

const subtitles::SubtitleDocument* SubtitleListModel::document() const {
    return source_.document ? source_.document() : nullptr;
}

QString SubtitleListModel::sentenceNumberOf(const subtitles::SubtitleDocument& doc,
                                            int line) const {
    const subtitles::SentenceOfLine s = doc.sentenceOfLine(line, source_.mode());
    return s.isHead ? QString::number(s.sentence) : QString();
}

void SubtitleListModel::fill() {
    const subtitles::SubtitleDocument* doc = document();
    if (doc == nullptr || doc->lineCount() == 0)
        return;
    const int first = int(rows_.size());
    beginInsertRows({}, first, first + doc->lineCount() - 1);
    rows_.reserve(first + doc->lineCount());
    for (int i = 0; i < doc->lineCount(); ++i)
        rows_.append({subtitles::formatLrcTime(doc->line(i).startMs), sentenceNumberOf(*doc, i),
                      doc->line(i).text, std::nullopt});
    markedRow_ = -1;
    endInsertRows();
}

void SubtitleListModel::clear() {
    markedRow_ = -1;
    if (rows_.isEmpty())
        return;
    beginRemoveRows({}, 0, int(rows_.size()) - 1);
    rows_.clear();
    endRemoveRows();
}

void SubtitleListModel::setMarkedRow(int row) {
    const int old = markedRow_;
    markedRow_ = row >= 0 && row < rows_.size() ? row : -1;
    for (const int r : {old, markedRow_})
        if (r >= 0) {
            const QModelIndex cell = index(r, PointerColumn);
            emit dataChanged(cell, cell, {Qt::DisplayRole});
        }
}

void SubtitleListModel::repaintRows(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, int(rows_.size()) - 1);
    if (first > last)
        return;
    emit dataChanged(index(first, 0), index(last, ColumnCount - 1));
}

void SubtitleListModel::setCell(int row, Column column, QString Row::*cell, const QString& text) {
    if (row < 0 || row >= rows_.size())
        return;
    rows_[row].*cell = text;
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void SubtitleListModel::setAnnotator(Annotator annotator) {
    annotator_ = std::move(annotator);
    for (Row& row : rows_)
        row.readings.reset();
    if (!rows_.isEmpty())
        emit dataChanged(index(0, TextColumn), index(int(rows_.size()) - 1, TextColumn));
}

pronunciation::Annotation SubtitleListModel::readings(int row) const {
    if (!annotator_ || row < 0 || row >= rows_.size())
        return {};
    const Row& r = rows_[row];
    if (!r.readings)
        r.readings = annotator_(r.text);
    return *r.readings;
}

void SubtitleListModel::setTimeText(int row, const QString& text) {
    setCell(row, TimeColumn, &Row::time, text);
}

void SubtitleListModel::setText(int row, const QString& text) {
    if (row >= 0 && row < rows_.size())
        rows_[row].readings.reset();
    setCell(row, TextColumn, &Row::text, text);
}

void SubtitleListModel::setSentenceNumberText(int row, const QString& text) {
    setCell(row, NumberColumn, &Row::number, text);
}

void SubtitleListModel::renumberSentences() {
    const subtitles::SubtitleDocument* doc = document();
    if (doc == nullptr || rows_.isEmpty())
        return;
    const int n = std::min(int(rows_.size()), doc->lineCount());
    for (int i = 0; i < n; ++i)
        rows_[i].number = sentenceNumberOf(*doc, i);
    emit dataChanged(index(0, NumberColumn), index(n - 1, NumberColumn), {Qt::DisplayRole});
}

void SubtitleListModel::rewriteTimes() {
    const subtitles::SubtitleDocument* doc = document();
    if (doc == nullptr || rows_.isEmpty())
        return;
    const int n = std::min(int(rows_.size()), doc->lineCount());
    for (int i = 0; i < n; ++i)
        rows_[i].time = subtitles::formatLrcTime(doc->line(i).startMs);
    emit dataChanged(index(0, TimeColumn), index(n - 1, TimeColumn), {Qt::DisplayRole});
}

int SubtitleListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int SubtitleListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

bool SubtitleListModel::inCurrentSentence(int row) const {
    const subtitles::SubtitleDocument* doc = document();
    if (doc == nullptr || row >= doc->lineCount())
        return false;
    const subtitles::SentenceMode mode = source_.mode();
    const int current = std::clamp(source_.currentLine(), 0, doc->lineCount() - 1);
    return doc->sentenceOfLine(row, mode).sentence == doc->sentenceOfLine(current, mode).sentence;
}

QVariant SubtitleListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size())
        return {};
    const Row& row = rows_[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case TimeColumn:
            return row.time;
        case PointerColumn:
            return index.row() == markedRow_ ? app::stringText(125) : QString();
        case NumberColumn:
            return row.number;
        case TextColumn:
            return row.text;
        default:
            return {};
        }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(kColumns[index.column()].alignment);
    case Qt::BackgroundRole:
        return QColor::fromRgb(inCurrentSentence(index.row()) ? kCurrentSentenceColor
                                                              : QRgb(0xFFFFFFFF));
    case Qt::ForegroundRole:
        return QColor(Qt::black);
    default:
        return {};
    }
}

QVariant SubtitleListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return app::stringText(kColumns[section].header);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(kColumns[section].alignment);
    return {};
}

} // namespace lurvo::views
