#include "qavprint/justification.h"

#include <gtest/gtest.h>

namespace qav {
namespace {

TEST(JustificationTest, AlignsWithinTheTextsOwnWidth) {
  struct Case {
    const char* text;
    Justification justification;
    const char* aligned;
  };
  using J = Justification;
  const Case cases[] = {
      {"  12,50   ", J::kAsIs, "  12,50   "},
      {"12,50   ", J::kRight, "   12,50"},
      {"  12,50 ", J::kRight, "   12,50"},   // leading blanks stay, trailing ones join them
      {"    COBRAT", J::kRight, "    COBRAT"},  // already flush: unchanged
      {"12,50   ", J::kNumber, "   12,50"},
      {"AB    ", J::kCentre, "  AB  "},
      {" AB  ", J::kCentre, " AB  "},         // an odd blank goes to the right
      {"ABCDEF", J::kCentre, "ABCDEF"},
      {"A B C     ", J::kBoth, "A    B   C"},  // the wider gaps first
      {"  ONE   ", J::kBoth, "ONE     "},       // one word stays on the left
      {"", J::kRight, ""},
      {"    ", J::kCentre, "    "},
      {"    ", J::kBoth, "    "},
  };
  for (const Case& c : cases) {
    const std::string aligned = AlignText(c.text, c.justification);
    EXPECT_EQ(aligned, c.aligned) << "\"" << c.text << "\" " << static_cast<int>(c.justification);
    EXPECT_EQ(aligned.size(), std::string(c.text).size());
  }
}

}  // namespace
}  // namespace qav
