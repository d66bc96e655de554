#include "text/line_table.h"

#include <new>

namespace letterloom::text {

TextLine::TextLine(const LineTable &table, std::size_t line)
    : lineWidth(table.lines_[line].lineWidth), gap(table.lines_[line].gap), table_(&table),
      firstWord_(table.lines_[line].firstWord),
      endWord_(line + 1 < table.lines_.size() ? table.lines_[line + 1].firstWord
                                              : std::uint32_t(table.words_.size()))
{
}

QByteArrayView TextLine::word(qsizetype index) const
{
    const std::uint32_t word = firstWord_ + std::uint32_t(index);
    const std::uint32_t begin = table_->wordBegin(word);
    return QByteArrayView(table_->bytes_.data() + begin, table_->words_[word].end - begin);
}

std::int32_t TextLine::wordWidth(qsizetype index) const
{
    return table_->words_[firstWord_ + std::size_t(index)].width;
}

std::vector<QByteArray> TextLine::words() const
{
    std::vector<QByteArray> out;
    for (qsizetype w = 0; w < wordCount(); ++w)
        out.push_back(word(w).toByteArray());
    return out;
}

std::vector<std::int32_t> TextLine::wordWidths() const
{
    std::vector<std::int32_t> out;
    for (qsizetype w = 0; w < wordCount(); ++w)
        out.push_back(wordWidth(w));
    return out;
}

void LineTable::clear()
{
    // The buffers go too: a table of millions of lines is not kept for the
    // next, shorter layout.
    Buffer<char>().swap(bytes_);
    Buffer<Word>().swap(words_);
    Buffer<Line>().swap(lines_);
}

void LineTable::reuse()
{
    bytes_.clear();
    words_.clear();
    lines_.clear();
}

void LineTable::reserve(std::size_t words, std::size_t bytes)
{
    // The room is only a head start: a text of some hundred megabytes in an
    // area of a few lines asks for far more than it will use, and where the
    // address space is limited the layout must still run.
    try {
        words_.reserve(words_.size() + words);
        bytes_.reserve(bytes_.size() + bytes);
    } catch (const std::bad_alloc &) {
    }
}

void LineTable::addLine()
{
    lines_.push_back({std::uint32_t(words_.size()), 0, 0});
}

void LineTable::setLineSums(std::int32_t lineWidth, std::int32_t gap)
{
    lines_.back().lineWidth = lineWidth;
    lines_.back().gap = gap;
}

void LineTable::addEmptyLines(std::size_t count)
{
    lines_.resize(lines_.size() + count, Line{std::uint32_t(words_.size()), 0, 0});
}

char *LineTable::lastWordData()
{
    return bytes_.data() + wordBegin(std::uint32_t(words_.size() - 1));
}

void LineTable::shortenLastWord(qsizetype size)
{
    const std::uint32_t end = wordBegin(std::uint32_t(words_.size() - 1)) + std::uint32_t(size);
    bytes_.resize(end);
    words_.back().end = end;
}

void ClearLineTable(LineTable &lines)
{
    lines.clear();
}

}  // namespace letterloom::text
