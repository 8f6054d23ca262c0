#include "generation/GenerationSettings.h"

#include <gtest/gtest.h>

#include "GenerationTestSupport.h"

namespace lanzhou::generation {
namespace {

using testing::G;

TEST(PageSize, TheLeadingIntegerOrFifty) {
  const struct {
    std::string text;
    int size;
  } cases[] = {
      {"30abc", 30}, {"", 50},        {"abc", 50},          {"0", 50},
      {"-5", 50},    {"  25", 25},    {"+7", 7},            {G("１２"), 12},
      {G("　３"), 3}, {G("－３"), 50}, {"99999999999", INT32_MAX}, {"1 2", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(PageSizeFromText(c.text), c.size) << testing::U(c.text);
}

TEST(Defaults, TemplateOneHasItsTwentyOneLines) {
  const std::string t = DefaultTemplate1();
  EXPECT_EQ(std::count(t.begin(), t.end(), '\n'), 20);
  EXPECT_TRUE(t.starts_with("<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />\r\n"));
  EXPECT_TRUE(t.ends_with("</body>\r\n</html>"));
  EXPECT_NE(t.find("\" width=\"100%\" height=\"250\"frameborder=\"no\" border=\"0\" marginwidth=\"0\" "
                   "marginheight=\"0\"scrolling=\"no\"></iframe>\r\n"),
            std::string::npos);
  EXPECT_EQ(text::Count(t, G("<a href=\"#随机篇链接#\">#随机篇标题#</a><br>\r\n")), 5u);
  EXPECT_EQ(DefaultTemplate2(), G("<title>#本篇标题#</title>\r\n<body>\r\n#导入的文件内容#\r\n</body>"));
}

}  // namespace
}  // namespace lanzhou::generation
