#include "qavprint/preview.h"

#include <gtest/gtest.h>

#include "platform/console.h"

namespace qav {
namespace {

// Three pages of 66 lines; every line says where it is, and the first line
// of each page reaches column 135 like the report's rules.
PrintDocument ThreePages() {
  PrintDocument d;
  d.has_destination = true;
  for (int p = 1; p <= 3; ++p) {
    PrintedPage page;
    page.length = 66;
    page.lines.resize(66);
    for (int l = 1; l <= 66; ++l) {
      page.lines[l - 1].items.push_back(
          {1, kPitch17, Justification::kAsIs, "P" + std::to_string(p) + " L" + std::to_string(l)});
    }
    page.lines[0].items.push_back({126, kPitch17, Justification::kRight, "RIGHT     "});
    d.pages.push_back(page);
  }
  return d;
}

std::string Trimmed(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

std::string Status(const char* page, const char* lines, const char* columns) {
  return std::string(" P\x85gina ") + page + "   l\xA1nies " + lines + "   columnes " + columns;
}

TEST(PreviewTest, PagingAndScrollingByKeysAndWheel) {
  using E = ConsoleEvent;
  const E down = E::Extended(scan::kDown), up = E::Extended(scan::kUp),
          pgdn = E::Extended(scan::kPgDn), pgup = E::Extended(scan::kPgUp),
          home = E::Extended(scan::kHome), end = E::Extended(scan::kEnd),
          left = E::Extended(scan::kLeft), right = E::Extended(scan::kRight);
  struct Case {
    const char* name;
    std::vector<E> events;
    std::string status;
    std::string first_row;  // row 2, the first row of the page in view
  };
  std::vector<E> downs(44, down);
  std::vector<E> rights(10, right);
  const Case cases[] = {
      {"first view", {}, Status("1 de 3", "1-23 de 66", "1-80 de 136"), "P1 L1"},
      {"two lines down", {down, down}, Status("1 de 3", "3-25 de 66", "1-80 de 136"), "P1 L3"},
      {"up at the very top stays", {up}, Status("1 de 3", "1-23 de 66", "1-80 de 136"), "P1 L1"},
      {"down past the page's end goes on on the next page", downs,
       Status("2 de 3", "1-23 de 66", "1-80 de 136"), "P2 L1"},
      {"up from a page's top goes to the previous page's end", {pgdn, up},
       Status("1 de 3", "44-66 de 66", "1-80 de 136"), "P1 L44"},
      {"page down", {pgdn}, Status("2 de 3", "1-23 de 66", "1-80 de 136"), "P2 L1"},
      {"page down on the last page shows its end", {pgdn, pgdn, pgdn},
       Status("3 de 3", "44-66 de 66", "1-80 de 136"), "P3 L44"},
      {"page up goes to the page's top first", {pgdn, down, pgup},
       Status("2 de 3", "1-23 de 66", "1-80 de 136"), "P2 L1"},
      {"then to the previous page", {pgdn, pgup}, Status("1 de 3", "1-23 de 66", "1-80 de 136"),
       "P1 L1"},
      {"end", {end}, Status("3 de 3", "44-66 de 66", "1-80 de 136"), "P3 L44"},
      {"home", {end, right, home}, Status("1 de 3", "1-23 de 66", "1-80 de 136"), "P1 L1"},
      {"right", {right}, Status("1 de 3", "1-23 de 66", "9-88 de 136"), ""},
      {"right stops at the line's end", rights, Status("1 de 3", "1-23 de 66", "57-136 de 136"),
       std::string(74, ' ') + "RIGHT"},
      {"left", {right, right, left}, Status("1 de 3", "1-23 de 66", "9-88 de 136"), ""},
      {"left at the line's start stays", {left}, Status("1 de 3", "1-23 de 66", "1-80 de 136"),
       "P1 L1"},
      {"the wheel", {E::Wheel(1), E::Wheel(1)}, Status("1 de 3", "7-29 de 66", "1-80 de 136"),
       "P1 L7"},
      {"the wheel up across a page", {pgdn, E::Wheel(-1)},
       Status("1 de 3", "42-64 de 66", "1-80 de 136"), "P1 L42"},
      {"other keys and clicks change nothing",
       {E::Char('x'), E::Extended(scan::kF1), E::Char(13), E::Click(5, 5)},
       Status("1 de 3", "1-23 de 66", "1-80 de 136"), "P1 L1"},
  };
  const PrintDocument document = ThreePages();
  for (const Case& c : cases) {
    HeadlessBackend& console = StartHeadlessConsole(80, 25);
    for (const E& e : c.events) console.Push(e);
    console.Push(E::Char(27));
    RunPreview(document);
    EXPECT_EQ(console.Pending(), 0u) << c.name;
    EXPECT_EQ(console.ExhaustedReads(), 0) << c.name << ": Esc did not end it";
    EXPECT_EQ(Trimmed(ScreenRowText(1)), c.status) << c.name;
    EXPECT_EQ(Trimmed(ScreenRowText(2)), c.first_row) << c.name;
    EXPECT_NE(ScreenRowText(25).find("Esc surt"), std::string::npos) << c.name;
    EXPECT_FALSE(console.MouseReporting()) << c.name;
  }
}

TEST(PreviewTest, ShowsTheWholeRowsOfThePageInView) {
  HeadlessBackend& console = StartHeadlessConsole(80, 25);
  console.Push(ConsoleEvent::Extended(scan::kEnd));
  RunPreview(ThreePages());
  // Lines 44 to 66 fill rows 2 to 24; no row goes past the page's end.
  for (int row = 2; row <= 24; ++row) {
    EXPECT_EQ(Trimmed(ScreenRowText(row)), "P3 L" + std::to_string(row + 42));
  }
  EXPECT_EQ(GetCursorShape(), CursorShape::kHidden);
}

TEST(PreviewTest, TheEndOfTheReportIsItsLastPrintedLine) {
  using E = ConsoleEvent;
  const E end = E::Extended(scan::kEnd), pgdn = E::Extended(scan::kPgDn),
          down = E::Extended(scan::kDown);
  struct Case {
    int printed;  // lines printed on the last page
    std::vector<E> events;
    std::string status;
    std::string first_row;
  };
  const Case cases[] = {
      {40, {end}, Status("3 de 3", "18-40 de 66", "1-80 de 136"), "P3 L18"},
      {40, {pgdn, pgdn, pgdn}, Status("3 de 3", "18-40 de 66", "1-80 de 136"), "P3 L18"},
      {10, {end}, Status("3 de 3", "1-23 de 66", "1-80 de 136"), "P3 L1"},
      // The blank paper under it is still there to scroll to.
      {40, {end, down}, Status("3 de 3", "19-41 de 66", "1-80 de 136"), "P3 L19"},
  };
  for (const Case& c : cases) {
    PrintDocument document = ThreePages();
    document.pages.back().lines.resize(static_cast<size_t>(c.printed));
    HeadlessBackend& console = StartHeadlessConsole(80, 25);
    for (const E& e : c.events) console.Push(e);
    console.Push(E::Char(27));
    RunPreview(document);
    EXPECT_EQ(Trimmed(ScreenRowText(1)), c.status) << c.printed;
    EXPECT_EQ(Trimmed(ScreenRowText(2)), c.first_row) << c.printed;
  }
}

TEST(PreviewTest, AnEmptyReportShowsOneBlankPage) {
  HeadlessBackend& console = StartHeadlessConsole(100, 30);
  console.Push(ConsoleEvent::Extended(scan::kPgDn));
  RunPreview(PrintDocument());
  EXPECT_EQ(Trimmed(ScreenRowText(1)),
            Status("1 de 1", "1-28 de 66", "1-100 de 136") + "   (llistat buit)");
  for (int row = 2; row <= 29; ++row) EXPECT_EQ(Trimmed(ScreenRowText(row)), "") << row;
  EXPECT_EQ(console.ExhaustedReads(), 1);  // it waited for Esc
}

}  // namespace
}  // namespace qav
