#include "views/RubyText.h"
#include "views/ToneColours.h"

#include "ImageColours.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using lurvo::pronunciation::Annotation;
using lurvo::pronunciation::Piece;
using lurvo::test::colourIn;
using lurvo::views::RubyText;

namespace {

Piece read(const QString& text, const QString& syllable) {
    return {text, syllable, lurvo::pronunciation::toneOf(syllable)};
}
Piece bare(const QString& text) {
    return {text, {}, 0};
}

QFont sentenceFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(24);
    return font;
}

// "唔該晒，我想買兩張飛去香港。"
Annotation sentence() {
    return {read("唔", "m4"),     read("該", "goi1"),
            read("晒", "saai3"),  bare("，"),
            read("我", "ngo5"),   read("想", "soeng2"),
            read("買", "maai5"),  read("兩", "loeng5"),
            read("張", "zoeng1"), read("飛", "fei1"),
            read("去", "heoi3"),  read("香", "hoeng1"),
            read("港", "gong2"),  bare("。")};
}

// The boxes of each piece; a piece laid out in more than one box would have been split.
std::map<int, int> boxesPerPiece(const RubyText& ruby) {
    std::map<int, int> count;
    for (const RubyText::Box& box : ruby.boxes())
        ++count[box.piece];
    return count;
}

TEST(RubyText, EachSyllableStandsCentredAboveItsCharacter) {
    RubyText ruby(sentence(), sentenceFont());
    ruby.layout(2000);
    ASSERT_EQ(ruby.lineCount(), 1);
    EXPECT_GT(ruby.syllableBandHeight(), 0);
    EXPECT_DOUBLE_EQ(ruby.size().height(), ruby.lineHeight());
    EXPECT_GT(ruby.lineHeight(), lurvo::views::chineseLineHeight(sentenceFont()))
        << "the line grows to hold the syllables";
    ASSERT_EQ(ruby.boxes().size(), sentence().size());
    qreal lastRight = 0;
    for (const RubyText::Box& box : ruby.boxes()) {
        const Piece piece = sentence()[box.piece];
        EXPECT_EQ(box.text, piece.text);
        EXPECT_GE(box.textRect.left(), lastRight) << "in order, not overlapping";
        lastRight = box.textRect.right();
        if (piece.syllable.isEmpty()) {
            EXPECT_TRUE(box.syllableRect.isNull()) << qPrintable(piece.text);
            continue;
        }
        EXPECT_DOUBLE_EQ(box.syllableRect.bottom(), box.textRect.top()) << "right above";
        EXPECT_DOUBLE_EQ(box.syllableRect.center().x(), box.textRect.center().x()) << "centred";
        EXPECT_GE(box.syllableRect.width(), QFontMetricsF(RubyText::syllableFontFor(sentenceFont()))
                                                .horizontalAdvance(piece.syllable))
            << qPrintable(piece.syllable) << " has room";
    }
    // The line is centred in the width.
    EXPECT_NEAR(ruby.boxes().front().textRect.left(), 2000 - ruby.boxes().back().textRect.right(),
                1);
}

TEST(RubyText, WrapsBetweenPiecesAndKeepsPunctuationWithWhatItFollows) {
    RubyText wide(sentence(), sentenceFont());
    wide.layout(5000, Qt::AlignLeft);
    const qreal full = wide.boxes().back().textRect.right();
    for (const qreal width : {full / 3, full / 2, full * 0.8, 40.0}) {
        RubyText ruby(sentence(), sentenceFont());
        ruby.layout(width, Qt::AlignLeft);
        EXPECT_GT(ruby.lineCount(), 1) << width;
        EXPECT_DOUBLE_EQ(ruby.heightForWidth(width), ruby.lineCount() * ruby.lineHeight());
        for (const auto& [piece, boxes] : boxesPerPiece(ruby))
            EXPECT_EQ(boxes, 1) << "piece " << piece << " at width " << width;
        EXPECT_EQ(boxesPerPiece(ruby).size(), sentence().size());
        std::map<int, std::pair<int, qreal>> lines; // characters and right edge of each line
        for (const RubyText::Box& box : ruby.boxes()) {
            EXPECT_DOUBLE_EQ(box.textRect.top(),
                             box.line * ruby.lineHeight() + ruby.syllableBandHeight());
            const bool punctuation = box.text == "，" || box.text == "。";
            EXPECT_FALSE(box.textRect.left() == 0 && punctuation)
                << "punctuation never starts a line, at width " << width;
            lines[box.line].first += punctuation ? 0 : 1;
            lines[box.line].second = box.textRect.right();
        }
        for (const auto& [line, content] : lines)
            EXPECT_TRUE(content.second <= width + 0.01 || content.first == 1)
                << "only a piece alone on its line may be wider than the width; line " << line;
    }
    // Just too narrow for the comma after 晒: 晒 goes down with it.
    const qreal toSaai = wide.boxes()[2].textRect.right();
    RubyText ruby(sentence(), sentenceFont());
    ruby.layout(toSaai + 1, Qt::AlignLeft);
    EXPECT_EQ(ruby.boxes()[2].line, 1);
    EXPECT_EQ(ruby.boxes()[3].line, 1);
    EXPECT_EQ(ruby.boxes()[1].line, 0);
}

TEST(RubyText, LatinRunsBreakAtTheirSpacesAndTextLineBreaksStay) {
    const Annotation mixed = {read("我", "ngo5"), read("鍾", "zung1"), read("意", "ji3"),
                              bare(" listening practice every day\r\n"), read("好", "hou2")};
    RubyText ruby(mixed, sentenceFont());
    ruby.layout(170, Qt::AlignLeft);
    QStringList words;
    for (const RubyText::Box& box : ruby.boxes())
        if (box.piece == 3)
            words << box.text;
    EXPECT_EQ(words, QStringList({"listening", "practice", "every", "day"}))
        << "whole words, no spaces drawn";
    EXPECT_GT(ruby.boxes().back().line, ruby.boxes()[ruby.boxes().size() - 2].line)
        << "好 starts the line after the break";
    int lastLine = 0;
    for (const RubyText::Box& box : ruby.boxes()) {
        EXPECT_TRUE(box.textRect.right() <= 170.01 || box.textRect.left() == 0);
        lastLine = box.line;
    }
    EXPECT_EQ(ruby.lineCount(), lastLine + 1);

    // Without a break, a short text stays on one line; without syllables, no band above.
    RubyText plain({bare("Hello there")}, sentenceFont());
    plain.layout(1000);
    EXPECT_EQ(plain.lineCount(), 1);
    EXPECT_EQ(plain.syllableBandHeight(), 0);
    EXPECT_DOUBLE_EQ(plain.lineHeight(), lurvo::views::chineseLineHeight(sentenceFont()));
    RubyText empty({}, sentenceFont());
    empty.layout(1000);
    EXPECT_EQ(empty.lineCount(), 0);
    EXPECT_EQ(empty.size().height(), 0);
}

TEST(RubyText, HitTestFindsThePieceUnderAPoint) {
    RubyText ruby(sentence(), sentenceFont());
    ruby.layout(200);
    for (const RubyText::Box& box : ruby.boxes()) {
        EXPECT_EQ(ruby.pieceAt(box.textRect.center()), box.piece);
        if (box.syllableRect.isNull()) {
            EXPECT_EQ(ruby.syllableAt(box.textRect.center()), -1);
            continue;
        }
        EXPECT_EQ(ruby.pieceAt(box.syllableRect.center()), box.piece);
        EXPECT_EQ(ruby.syllableAt(box.syllableRect.center()), box.piece);
        EXPECT_EQ(ruby.syllableAt(box.textRect.center()), -1) << "the character, not its syllable";
    }
    EXPECT_EQ(ruby.pieceAt(QPointF(-5, 5)), -1);
    EXPECT_EQ(ruby.pieceAt(QPointF(100, ruby.size().height() + 5)), -1);
}

TEST(RubyText, PaintsSyllablesInTheirToneColoursAboveTheCharacters) {
    RubyText ruby(sentence(), sentenceFont());
    ruby.layout(400);
    // On white with black characters, and on a dark background with white ones.
    for (const auto& [background, text] :
         {std::pair{QColor(Qt::white), QColor(Qt::black)},
          std::pair{QColor(0x20, 0x20, 0x20), QColor(Qt::white)}}) {
        QImage image(400, qCeil(ruby.size().height()), QImage::Format_RGB32);
        image.fill(background);
        {
            QPainter p(&image);
            ruby.paint(p, {0, 0}, text);
        }
        // To look at it: LURVO_SCREENSHOTS=/tmp
        if (const QString folder = qEnvironmentVariable("LURVO_SCREENSHOTS"); !folder.isEmpty())
            image.save(folder + QStringLiteral("/ruby-text-%1.png").arg(background.name().mid(1)));
        for (const RubyText::Box& box : ruby.boxes()) {
            const Piece piece = sentence()[box.piece];
            EXPECT_TRUE(colourIn(image, box.textRect.toAlignedRect(), text))
                << qPrintable(piece.text);
            if (piece.syllable.isEmpty())
                continue;
            const QColor tone = lurvo::views::toneColour(piece.tone, text);
            EXPECT_TRUE(colourIn(image, box.syllableRect.toAlignedRect(), tone))
                << qPrintable(piece.syllable);
            EXPECT_FALSE(colourIn(image, box.textRect.toAlignedRect(), tone))
                << qPrintable(piece.text) << " is not coloured";
        }
    }
}

} // namespace
