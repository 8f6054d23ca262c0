#include "ui/ShellActions.h"

#include <algorithm>
#include <cctype>

namespace lanzhou::ui {

FileManagerCommand OpenInFileManager(std::string_view path, bool newWindow, bool openTarget,
                                     bool asRoot) {
  std::string target(path);
  if (asRoot) {
    // By characters, not bytes: 0x5C can be the second byte of a GBK character, and a cut
    // there would leave half a character at the end of the folder.
    std::size_t lastSlash = std::string::npos;
    for (std::size_t i = 0; i < target.size();) {
      const auto b = static_cast<unsigned char>(target[i]);
      if (b == '\\') lastSlash = i;
      i += (b >= 0x81 && i + 1 < target.size()) ? 2 : 1;
    }
    if (lastSlash != std::string::npos) target.resize(lastSlash);
  }
  if (openTarget && target.size() >= 4) {
    std::string tail = target.substr(target.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (tail == ".exe") return {true, target};
  }
  std::string line = "explorer ";
  line += newWindow ? "/n" : "/e";
  line += ',';
  if (!openTarget && !asRoot) line += "/select,";
  if (asRoot) line += "/root,";
  line += '"';
  line += target;
  line += '"';
  return {false, line};
}

int ClampShowMode(int showMode) { return std::clamp(showMode, 1, 6); }

}  // namespace lanzhou::ui
