#include "generation/GenerationSettings.h"

#include <climits>

#include "text/GbkLiterals.h"

namespace lanzhou::generation {

std::string FullWidthToAscii(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size());
  for (std::size_t i = 0; i < gbk.size(); ++i) {
    const auto b = static_cast<unsigned char>(gbk[i]);
    if (b >= 0x80 && i + 1 < gbk.size()) {
      const auto t = static_cast<unsigned char>(gbk[i + 1]);
      if (b == 0xA3 && t >= 0xA1 && t <= 0xFE) {
        out.push_back(static_cast<char>(t - 0x80));  // A3 A1 is "!", A3 B0 is "0", ...
      } else if (b == 0xA1 && t == 0xA1) {
        out.push_back(' ');
      } else {
        out.push_back(gbk[i]);
        out.push_back(gbk[i + 1]);
      }
      ++i;
      continue;
    }
    out.push_back(gbk[i]);
  }
  return out;
}

int PageSizeFromText(std::string_view gbk) {
  const std::string s = FullWidthToAscii(gbk);
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  long long value = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    value = value * 10 + (s[i] - '0');
    if (value > INT_MAX) value = INT_MAX;  // saturate as the C library does
  }
  if (negative) value = -value;
  return value < 1 ? 50 : static_cast<int>(value);
}

int GenerationSettings::pageSize() const { return PageSizeFromText(pageSizeText()); }

std::string DefaultTemplate1() {
  using namespace lanzhou::text;
  const std::string_view random = kTemplate1Random;
  std::string t;
  for (std::string_view line : {
           std::string_view("<html>"),
           std::string_view("<head>"),
           std::string_view(
               "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />"),
           kTemplate1Title,
           std::string_view("</head>"),
           std::string_view("<body>"),
           // A neutral page: the default must not advertise anything.
           std::string_view("<iframe src=\"about:blank\" width=\"100%\" height=\"250\"frameborder="
                            "\"no\" border=\"0\" marginwidth=\"0\" marginheight=\"0\"scrolling="
                            "\"no\"></iframe>"),
           kTemplate1Nav,
           kTemplate1Article,
           std::string_view("<hr>"),
           kTemplate1Previous,
           kTemplate1Next,
           std::string_view("<hr>"),
           kTemplate1More,
           random, random, random, random, random,
           std::string_view("</body>"),
       }) {
    t.append(line);
    t.append("\r\n");
  }
  t.append("</html>");
  return t;
}

std::string DefaultTemplate2() { return std::string(text::kTemplate2); }

}  // namespace lanzhou::generation
