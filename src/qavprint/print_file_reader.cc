#include "qavprint/print_file_reader.h"

#include <cstdint>
#include <string>

#include "platform/files.h"

namespace qav {
namespace {

constexpr size_t kQuoteLength = 24;

bool IsBlank(char c) { return c == ' '; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool StartsWithWord(std::string_view line, std::string_view word) {
  if (line.size() < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    char c = line[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != word[i]) return false;
  }
  return true;
}

// A number in the item form: blanks, an optional sign, digits, blanks, and
// nothing else. Values past any limit of the file saturate, so a huge
// number stays huge instead of wrapping.
bool ReadItemNumber(std::string_view field, int64_t* value) {
  field = TrimBlanks(field);
  bool negative = false;
  if (!field.empty() && (field.front() == '-' || field.front() == '+')) {
    negative = field.front() == '-';
    field.remove_prefix(1);
  }
  if (field.empty()) return false;
  int64_t v = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return false;
    if (v < 1000000000000) v = v * 10 + (c - '0');
  }
  *value = negative ? -v : v;
  return true;
}

// A piece of the file quoted in a warning, short and printable.
std::string Quoted(std::string_view field) {
  std::string q = "\"";
  q.append(field.substr(0, kQuoteLength));
  if (field.size() > kQuoteLength) q += "...";
  q += "\"";
  return q;
}

class PrintFileParser {
 public:
  explicit PrintFileParser(PrintDocument* document) : doc_(document) {}

  // False once the document is full and the rest of the file is to be left out.
  bool Line(std::string line);
  void Finish();

 private:
  void Warn(std::string text) {
    if (doc_->warnings.size() < kMaxWarnings) {
      doc_->warnings.push_back({line_no_, std::move(text)});
    } else {
      ++doc_->warnings_left_out;
    }
  }
  void PageLine(std::string_view number);
  void JustificationLine(std::string_view mode);
  void ControlLine(std::string_view code);
  void ItemLine(std::string_view line);
  bool BeginPage();
  void Advance(int64_t feeds);

  PrintDocument* doc_;
  int line_no_ = 0;
  bool recognised_any_ = false;
  bool warned_no_page_line_ = false;
  bool full_ = false;
  // The printer's state.
  int length_ = kDefaultPageLength;
  bool page_open_ = false;  // the last page of doc_ is the one being printed on
  int line_ = 0;            // the current line of that page, from 0
  int pitch_ = kPitch10;
  Justification justification_ = Justification::kAsIs;
};

bool PrintFileParser::Line(std::string line) {
  ++line_no_;
  if (line.size() >= TextFileReader::kMaxLine) {
    Warn("longer than " + std::to_string(TextFileReader::kMaxLine) +
         " characters; the rest of it is left out");
  }
  bool control = false;
  for (char& c : line) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 32 || u == 127) control = true;
    if (u < 32 || u == 127 || u == 255) c = ' ';
  }
  if (control) Warn("control characters (binary content?) shown as blanks");

  if (line_no_ == 1 && StartsWithWord(line, "DEVICE")) {
    doc_->has_destination = true;
    doc_->destination = line.substr(6);
    recognised_any_ = true;
    return true;
  }
  if (line_no_ == 1) Warn("no destination line (DEVICE) at the start of the file");
  if (TrimBlanks(line).empty()) return true;

  std::string_view view(line);
  if (StartsWithWord(view, "DEVICE")) {
    Warn("a destination line after the first line is ignored");
    recognised_any_ = true;
  } else if (StartsWithWord(view, "PAGE")) {
    PageLine(view.substr(4));
  } else if (StartsWithWord(view, "JUS")) {
    JustificationLine(view.substr(3));
  } else if (view.front() == '*') {
    ControlLine(view.substr(1));
  } else {
    ItemLine(view);
  }
  return !full_;
}

void PrintFileParser::PageLine(std::string_view number) {
  recognised_any_ = true;
  int64_t length = 0;
  if (!ReadItemNumber(number, &length) || length < 1 || length > kMaxPageLength) {
    Warn("page length " + Quoted(TrimBlanks(number)) + " is not usable (1 to " +
         std::to_string(kMaxPageLength) + "); taken as " + std::to_string(length_));
  } else {
    length_ = static_cast<int>(length);
  }
  page_open_ = false;
  line_ = 0;
  justification_ = Justification::kAsIs;
  warned_no_page_line_ = true;
  BeginPage();
}

void PrintFileParser::JustificationLine(std::string_view mode) {
  recognised_any_ = true;
  const std::string_view trimmed = TrimBlanks(mode);
  const char first = trimmed.empty() ? '\0' : trimmed.front();
  switch (first) {
    case 'E': case 'e':
      justification_ = Justification::kAsIs;
      break;
    case 'D': case 'd': case 'R': case 'r':
      justification_ = Justification::kRight;
      break;
    case 'C': case 'c':
      justification_ = Justification::kCentre;
      break;
    case 'A': case 'a': case 'B': case 'b':
      justification_ = Justification::kBoth;
      break;
    case 'N': case 'n':
      justification_ = Justification::kNumber;
      break;
    default:
      Warn("unknown justification " + Quoted(trimmed) + "; taken as E");
      justification_ = Justification::kAsIs;
  }
}

void PrintFileParser::ControlLine(std::string_view code) {
  recognised_any_ = true;
  code = TrimBlanks(code);
  if (code.size() == 2 && code[0] == '@' && (code[1] == 'e' || code[1] == 'E')) {
    pitch_ = kPitch12;
  } else if (code == "q" || code == "Q") {
    pitch_ = kPitch17;
  }
  // Any other printer code means nothing on this service's paper.
}

void PrintFileParser::ItemLine(std::string_view line) {
  const size_t first = line.find(',');
  if (first == std::string_view::npos) {
    Warn("not a print file line; left out: " + Quoted(line));
    return;
  }
  const std::string_view column_field = line.substr(0, first);
  std::string_view rest = line.substr(first + 1);
  const size_t last = rest.rfind(',');
  int64_t column = 0;
  const bool column_ok = ReadItemNumber(column_field, &column);
  if (!column_ok && last == std::string_view::npos) {
    Warn("not a print file line; left out: " + Quoted(line));
    return;
  }
  recognised_any_ = true;

  int64_t feeds = 0;
  std::string_view text = rest;
  if (last != std::string_view::npos && ReadItemNumber(rest.substr(last + 1), &feeds)) {
    text = rest.substr(0, last);
  } else {
    feeds = 0;
    Warn("the line feed count is missing or not a number; taken as 0");
  }

  if (!column_ok) {
    Warn("column " + Quoted(column_field) + " is not a number; printed at column 1");
    column = 1;
  } else if (column < 1 || column > kMaxColumn) {
    const int64_t repaired = column < 1 ? 1 : kMaxColumn;
    Warn("column " + std::to_string(column) + " is out of range (1 to " +
         std::to_string(kMaxColumn) + "); printed at column " + std::to_string(repaired));
    column = repaired;
  }
  const size_t room = static_cast<size_t>(kMaxColumn - column + 1);
  if (text.size() > room) {
    Warn("text beyond column " + std::to_string(kMaxColumn) + " left out");
    text = text.substr(0, room);
  }

  if (!page_open_ && !BeginPage()) return;
  PrintedPage& page = doc_->pages.back();
  if (page.lines.size() <= static_cast<size_t>(line_)) page.lines.resize(line_ + 1);
  page.lines[line_].items.push_back(
      {static_cast<int>(column), pitch_, justification_, std::string(text)});

  if (feeds < 0) {
    Warn("negative line feeds (" + std::to_string(feeds) + ") taken as 0");
  } else if (feeds > length_) {
    Warn(std::to_string(feeds) + " line feeds are more than a page of " +
         std::to_string(length_) + " lines; taken as the end of the page");
    Advance(length_ - line_);
  } else {
    Advance(feeds);
  }
}

bool PrintFileParser::BeginPage() {
  if (doc_->pages.size() >= kMaxPages) {
    if (!full_) {
      Warn("more than " + std::to_string(kMaxPages) + " pages; the rest of the file is left out");
    }
    full_ = true;
    return false;
  }
  if (doc_->pages.empty() && !warned_no_page_line_) {
    Warn("printing before the first page line (PAGE); the page length is taken as " +
         std::to_string(length_));
    warned_no_page_line_ = true;
  }
  PrintedPage page;
  page.length = length_;
  doc_->pages.push_back(std::move(page));
  page_open_ = true;
  return true;
}

void PrintFileParser::Advance(int64_t feeds) {
  if (feeds <= 0) return;
  justification_ = Justification::kAsIs;
  line_ += static_cast<int>(feeds);
  if (line_ >= length_) {
    // Continuous paper: the feed goes on onto the next sheet, which is only
    // added once something is printed on it.
    line_ -= length_;
    page_open_ = false;
  }
}

void PrintFileParser::Finish() {
  const int lines = line_no_;
  doc_->lines_read = lines;
  line_no_ = 0;
  if (lines == 0) {
    Warn("the print file is empty");
  } else if (!recognised_any_) {
    Warn("no line of the file is a print file line: this is not a print file");
  }
}

}  // namespace

PrintStatus ReadPrintFile(std::string_view path, PrintDocument* document) {
  *document = PrintDocument();
  TextFileReader reader;
  if (!reader.Open(path)) {
    if (FileSize(path) < 0) {
      return PrintStatus::Error(PrintStatus::kNotFound,
                                "the print file " + std::string(path) + " does not exist");
    }
    return PrintStatus::Error(PrintStatus::kIoError,
                              "the print file " + std::string(path) + " cannot be read");
  }
  PrintFileParser parser(document);
  std::string line;
  while (reader.ReadLine(&line)) {
    if (!parser.Line(std::move(line))) break;
    line = std::string();
  }
  parser.Finish();
  return PrintStatus::Ok();
}

}  // namespace qav
