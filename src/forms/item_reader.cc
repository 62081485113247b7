#include "forms/item_reader.h"

#include <algorithm>

namespace qav {
namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

}  // namespace

int ItemReader::LineAt(size_t pos) const {
  return 1 + static_cast<int>(std::count(content_.begin(),
                                         content_.begin() + static_cast<long>(std::min(pos, content_.size())),
                                         '\n'));
}

void ItemReader::SkipBlanksAndLineEnds() {
  while (pos_ < content_.size() && (content_[pos_] == ' ' || IsLineEnd(content_[pos_]))) ++pos_;
}

bool ItemReader::AtEnd() {
  SkipBlanksAndLineEnds();
  item_line_ = LineAt(pos_);
  return pos_ >= content_.size();
}

void ItemReader::SkipCommentLines() {
  after_comma_ = false;
  // The rest of the current line first, when nothing but blanks is left on it.
  size_t p = pos_;
  while (p < content_.size() && content_[p] == ' ') ++p;
  if (p < content_.size() && IsLineEnd(content_[p])) pos_ = p;
  while (pos_ < content_.size()) {
    size_t start = pos_;
    while (start < content_.size() && IsLineEnd(content_[start])) ++start;
    size_t first = start;
    while (first < content_.size() && content_[first] == ' ') ++first;
    if (first >= content_.size()) {
      pos_ = first;
      return;
    }
    if (IsLineEnd(content_[first])) {  // a blank line
      pos_ = first;
      continue;
    }
    if (content_[first] != '\'') {
      pos_ = start;
      return;
    }
    size_t end = first;
    while (end < content_.size() && !IsLineEnd(content_[end])) ++end;
    pos_ = end;
  }
}

void ItemReader::SkipSeparator() {
  while (pos_ < content_.size() && content_[pos_] == ' ') ++pos_;
  after_comma_ = pos_ < content_.size() && content_[pos_] == ',';
  if (after_comma_) ++pos_;
}

bool ItemReader::EmptyItemAhead() const {
  if (!after_comma_) return false;
  size_t p = pos_;
  while (p < content_.size() && content_[p] == ' ') ++p;
  return p >= content_.size() || IsLineEnd(content_[p]);
}

bool ItemReader::ReadText(std::string* text) {
  text->clear();
  if (EmptyItemAhead()) {
    after_comma_ = false;
    item_line_ = LineAt(pos_);
    return true;
  }
  if (AtEnd()) return false;
  if (content_[pos_] == '"') {
    const size_t close = content_.find('"', pos_ + 1);
    const size_t line_end = content_.find_first_of("\r\n", pos_ + 1);
    // A quote left open ends with its line.
    const size_t end = std::min(close, line_end);
    text->assign(content_, pos_ + 1, (end == std::string::npos ? content_.size() : end) - pos_ - 1);
    pos_ = end == std::string::npos ? content_.size() : end;
    if (pos_ < content_.size() && content_[pos_] == '"') ++pos_;
    // Whatever stands between the closing quote and the separator is dropped.
    while (pos_ < content_.size() && content_[pos_] != ',' && !IsLineEnd(content_[pos_])) ++pos_;
  } else {
    const size_t end = content_.find_first_of(",\r\n", pos_);
    text->assign(content_, pos_, (end == std::string::npos ? content_.size() : end) - pos_);
    pos_ = end == std::string::npos ? content_.size() : end;
    while (!text->empty() && text->back() == ' ') text->pop_back();
  }
  SkipSeparator();
  return true;
}

bool ItemReader::ReadNumber(int16_t* value, std::string* error) {
  *value = 0;
  if (EmptyItemAhead()) {
    after_comma_ = false;
    item_line_ = LineAt(pos_);
    *error = "expected a number, found nothing";
    return false;
  }
  if (AtEnd()) {
    *error = "the file ends where a number was expected";
    return false;
  }
  size_t end = pos_;
  while (end < content_.size() && content_[end] != ',' && content_[end] != ' ' &&
         !IsLineEnd(content_[end])) {
    ++end;
  }
  const std::string item = content_.substr(pos_, end - pos_);
  pos_ = end;
  SkipSeparator();
  size_t i = 0;
  bool negative = false;
  if (i < item.size() && (item[i] == '-' || item[i] == '+')) negative = item[i++] == '-';
  if (i == item.size() || item.size() > 12) {
    *error = "expected a number, found \"" + item.substr(0, 20) + "\"";
    return false;
  }
  int64_t v = 0;
  for (; i < item.size(); ++i) {
    if (item[i] < '0' || item[i] > '9') {
      *error = "expected a number, found \"" + item.substr(0, 20) + "\"";
      return false;
    }
    v = v * 10 + (item[i] - '0');
  }
  if (negative) v = -v;
  if (v < -32768 || v > 32767) {
    *error = "the number " + item + " is out of range";
    return false;
  }
  *value = static_cast<int16_t>(v);
  return true;
}

}  // namespace qav
