#pragma once

#include "base/large_pages.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

namespace letterloom::text {

class LineTable;

// One line of laid-out text, read from its table (valid while the table is
// unchanged): its words after escapes are resolved (they may be empty), each
// word's measured width (as typed before its escapes, plus any tracking and
// kerning between its characters), the line's width (the sum of each word's
// width plus one space width) and the distance between words for justified
// text.
class TextLine {
public:
    qsizetype wordCount() const { return qsizetype(endWord_ - firstWord_); }
    QByteArrayView word(qsizetype index) const;
    std::int32_t wordWidth(qsizetype index) const;

    // Copies of the words and widths, for showing and comparing a line.
    std::vector<QByteArray> words() const;
    std::vector<std::int32_t> wordWidths() const;

    std::int32_t lineWidth = 0;
    std::int32_t gap = 0;

private:
    friend class LineTable;
    TextLine(const LineTable &table, std::size_t line);

    const LineTable *table_;
    std::uint32_t firstWord_;
    std::uint32_t endWord_;
};

// The lines of the last refresh, top line first. The words' bytes stand one
// after the other in one buffer; a word is its end in it and its width, a
// line its first word and its two sums: 8 bytes a word and 12 a line besides
// the words' own bytes, with no allocation of its own for a line or a word.
// Offsets are 32-bit: a table holds less than 4 GiB of words. Buffers of
// megabytes lie on large pages (base/large_pages.h): a layout of millions of
// words fills fresh memory, which in small pages costs a fault every 4 KiB.
class LineTable {
public:
    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    TextLine operator[](std::size_t line) const { return TextLine(*this, line); }
    void clear();
    // Empties the table but keeps its buffers, for one table that many
    // layouts fill one after the other (the fit search).
    void reuse();
    // Room for so many more words of so many bytes in all, so that a layout
    // that knows the most it can place fills the buffers without moving
    // them. Room the memory does not allow is left to grow as words come.
    void reserve(std::size_t words, std::size_t bytes);

    // Building, line by line: a new line without words, a word on the last
    // line, the last line's sums, and a number of lines without words.
    void addLine();
    void addWord(QByteArrayView bytes, std::int32_t width)
    {
        // This runs for every word of a layout: a copy onto the end, and the
        // buffers double when they are full.
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        words_.push_back({std::uint32_t(bytes_.size()), width});
    }
    void setLineSums(std::int32_t lineWidth, std::int32_t gap);
    void addEmptyLines(std::size_t count);

    // The bytes of the last word, which may be shortened in place.
    char *lastWordData();
    void shortenLastWord(qsizetype size);

    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = TextLine;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = TextLine;

        Iterator(const LineTable &table, std::size_t line) : table_(&table), line_(line) {}
        TextLine operator*() const { return (*table_)[line_]; }
        Iterator &operator++()
        {
            ++line_;
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator before = *this;
            ++line_;
            return before;
        }
        bool operator==(const Iterator &other) const = default;

    private:
        const LineTable *table_;
        std::size_t line_;
    };
    Iterator begin() const { return Iterator(*this, 0); }
    Iterator end() const { return Iterator(*this, size()); }

    bool operator==(const LineTable &other) const
    {
        return bytes_ == other.bytes_ && words_ == other.words_ && lines_ == other.lines_;
    }

private:
    friend class TextLine;

    struct Word {
        std::uint32_t end;  // in bytes_
        std::int32_t width;
        bool operator==(const Word &other) const = default;
    };
    struct Line {
        std::uint32_t firstWord;
        std::int32_t lineWidth;
        std::int32_t gap;
        bool operator==(const Line &other) const = default;
    };

    std::uint32_t wordBegin(std::uint32_t word) const { return word == 0 ? 0 : words_[word - 1].end; }

    template <typename T>
    using Buffer = std::vector<T, LargePageAllocator<T>>;
    Buffer<char> bytes_;  // the words' bytes, one after the other
    Buffer<Word> words_;
    Buffer<Line> lines_;
};

void ClearLineTable(LineTable &lines);

}  // namespace letterloom::text
