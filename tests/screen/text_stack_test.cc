#include "screen/text_stack.h"

#include <gtest/gtest.h>

namespace qav {
namespace {

TEST(TextStackTest, LastInFirstOut) {
  ResetTextStack();
  PushText("AB");
  PushText("");
  PushText(std::string("\0\x01\xFF", 3));
  EXPECT_EQ(PopText(), std::string("\0\x01\xFF", 3));
  EXPECT_EQ(PopText(), "");
  EXPECT_EQ(PopText(), "AB");
  EXPECT_EQ(PopText(), "");  // empty stack
  EXPECT_EQ(PopText(), "");
}

TEST(TextStackTest, LongItemsAreKeptTo32767Bytes) {
  ResetTextStack();
  PushText("below");
  PushText(std::string(40000, 'x'));
  EXPECT_EQ(PopText().size(), 32767u);
  EXPECT_EQ(PopText(), "below");
}

}  // namespace
}  // namespace qav
