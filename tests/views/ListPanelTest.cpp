#include "views/ListPanel.h"

#include "app/Settings.h"
#include "subtitles/SubtitleDocument.h"
#include "views/ToneColours.h"

#include "ImageColours.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using lurvo::subtitles::SentenceMode;
using lurvo::subtitles::SubtitleDocument;
using lurvo::test::colourIn;
using lurvo::views::ListPanel;
using lurvo::views::SubtitleListModel;

namespace {

// Runs once the next modal dialog is up, so that a test can answer it.
void whenDialogOpens(std::function<void(QWidget*)> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        answer(dialog);
    });
}

class ListPanelTest : public testing::Test {
protected:
    SubtitleDocument document;
    bool loaded = true;
    int currentLine = 0;
    SentenceMode mode = SentenceMode::OneLine;
    bool playing = false;
    int toggles = 0;
    int sentenceRefreshes = 0;
    int sounds = 0;
    QList<int> jumps;
    QWidget window;
    ListPanel* panel = new ListPanel(&window);

    ListPanelTest() {
        panel->setSource({
            [this] { return loaded ? &document : nullptr; },
            [this] { return currentLine; },
            [this] { return mode; },
            [this] { return playing; },
            [this] {
                ++toggles;
                playing = !playing;
            },
            [this](int line) { jumps << line; },
            [this] { ++sentenceRefreshes; },
            [this] { ++sounds; },
        });
        window.resize(800, 400);
        panel->setGeometry(window.rect());
        window.show();
    }

    // Lines every 2.5 s, texts "line 1", "line 2", ...
    void load(int lines) {
        QString text;
        for (int i = 0; i < lines; ++i)
            text += QStringLiteral("[%1:%2.%3]line %4\r\n")
                        .arg(i * 2500 / 60000, 2, 10, QChar(u'0'))
                        .arg(i * 2500 / 1000 % 60, 2, 10, QChar(u'0'))
                        .arg(i * 2500 / 10 % 100, 2, 10, QChar(u'0'))
                        .arg(i + 1);
        ASSERT_TRUE(document.parse(text));
        ASSERT_EQ(document.lineCount(), lines);
    }

    SubtitleListModel* model() const { return panel->model(); }
    QString cell(int row, int column) const {
        return model()->data(model()->index(row, column), Qt::DisplayRole).toString();
    }
    QStringList column(int column) const {
        QStringList cells;
        for (int row = 0; row < model()->rowCount(); ++row)
            cells << cell(row, column);
        return cells;
    }
    bool highlighted(int row) const {
        return model()->data(model()->index(row, 0), Qt::BackgroundRole).value<QColor>() ==
               QColor(200, 255, 150);
    }
    // The first row shown whole: at the end of the list a part of the row above may show.
    int topRow() const {
        const int row = panel->table()->rowAt(0);
        return panel->table()->rowViewportPosition(row) < 0 ? row + 1 : row;
    }
    int visibleRows() const { return panel->table()->viewport()->height() / panel->rowHeight(); }
    void select(int row) {
        panel->table()->selectionModel()->select(
            model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

TEST_F(ListPanelTest, FillListsEveryLineUnderEachSentenceMode) {
    load(5);
    document.lines[2].text = QStringLiteral("你食咗飯未呀？");
    panel->fill();
    ASSERT_EQ(model()->rowCount(), 5);
    EXPECT_EQ(column(0), QStringList({"00:00.00", "00:02.50", "00:05.00", "00:07.50", "00:10.00"}));
    EXPECT_EQ(column(1), QStringList({"", "", "", "", ""})) << "no mark before posRefresh";
    EXPECT_EQ(column(2), QStringList({"1", "2", "3", "4", "5"}));
    EXPECT_EQ(cell(2, 3), QStringLiteral("你食咗飯未呀？"));
    EXPECT_EQ(panel->markedRow(), -1);

    const QStringList headers = {"字幕时间", "指针", "句序", "文本"};
    const Qt::Alignment alignments[] = {Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignCenter,
                                        Qt::AlignCenter, Qt::AlignLeft | Qt::AlignVCenter};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), headers[c]);
        EXPECT_EQ(model()->data(model()->index(0, c), Qt::TextAlignmentRole).value<Qt::Alignment>(),
                  alignments[c]);
    }

    const struct {
        SentenceMode mode;
        QStringList numbers;
    } modes[] = {{SentenceMode::TwoLinesOddHead, {"1", "", "2", "", "3"}},
                 {SentenceMode::TwoLinesEvenHead, {"1", "2", "", "3", ""}}};
    for (const auto& m : modes) {
        panel->clear();
        EXPECT_EQ(model()->rowCount(), 0);
        mode = m.mode;
        panel->fill();
        EXPECT_EQ(column(2), m.numbers);
    }

    loaded = false;
    panel->clear();
    panel->fill();
    EXPECT_EQ(model()->rowCount(), 0) << "nothing to fill without a lesson";
}

TEST_F(ListPanelTest, RowsAreThirtyFivePixelsInArialWithTheStoredColumnWidths) {
    load(3);
    panel->fill();
    QTableView* table = panel->table();
    EXPECT_EQ(table->rowHeight(0), 35);
    EXPECT_EQ(table->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(table->font().pointSize(), 14);
    EXPECT_TRUE(table->showGrid());
    EXPECT_EQ(table->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(table->selectionMode(), QAbstractItemView::ExtendedSelection);

    lurvo::app::Settings settings;
    settings.w_msx = 90;
    settings.w_pointer = 40;
    settings.w_senno = 50;
    settings.w_text = 600;
    panel->setColumnWidths(settings);
    table->horizontalHeader()->resizeSection(0, 120); // the learner drags the time column
    lurvo::app::Settings written;
    panel->getColsWidth(written);
    EXPECT_EQ(written.w_msx, 120);
    EXPECT_EQ(written.w_pointer, 40);
    EXPECT_EQ(written.w_senno, 50);
    // The text column takes what the others leave.
    EXPECT_EQ(written.w_text, table->viewport()->width() - 120 - 40 - 50);
}

TEST_F(ListPanelTest, TheTextColumnTakesTheRestAndALongTextEndsInAnEllipsis) {
    QString longText;
    for (int i = 0; i < 8; ++i)
        longText += QStringLiteral("我哋今日去街市買餸 and then home ");
    ASSERT_TRUE(document.parse(QStringLiteral("[00:01.00]") + longText + QStringLiteral("\r\n") +
                               QStringLiteral("[00:02.00]short\r\n")));
    panel->fill();
    currentLine = 1;
    QTableView* table = panel->table();
    for (const int width : {525, 800, 1600, 2400}) {
        window.resize(width, 400);
        panel->setGeometry(window.rect());
        QCoreApplication::processEvents();
        const QRect cell = table->visualRect(model()->index(0, SubtitleListModel::TextColumn));
        const int column = SubtitleListModel::TextColumn;
        EXPECT_EQ(table->columnViewportPosition(column) + table->columnWidth(column),
                  table->viewport()->width())
            << width << ": no grey band after it";
        EXPECT_EQ(table->horizontalScrollBar()->maximum(), 0) << width;
        // The text reaches the end of its cell but stops short of the edge, where "…" stands.
        const QImage image = table->viewport()->grab().toImage();
        const QRect end(cell.right() - 4, cell.top() + 4, 4, cell.height() - 8);
        const QRect beforeEnd(cell.right() - 60, cell.top() + 4, 50, cell.height() - 8);
        EXPECT_FALSE(colourIn(image, end, Qt::black)) << width << ": not cut through";
        EXPECT_TRUE(colourIn(image, beforeEnd, Qt::black)) << width;
    }
    EXPECT_EQ(table->textElideMode(), Qt::ElideRight);
}

TEST_F(ListPanelTest, TheCurrentSentenceKeepsItsColourWhenSelected) {
    load(4);
    panel->fill();
    currentLine = 1;
    panel->posRefresh();
    select(1);
    select(3);
    QTableView* table = panel->table();
    const QImage image = table->viewport()->grab().toImage();
    const QColor green(200, 255, 150);
    const QColor selection = table->palette().color(QPalette::Active, QPalette::Highlight);
    ASSERT_FALSE(lurvo::test::nearColour(selection, green));
    const QRect current = table->visualRect(model()->index(1, SubtitleListModel::TextColumn));
    const QRect other = table->visualRect(model()->index(3, SubtitleListModel::TextColumn));
    const QPoint inside(current.right() - 40, current.center().y());
    EXPECT_EQ(image.pixelColor(inside), green) << "the colour inside the selection's frame";
    EXPECT_EQ(image.pixelColor(current.center().x(), current.top() + 1), selection);
    EXPECT_EQ(image.pixelColor(current.center().x(), current.bottom() - 1), selection);
    const QRect time = table->visualRect(model()->index(1, SubtitleListModel::TimeColumn));
    EXPECT_EQ(image.pixelColor(time.left() + 1, time.center().y()), selection) << "its left end";
    EXPECT_EQ(image.pixelColor(other.right() - 40, other.center().y()), selection)
        << "another selected row as ever";
    const QRect unselected = table->visualRect(model()->index(2, SubtitleListModel::TextColumn));
    EXPECT_EQ(image.pixelColor(unselected.right() - 40, unselected.center().y()), Qt::white);
}

TEST_F(ListPanelTest, PosRefreshMarksAndColoursTheCurrentSentence) {
    load(6);
    mode = SentenceMode::TwoLinesOddHead;
    panel->fill();
    EXPECT_TRUE(highlighted(0) && highlighted(1)) << "the colour needs no posRefresh";
    EXPECT_FALSE(highlighted(2));

    currentLine = 3; // the tail of sentence 2
    QSignalSpy changes(model(), &QAbstractItemModel::dataChanged);
    panel->posRefresh();
    EXPECT_EQ(panel->markedRow(), 2);
    EXPECT_EQ(column(1), QStringList({"", "", "▼▼", "", "", ""}));
    EXPECT_EQ(QList<bool>(
                  {highlighted(0), highlighted(1), highlighted(2), highlighted(3), highlighted(4)}),
              QList<bool>({false, false, true, true, false}));
    // Only the rows of the old and the new sentence are repainted.
    int lowest = 99;
    int highest = -1;
    for (const QList<QVariant>& change : changes) {
        lowest = std::min(lowest, change[0].value<QModelIndex>().row());
        highest = std::max(highest, change[1].value<QModelIndex>().row());
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, 3);

    // The mode changes under the list: the mark goes to the new head of the current sentence.
    mode = SentenceMode::TwoLinesEvenHead;
    panel->posRefresh();
    EXPECT_EQ(column(1), QStringList({"", "", "", "▼▼", "", ""}));
    EXPECT_TRUE(highlighted(3) && highlighted(4));
    EXPECT_FALSE(highlighted(2));

    // Stopped: the first sentence is coloured.
    currentLine = 0;
    EXPECT_TRUE(highlighted(0));
    EXPECT_FALSE(highlighted(3));
}

TEST_F(ListPanelTest, KeepsTheCurrentSentenceInViewPageByPage) {
    load(60);
    panel->fill();
    const int page = visibleRows();
    ASSERT_GE(page, 4);
    ASSERT_EQ(topRow(), 0);

    currentLine = page - 2; // fully visible: no scrolling
    panel->posRefresh();
    EXPECT_EQ(topRow(), 0);

    currentLine = page; // just below the view: it becomes the top row
    panel->posRefresh();
    EXPECT_EQ(topRow(), page);

    currentLine = 40;
    panel->posRefresh();
    EXPECT_EQ(topRow(), 40);

    currentLine = 39; // just above the view: it becomes the bottom row
    panel->posRefresh();
    EXPECT_EQ(topRow(), 39 - page + 1);

    currentLine = 59; // near the end the list cannot scroll further
    panel->posRefresh();
    EXPECT_EQ(topRow(), 60 - page);

    mode = SentenceMode::TwoLinesOddHead;
    currentLine = 3; // a two-line sentence above: its tail ends on the bottom row
    panel->posRefresh();
    EXPECT_EQ(topRow(), 3 - page + 1 < 0 ? 0 : 3 - page + 1);
}

TEST_F(ListPanelTest, CopiesOnlyTheFirstSelectedLinesText) {
    load(4);
    document.lines[3].text = QString(511, u'字');
    panel->fill();
    QApplication::clipboard()->setText(QStringLiteral("before"));
    panel->runCommand(ListPanel::CmdCopyLine);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before")) << "no selection";

    select(2);
    select(1);
    QTest::keyClick(panel->table(), Qt::Key_C, Qt::ControlModifier);
    QApplication::processEvents(); // the copy is queued
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("line 2"));

    panel->table()->clearSelection();
    select(3);
    panel->runCommand(ListPanel::CmdCopyLine);
    EXPECT_EQ(QApplication::clipboard()->text(), QString(511, u'字'));
}

TEST_F(ListPanelTest, ContextMenuIsGreyedWithoutASelection) {
    load(3);
    panel->fill();
    std::unique_ptr<QMenu> menu = panel->makeContextMenu();
    EXPECT_EQ(menu->title(), QStringLiteral("字幕"));
    QStringList texts;
    for (QAction* action : menu->actions()) {
        texts << action->text();
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    }
    EXPECT_EQ(texts, QStringList({"复制字幕 \t Ctrl+C", "跳到此行 \t Dbclick", "编辑字幕…",
                                  "调整字幕时间…"}));
    select(1);
    menu = panel->makeContextMenu();
    for (QAction* action : menu->actions())
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
}

TEST_F(ListPanelTest, DoubleClickJumpsToTheRowsLine) {
    load(6);
    panel->fill();
    QTableView* table = panel->table();
    const QPoint row4 = table->visualRect(model()->index(4, 3)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, row4);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, row4);
    QApplication::processEvents();
    EXPECT_EQ(jumps, QList<int>{4});

    jumps.clear();
    table->clearSelection();
    panel->runCommand(ListPanel::CmdJumpToLine);
    EXPECT_TRUE(jumps.isEmpty());
}

TEST_F(ListPanelTest, EditingPausesPlaybackAndRewritesTheRow) {
    load(3);
    panel->fill();
    select(1);
    playing = true;
    whenDialogOpens([](QWidget* dialog) {
        auto* edit = dialog->findChild<QPlainTextEdit*>(QStringLiteral("textEdit"));
        ASSERT_NE(edit, nullptr);
        edit->setPlainText(QStringLiteral("食咗飯未？"));
        dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    panel->runCommand(ListPanel::CmdEditLine);
    EXPECT_EQ(toggles, 1);
    EXPECT_FALSE(playing) << "paused, and left paused";
    EXPECT_EQ(document.line(1).text, QStringLiteral("食咗飯未？"));
    EXPECT_EQ(cell(1, 3), QStringLiteral("食咗飯未？"));
    EXPECT_EQ(sentenceRefreshes, 1);
    EXPECT_TRUE(document.modified);

    // A new time goes into the time column; while paused nothing is toggled.
    whenDialogOpens([](QWidget* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("timeEdit"));
        ASSERT_NE(edit, nullptr);
        edit->setText(QStringLiteral("00:03.20"));
        dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    panel->runCommand(ListPanel::CmdAdjustLineTime);
    EXPECT_EQ(toggles, 1);
    EXPECT_EQ(document.line(1).startMs, 3200);
    EXPECT_EQ(cell(1, 0), QStringLiteral("00:03.20"));

    // Cancelled: nothing changes.
    whenDialogOpens([](QWidget* dialog) {
        dialog->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
    });
    panel->runCommand(ListPanel::CmdAdjustLineTime);
    EXPECT_EQ(cell(1, 0), QStringLiteral("00:03.20"));
    EXPECT_EQ(sounds, 0);
}

TEST_F(ListPanelTest, BulkRewritesFollowTheDocument) {
    load(4);
    panel->fill();
    document.applyOffset(500);
    mode = SentenceMode::TwoLinesOddHead;
    panel->rewriteTimes();
    panel->renumberSentences();
    EXPECT_EQ(column(0), QStringList({"00:00.00", "00:02.00", "00:04.50", "00:07.00"}));
    EXPECT_EQ(column(2), QStringList({"1", "", "2", ""}));
    panel->setSentenceNumberText(1, QStringLiteral("x"));
    panel->setTimeText(0, QStringLiteral("y"));
    panel->setText(3, QStringLiteral("z"));
    EXPECT_EQ(cell(1, 2), "x");
    EXPECT_EQ(cell(0, 0), "y");
    EXPECT_EQ(cell(3, 3), "z");
    panel->setText(4, QStringLiteral("out of range"));
    EXPECT_EQ(model()->rowCount(), 4);
}

} // namespace

namespace {

// Readings for the characters of the tests' lines, as the dictionary would give them.
lurvo::pronunciation::Annotation readingsOf(const QString& text) {
    static const QHash<QChar, QString> known = {
        {u'唔', "m4"},   {u'該', "goi1"},  {u'晒', "saai3"}, {u'你', "nei5"}, {u'食', "sik6"},
        {u'咗', "zo2"},  {u'飯', "faan6"}, {u'未', "mei6"},  {u'呀', "aa3"},  {u'好', "hou2"},
        {u'耐', "noi6"}, {u'冇', "mou5"},  {u'見', "gin3"},  {u'早', "zou2"}, {u'晨', "san4"}};
    lurvo::pronunciation::Annotation a;
    for (const QChar c : text) {
        const QString syllable = known.value(c);
        a.append({QString(c), syllable, lurvo::pronunciation::toneOf(syllable)});
    }
    return a;
}

} // namespace

TEST_F(ListPanelTest, ReadingsStandUnderEachTextInToneColoursInTallerRows) {
    ASSERT_TRUE(
        document.parse(QStringLiteral("[00:01.00]唔該晒\r\n[00:02.00]你食咗飯未呀？\r\n"
                                      "[00:03.00]好耐冇見\r\n[00:04.00]早晨 everyone\r\n")));
    panel->fill();
    currentLine = 1;
    panel->posRefresh();
    select(3);
    QTableView* table = panel->table();
    const auto cellArea = [&](int row) {
        return table->visualRect(model()->index(row, SubtitleListModel::TextColumn));
    };
    const QImage plain = table->viewport()->grab().toImage();

    panel->setAnnotator(readingsOf);
    EXPECT_GT(panel->rowHeight(), ListPanel::kRowHeight + 10);
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(table->rowHeight(row), panel->rowHeight());
    const QImage image = table->viewport()->grab().toImage();
    if (const QString folder = qEnvironmentVariable("LURVO_SCREENSHOTS"); !folder.isEmpty())
        window.grab().save(folder + QStringLiteral("/ruby-list.png"));

    const auto upper = [](const QRect& r) { return r.adjusted(0, 0, 0, -r.height() / 2); };
    const auto lower = [](const QRect& r) { return r.adjusted(0, r.height() * 6 / 10, 0, 0); };
    const QColor goi1 = lurvo::views::toneColour(1, Qt::black);
    const QColor sik6 = lurvo::views::toneColour(6, Qt::black);
    EXPECT_TRUE(colourIn(image, lower(cellArea(0)), goi1)) << "syllables under the text";
    EXPECT_FALSE(colourIn(image, upper(cellArea(0)), goi1));
    EXPECT_TRUE(colourIn(image, upper(cellArea(0)), Qt::black)) << "the text on top";
    EXPECT_TRUE(colourIn(image, lower(cellArea(1)), sik6)) << "on the current sentence's green";
    for (const int tone : {1, 2, 3, 4, 5, 6})
        EXPECT_FALSE(colourIn(image, cellArea(3), lurvo::views::toneColour(tone, Qt::black)))
            << "the selected row's syllables take the selection's text colour";
    EXPECT_FALSE(colourIn(image, cellArea(2).translated(-cellArea(2).left(), 0), goi1))
        << "the other columns stay as they were";

    // Off again: rows and picture as before.
    panel->setAnnotator({});
    EXPECT_EQ(table->rowHeight(0), ListPanel::kRowHeight);
    EXPECT_EQ(table->viewport()->grab().toImage(), plain);
}

TEST_F(ListPanelTest, ReadingsAreAskedForAsRowsShowAndAgainWhenTheyChange) {
    load(300);
    panel->fill();
    int asked = 0;
    QStringList texts;
    panel->setAnnotator([&](const QString& text) {
        ++asked;
        texts << text;
        return readingsOf(text);
    });
    panel->table()->viewport()->grab();
    EXPECT_GT(asked, 0);
    EXPECT_LT(asked, 30) << "only the rows shown";
    const int firstPaint = asked;
    panel->table()->viewport()->grab();
    EXPECT_EQ(asked, firstPaint) << "kept while nothing changed";

    panel->setText(0, QStringLiteral("唔該"));
    panel->table()->viewport()->grab();
    EXPECT_EQ(asked, firstPaint + 1);
    EXPECT_EQ(texts.last(), QStringLiteral("唔該"));

    // The readings changed (the dictionary became ready): every row shown is asked again.
    panel->setAnnotator(readingsOf);
    int again = 0;
    panel->setAnnotator([&](const QString& text) {
        ++again;
        return readingsOf(text);
    });
    panel->table()->viewport()->grab();
    EXPECT_EQ(again, firstPaint);

    // Scrolled to the end, the rows there keep the current sentence in view at the new height.
    currentLine = 299;
    panel->posRefresh();
    EXPECT_GE(panel->table()->rowAt(panel->table()->viewport()->height() - 1), 290);
}
