#include "ui/UiText.h"

namespace lanzhou::ui {

QString ToQt(const platform::Codec& codec, std::string_view gbk) {
  const std::u16string units = codec.GbkToUtf16(gbk);
  return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
}

std::string ToGbk(const platform::Codec& codec, const QString& text) {
  return codec.Utf16ToGbk(
      std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size())));
}

QString CrLfToLf(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

QString LfToCrLf(const QString& text) {
  QString out = text;
  out.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return out;
}

}  // namespace lanzhou::ui
