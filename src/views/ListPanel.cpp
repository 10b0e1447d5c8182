#include "views/ListPanel.h"

#include "app/Settings.h"
#include "subtitles/AdjustTimeDialog.h"
#include "subtitles/EditTextDialog.h"
#include "subtitles/SubtitleDocument.h"
#include "subtitles/TimeText.h"
#include "views/ControlValues.h"
#include "views/RubyText.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>
#include <climits>

namespace lurvo::views {

namespace {

// The report view of the lines. Ctrl+C, a double-click and a right-click become the panel's
// commands; they are queued so that they run after the input event is done with.
class SubtitleTable : public QTableView {
public:
    SubtitleTable(QWidget* parent, ListPanel& panel) : QTableView(parent), panel_(panel) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if ((event->modifiers() & Qt::ControlModifier) && event->key() == Qt::Key_C) {
            post(ListPanel::CmdCopyLine);
            event->accept();
            return;
        }
        QTableView::keyPressEvent(event);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QTableView::mouseDoubleClickEvent(event);
        if (event->button() == Qt::LeftButton)
            post(ListPanel::CmdJumpToLine);
    }
    void contextMenuEvent(QContextMenuEvent* event) override {
        event->accept();
        // Opened at the pointer, its top-left corner there.
        panel_.makeContextMenu()->exec(QCursor::pos());
    }

private:
    void post(int command) {
        QMetaObject::invokeMethod(
            &panel_, [panel = &panel_, command] { panel->runCommand(command); },
            Qt::QueuedConnection);
    }

    ListPanel& panel_;
};

// The type of the syllables under a row's text.
QFont syllableFontFor(const QFont& rowFont) {
    QFont small(rowFont);
    small.setPointSizeF(rowFont.pointSizeF() * 0.72);
    return small;
}

// The line the syllables take under a row's text.
int syllableLineHeight(const QFont& rowFont) {
    return QFontMetrics(syllableFontFor(rowFont)).height() + 2;
}

// Rows are marked by colour and selection; a focus frame around one cell would only distract.
// A selected row of the sentence being played keeps its colour inside a frame of the
// selection's colour, so neither hides the other. With readings the text moves to the top of
// its cell and the syllables go under it.
class RowDelegate : public QStyledItemDelegate {
public:
    RowDelegate(QObject* parent, const SubtitleListModel& model)
        : QStyledItemDelegate(parent), model_(model) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& given,
               const QModelIndex& index) const override {
        QStyleOptionViewItem option = given;
        const bool framed = (option.state & QStyle::State_Selected) &&
                            index.data(Qt::BackgroundRole).value<QColor>() ==
                                QColor::fromRgb(SubtitleListModel::kCurrentSentenceColor);
        if (framed)
            option.state &= ~QStyle::State_Selected;
        QStyledItemDelegate::paint(painter, option, index);
        if (framed)
            paintSelectionFrame(*painter, option, index);
        if (!withReadings(index))
            return;
        pronunciation::Annotation readings = model_.readings(index.row());
        if (!hasSyllables(readings))
            return;
        // As far in as the style sets the text.
        const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        const int margin =
            style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
        const int height = syllableLineHeight(option.font);
        const QRect line(option.rect.left() + margin, option.rect.bottom() - height - 1,
                         option.rect.width() - 2 * margin, height);
        const bool selected = option.state & QStyle::State_Selected;
        const QColor text =
            selected ? option.palette.color(QPalette::HighlightedText) : QColor(Qt::black);
        // On the selection's colour the tone colours would not read: the syllables take the
        // selected text's colour there, their tone numbers still telling the tones.
        if (selected)
            for (pronunciation::Piece& piece : readings)
                piece.tone = 0;
        painter->save();
        painter->setClipRect(option.rect);
        paintSyllableLine(*painter, line, readings, syllableFontFor(option.font), text);
        painter->restore();
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_HasFocus;
        if (withReadings(index))
            option->displayAlignment = Qt::AlignLeft | Qt::AlignTop;
    }

private:
    // Along the top and bottom of every cell of the row, down its two ends.
    static void paintSelectionFrame(QPainter& p, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) {
        const QColor colour = option.palette.color(QPalette::Active, QPalette::Highlight);
        const QRect r = option.rect;
        p.fillRect(QRect(r.left(), r.top(), r.width(), kFrameWidth), colour);
        p.fillRect(QRect(r.left(), r.bottom() - kFrameWidth + 1, r.width(), kFrameWidth), colour);
        if (index.column() == 0)
            p.fillRect(QRect(r.left(), r.top(), kFrameWidth, r.height()), colour);
        if (index.column() == SubtitleListModel::ColumnCount - 1)
            p.fillRect(QRect(r.right() - kFrameWidth + 1, r.top(), kFrameWidth, r.height()),
                       colour);
    }
    static constexpr int kFrameWidth = 3;

    bool withReadings(const QModelIndex& index) const {
        return index.column() == SubtitleListModel::TextColumn && model_.readingsShown();
    }

    const SubtitleListModel& model_;
};

} // namespace

ListPanel::ListPanel(QWidget* parent)
    : QWidget(parent), model_(new SubtitleListModel(this)), table_(new SubtitleTable(this, *this)) {
    setObjectName("listPanel");
    table_->setObjectName("subtitleList");
    table_->setModel(model_);
    table_->setFont(QFont(QStringLiteral("Arial"), 14));
    table_->setShowGrid(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->setCornerButtonEnabled(false);
    table_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // A click selects without scrolling the wide text column sideways; the list scrolls only
    // to follow the current sentence.
    table_->setAutoScroll(false);
    table_->setItemDelegate(new RowDelegate(table_, *model_));
    QHeaderView* rows = table_->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(kRowHeight);
    rows->setDefaultSectionSize(kRowHeight);
    QHeaderView* columns = table_->horizontalHeader();
    columns->setHighlightSections(false);
    columns->setSectionsClickable(false);
    // The text column takes the rest of the width, and a text longer than that ends in "…".
    columns->setStretchLastSection(false);
    columns->setSectionResizeMode(SubtitleListModel::TextColumn, QHeaderView::Stretch);
    table_->setTextElideMode(Qt::ElideRight);
    // The selection stays visible when the list does not have the focus.
    QPalette palette = table_->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setBrush(QPalette::Inactive, role, palette.brush(QPalette::Active, role));
    table_->setPalette(palette);
    setFocusProxy(table_);
    setColumnWidths(app::Settings{});
}

ListPanel::~ListPanel() = default;

void ListPanel::setSource(Source source) {
    source_ = std::move(source);
    model_->setSource({[this]() -> const subtitles::SubtitleDocument* {
                           return source_.document ? source_.document() : nullptr;
                       },
                       [this] { return source_.currentLine(); },
                       [this] { return source_.mode(); }});
}

void ListPanel::setColumnWidths(const app::Settings& settings) {
    const int widths[] = {settings.w_msx, settings.w_pointer, settings.w_senno, settings.w_text};
    for (int i = 0; i < SubtitleListModel::ColumnCount; ++i)
        table_->horizontalHeader()->resizeSection(i, widths[i]);
}

void ListPanel::setAnnotator(Annotator annotator) {
    const bool shown = bool(annotator);
    model_->setAnnotator(std::move(annotator));
    rowHeight_ = kRowHeight + (shown ? syllableLineHeight(table_->font()) : 0);
    QHeaderView* rows = table_->verticalHeader();
    rows->setMinimumSectionSize(std::min(rows->minimumSectionSize(), rowHeight_));
    // Every row takes the new default height.
    rows->setDefaultSectionSize(rowHeight_);
    rows->setMinimumSectionSize(rowHeight_);
}

void ListPanel::getColsWidth(app::Settings& settings) const {
    const QHeaderView* header = table_->horizontalHeader();
    settings.w_msx = header->sectionSize(SubtitleListModel::TimeColumn);
    settings.w_pointer = header->sectionSize(SubtitleListModel::PointerColumn);
    settings.w_senno = header->sectionSize(SubtitleListModel::NumberColumn);
    settings.w_text = header->sectionSize(SubtitleListModel::TextColumn);
}

void ListPanel::fill() {
    model_->fill();
}

void ListPanel::clear() {
    model_->clear();
}

void ListPanel::posRefresh() {
    const subtitles::SubtitleDocument* doc = source_.document ? source_.document() : nullptr;
    if (doc == nullptr || doc->lineCount() == 0 || model_->rowCount() == 0)
        return;
    const subtitles::SentenceMode mode = source_.mode();
    const int lastLine = doc->lineCount() - 1;
    const auto sentenceLines = [&](int line) {
        return doc->linesOfSentence(
            doc->sentenceOfLine(std::clamp(line, 0, lastLine), mode).sentence, mode);
    };
    const subtitles::LineRange previous = sentenceLines(std::max(model_->markedRow(), 0));
    const subtitles::LineRange current = sentenceLines(source_.currentLine());
    model_->setMarkedRow(current.first);
    // Only the rows whose colour changes are repainted.
    model_->repaintRows(previous.first, previous.last);
    model_->repaintRows(current.first, current.last);
    scrollSentenceIntoView(current.first, current.last);
}

void ListPanel::scrollSentenceIntoView(int first, int last) {
    const int visibleRows = table_->viewport()->height() / rowHeight_;
    // The topmost row shown whole: scrolled to the end, the list aligns its last row with the
    // bottom edge, and a part of the row above the top one may show.
    int topRow = std::max(table_->rowAt(0), 0);
    if (table_->rowViewportPosition(topRow) < 0)
        ++topRow;
    // Scrolling to a row must not move the list sideways.
    QScrollBar* sideways = table_->horizontalScrollBar();
    const int column = sideways->value();
    switch (listScrollFor(first, last, topRow, visibleRows)) {
    case ListScroll::None:
        return;
    case ListScroll::EnsureFirst:
        table_->scrollTo(model_->index(first, 0), QAbstractItemView::EnsureVisible);
        break;
    case ListScroll::EndAtBottom:
        table_->scrollToTop();
        table_->scrollTo(model_->index(last, 0), QAbstractItemView::EnsureVisible);
        break;
    case ListScroll::StartAtTop:
        table_->scrollToBottom();
        table_->scrollTo(model_->index(first, 0), QAbstractItemView::EnsureVisible);
        break;
    }
    sideways->setValue(column);
}

int ListPanel::firstSelectedRow() const {
    const QModelIndexList selected = table_->selectionModel()->selectedRows();
    int first = INT_MAX;
    for (const QModelIndex& index : selected)
        first = std::min(first, index.row());
    return first == INT_MAX ? -1 : first;
}

std::unique_ptr<QMenu> ListPanel::makeContextMenu() {
    auto menu = std::make_unique<QMenu>(QCoreApplication::translate("ListPanel", "字幕"), this);
    const bool selected = firstSelectedRow() >= 0;
    const std::pair<int, const char*> items[] = {
        {CmdCopyLine, QT_TRANSLATE_NOOP("ListPanel", "复制字幕 \t Ctrl+C")},
        {CmdJumpToLine, QT_TRANSLATE_NOOP("ListPanel", "跳到此行 \t Dbclick")},
        {CmdEditLine, QT_TRANSLATE_NOOP("ListPanel", "编辑字幕…")},
        {CmdAdjustLineTime, QT_TRANSLATE_NOOP("ListPanel", "调整字幕时间…")},
    };
    for (const auto& [command, text] : items) {
        QAction* action = menu->addAction(QCoreApplication::translate("ListPanel", text));
        action->setData(command);
        action->setEnabled(selected);
        connect(action, &QAction::triggered, this, [this, id = command] { runCommand(id); });
    }
    return menu;
}

void ListPanel::runCommand(int command) {
    const int row = firstSelectedRow();
    if (row < 0)
        return;
    switch (command) {
    case CmdCopyLine:
        copyLine(row);
        break;
    case CmdJumpToLine:
        if (source_.goToLine)
            source_.goToLine(row);
        break;
    case CmdEditLine:
    case CmdAdjustLineTime:
        editLine(row, command);
        break;
    default:
        break;
    }
}

void ListPanel::copyLine(int row) {
    const QString text =
        model_->data(model_->index(row, SubtitleListModel::TextColumn), Qt::DisplayRole).toString();
    QGuiApplication::clipboard()->setText(text.left(subtitles::kMaxLineTextUnits));
}

void ListPanel::editLine(int row, int command) {
    subtitles::SubtitleDocument* doc = source_.document ? source_.document() : nullptr;
    if (doc == nullptr || row >= doc->lineCount())
        return;
    // Correcting a line pauses the lesson, and it stays paused afterwards.
    if (source_.playing())
        source_.togglePlayPause();
    if (command == CmdEditLine) {
        if (subtitles::EditTextDialog::edit(*doc, row, window())) {
            source_.refreshSentence();
            setText(row, doc->line(row).text);
        }
    } else if (subtitles::AdjustTimeDialog::adjust(*doc, row, source_.invalidInputSound,
                                                   window())) {
        setTimeText(row, subtitles::formatLrcTime(doc->line(row).startMs));
    }
}

void ListPanel::resizeEvent(QResizeEvent*) {
    table_->setGeometry(rect());
}

} // namespace lurvo::views
