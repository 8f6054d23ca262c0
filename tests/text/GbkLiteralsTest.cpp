#include "text/GbkLiterals.h"

#include <gtest/gtest.h>

#include "platform/Codec.h"

namespace lanzhou::text {
namespace {

struct LiteralRow {
  const char* name;
  std::string_view gbk;
  std::string_view utf8;
};

const LiteralRow kRows[] = {
#include "GbkLiteralsTable.inc"
};

// Guards the hand-off between the generator and the compiler: a hex escape that swallowed a
// digit, or a table out of date, shows up as a text that decodes to something else.
TEST(GbkLiterals, EveryLiteralDecodesToItsText) {
  platform::Codec codec;
  ASSERT_TRUE(codec.Ready());
  for (const auto& row : kRows) {
    EXPECT_EQ(codec.GbkToUtf8(row.gbk), row.utf8) << row.name;
    EXPECT_EQ(codec.Utf8ToGbk(row.utf8), row.gbk) << row.name;
  }
}

}  // namespace
}  // namespace lanzhou::text
