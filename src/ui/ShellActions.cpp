#include "ui/ShellActions.h"

#include <algorithm>

#include "text/Gbk.h"

namespace lanzhou::ui {

FileManagerCommand OpenInFileManager(std::string_view path, bool newWindow, bool openTarget,
                                     bool asRoot) {
  std::string target(path);
  if (asRoot) {
    // By characters, not bytes: 0x5C can be the second byte of a GBK character, and a cut
    // there would leave half a character at the end of the folder.
    const std::size_t lastSlash = text::FindLast(target, "\\", target.size());
    if (lastSlash != text::npos) target.resize(lastSlash);
  }
  if (openTarget && target.size() >= 4 &&
      text::EqualsFoldAscii(std::string_view(target).substr(target.size() - 4), ".exe")) {
    return {true, target};
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
