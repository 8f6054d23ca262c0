// The window's texts cross here: Qt holds UTF-16, the rest of the program code page 936 bytes.
// Both directions go through the program's codec, never through Qt's own (it has no GBK).
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "platform/Codec.h"

namespace lanzhou::ui {

QString ToQt(const platform::Codec& codec, std::string_view gbk);
std::string ToGbk(const platform::Codec& codec, const QString& text);

// An edit box holds LF line breaks; the rest of the program speaks CR LF. A lone CR also
// becomes a line break on the way in, as the box could not show it otherwise.
QString CrLfToLf(QString text);
QString LfToCrLf(const QString& text);

// A native path (the OS's bytes, UTF-8 here) for showing and for the clipboard.
inline QString NativeToQt(const std::string& native) { return QString::fromUtf8(native); }
inline std::string QtToNative(const QString& path) { return path.toUtf8().toStdString(); }

}  // namespace lanzhou::ui
