#include "TextLines.h"

#include <stdexcept>

namespace {

std::uint32_t offset(std::size_t at) {
  // The read limits keep every document far below this.
  if (at > UINT32_MAX) throw std::length_error("document larger than 4 GB");
  return static_cast<std::uint32_t>(at);
}

}  // namespace

TextLines::TextLines(std::initializer_list<std::string_view> lines) {
  for (std::string_view line : lines) push_back(line);
}

TextLines::TextLines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) push_back(line);
}

TextLines TextLines::fromText(std::string text) {
  TextLines result;
  result.starts_.reserve(countLines(text));
  const std::size_t n = text.size();
  std::size_t w = 0;
  bool open = false;  // a line has started and not yet ended
  for (std::size_t r = 0; r < n; ++r) {
    if (!open) {
      result.starts_.push_back(offset(w));
      open = true;
    }
    const char c = text[r];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && r + 1 < n && text[r + 1] == '\n') ++r;
      text[w++] = '\n';
      open = false;
    } else {
      text[w++] = c;
    }
  }
  text.resize(w);
  if (!open && w > 0) text.pop_back();  // the final break ends the last line
  result.text_ = std::move(text);
  return result;
}

std::size_t TextLines::countLines(std::string_view text) {
  std::size_t lines = 0;
  bool open = false;
  for (std::size_t r = 0; r < text.size(); ++r) {
    if (!open) {
      ++lines;
      open = true;
    }
    const char c = text[r];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && r + 1 < text.size() && text[r + 1] == '\n') ++r;
      open = false;
    }
  }
  return lines;
}

std::string_view TextLines::operator[](std::size_t i) const {
  const std::size_t begin = starts_[i];
  const std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] - 1 : text_.size();
  return std::string_view(text_).substr(begin, end - begin);
}

void TextLines::push_back(std::string_view line) {
  line = line.substr(0, line.find_first_of("\r\n"));
  if (!starts_.empty()) text_ += '\n';
  starts_.push_back(offset(text_.size()));
  text_ += line;
}

void TextLines::append(const TextLines& more) {
  for (std::string_view line : more) push_back(line);
}

void TextLines::clear() {
  text_.clear();
  text_.shrink_to_fit();
  starts_.clear();
  starts_.shrink_to_fit();
}

std::string TextLines::crLfText() const {
  std::string out;
  out.reserve(text_.size() + size() * 2);
  for (std::string_view line : *this) {
    out += line;
    out += "\r\n";
  }
  return out;
}

std::vector<std::string> TextLines::toVector() const {
  std::vector<std::string> out;
  out.reserve(size());
  for (std::string_view line : *this) out.emplace_back(line);
  return out;
}
