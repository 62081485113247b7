// Reads the items of the suite's definition files (forms, languages): items
// separated by commas or line ends, numbers ending at a comma, a blank or
// the line's end, texts either in double quotes (which may then hold commas
// and blanks) or running to the next comma or the line's end. Leading blanks
// and blank lines carry no meaning; a comma at the end of a line is
// followed by an empty item. The reader tracks lines so that a fault
// can be named where it is.
#ifndef QAV_FORMS_ITEM_READER_H_
#define QAV_FORMS_ITEM_READER_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace qav {

class ItemReader {
 public:
  explicit ItemReader(std::string content) : content_(std::move(content)) {}

  // True when only blanks and line ends are left.
  bool AtEnd();
  // Skips blank lines and lines whose first non-blank character is "'";
  // comments are allowed only where a record begins.
  void SkipCommentLines();
  // The next text item; false at the end of the content.
  bool ReadText(std::string* text);
  // The next number item: an optional sign and decimal digits, within 16
  // bits; false (with *error saying why) when the item is no such number.
  bool ReadNumber(int16_t* value, std::string* error);

  // The line (from 1) of the item read last, or where reading stands.
  int line() const { return item_line_; }

 private:
  void SkipBlanksAndLineEnds();
  void SkipSeparator();
  int LineAt(size_t pos) const;

  // True right after a comma: a line end then closes an empty item.
  bool EmptyItemAhead() const;

  std::string content_;
  size_t pos_ = 0;
  bool after_comma_ = false;
  int item_line_ = 1;
};

}  // namespace qav

#endif  // QAV_FORMS_ITEM_READER_H_
