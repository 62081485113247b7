#include "report/print_file.h"

#include "frame/session.h"
#include "platform/files.h"

namespace qav {
namespace {

struct PrintFileState {
  TextFileWriter file;
  bool failed = false;
  int16_t page_length = 0;
  int16_t lines_on_page = 0;
};

PrintFileState& State() {
  static PrintFileState state;
  return state;
}

void WriteLine(std::string_view line) {
  PrintFileState& s = State();
  if (!s.file.IsOpen() || !s.file.WriteLine(line)) s.failed = true;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// The whole part of the number at the front of the text, as a number is
// read in the suite: blanks, a sign, digits; nothing readable is 0.
int64_t LeadingWholeNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value < 100000000000000000) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

std::string NormalisedMode(std::string_view mode) {
  const std::string_view trimmed = Trimmed(mode);
  char first = trimmed.empty() ? '\0' : trimmed.front();
  if (first >= 'a' && first <= 'z') first = static_cast<char>(first - 32);
  switch (first) {
    case 'C':
      return "C";
    case 'D':
    case 'R':
      return "D";
    case 'A':
    case 'B':
      return "A";
    case 'N': {
      int64_t number = LeadingWholeNumber(trimmed.substr(1));
      if (number < 0) number = -number;
      std::string mask;
      const size_t open = mode.find('\\');
      if (open != std::string_view::npos) {
        const size_t close = mode.find('\\', open + 1);
        mask = std::string(mode.substr(open, close == std::string_view::npos
                                                 ? std::string_view::npos
                                                 : close - open + 1));
      }
      return "N " + std::to_string(number) + " " + mask;
    }
    default:
      return "E";
  }
}

}  // namespace

std::string NumericItem(int64_t value) {
  return (value < 0 ? "-" + std::to_string(-value) : " " + std::to_string(value)) + " ";
}

std::string PrintFilePath() { return Session().WorkDir + "qavprint.tmp"; }

void OpenPrintFile(std::string_view destination) {
  PrintFileState& s = State();
  s.file.Close();
  s.failed = !s.file.Open(PrintFilePath());
  WriteLine("DEVICE" + std::string(destination));
}

void NewPage(int16_t length) {
  PrintFileState& s = State();
  WriteLine("PAGE" + NumericItem(length));
  s.page_length = length;
  s.lines_on_page = 0;
}

void SetJustify(std::string* mode) {
  *mode = NormalisedMode(*mode);
  WriteLine("JUS" + *mode);
}

void PrintControl(std::string_view code) { WriteLine("*" + std::string(code)); }

void PrintItem(int16_t column, std::string_view text, int16_t feeds) {
  PrintFileState& s = State();
  std::string clean(text);
  for (char& c : clean) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 32 || u == 127 || u == 255) c = ' ';
  }
  if (s.lines_on_page >= s.page_length) NewPage(s.page_length);
  WriteLine(NumericItem(column) + "," + clean + "," + NumericItem(feeds));
  if (feeds != 0) s.lines_on_page = static_cast<int16_t>(s.lines_on_page + feeds);
}

bool ClosePrintFile() {
  PrintFileState& s = State();
  if (!s.file.Close()) s.failed = true;
  const bool ok = !s.failed;
  s.failed = false;
  return ok;
}

int16_t PageLength() { return State().page_length; }
int16_t LinesOnPage() { return State().lines_on_page; }

void ResetPrintFile() {
  PrintFileState& s = State();
  s.file.Close();
  s.failed = false;
  s.page_length = 0;
  s.lines_on_page = 0;
}

}  // namespace qav
