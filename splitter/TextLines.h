#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

/// The lines of a document held once: one buffer with the lines joined by '\n', and the
/// offset at which each line starts (four bytes a line). A source of many short lines costs
/// a little more than its size, where one string per line cost fifty times as much.
/// A line never holds a line break.
class TextLines {
public:
  TextLines() = default;
  TextLines(std::initializer_list<std::string_view> lines);
  explicit TextLines(const std::vector<std::string>& lines);

  /// Takes the text and splits it into lines at CR LF, LF or a lone CR, in place. A final
  /// line break does not start another line; an empty text has no lines.
  static TextLines fromText(std::string text);
  /// Counts the lines fromText would make, without making them.
  static std::size_t countLines(std::string_view text);

  std::size_t size() const { return starts_.size(); }
  bool empty() const { return starts_.empty(); }
  std::string_view operator[](std::size_t i) const;
  std::string_view front() const { return (*this)[0]; }
  std::string_view back() const { return (*this)[size() - 1]; }

  /// Appends a line (a line break in it is cut off there).
  void push_back(std::string_view line);
  void append(const TextLines& more);
  void clear();

  /// The lines joined by '\n', without a final break.
  const std::string& joined() const { return text_; }
  /// The bytes of the file: every line ended by CR LF.
  std::string crLfText() const;
  std::vector<std::string> toVector() const;

  bool operator==(const TextLines& other) const { return starts_ == other.starts_ && text_ == other.text_; }

  class const_iterator {
  public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;
    const_iterator() = default;
    const_iterator(const TextLines* lines, std::size_t i) : lines_(lines), i_(i) {}
    std::string_view operator*() const { return (*lines_)[i_]; }
    const_iterator& operator++() {
      ++i_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator old = *this;
      ++i_;
      return old;
    }
    bool operator==(const const_iterator& o) const { return i_ == o.i_; }

  private:
    const TextLines* lines_ = nullptr;
    std::size_t i_ = 0;
  };
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

private:
  std::string text_;
  std::vector<std::uint32_t> starts_;
};
