// Handing a folder or an address to the desktop's own programs.
//
// FileManagerCommand builds the command line that shows a path in the Windows file manager, for
// a Windows build and as the record of what each option means; this desktop opens folders
// through QtDesktop::OpenFolder instead.
//   FileManagerCommand("C:\\out\\", true, true, false).commandLine -> explorer /n,"C:\out\"
#pragma once

#include <string>
#include <string_view>

namespace lanzhou::ui {

struct FileManagerCommand {
  // True when the path names a program (openTarget and ".exe" in any case): it is started
  // itself, and commandLine is the path.
  bool startsProgram = false;
  std::string commandLine;
};

// newWindow: "/n" (a new window) rather than "/e"; openTarget: open the path itself rather than
// its folder with the path selected; asRoot: cut the path at its last backslash and show that
// folder as the root. The path goes between double quotes unchanged, a trailing backslash too.
FileManagerCommand OpenInFileManager(std::string_view path, bool newWindow, bool openTarget,
                                     bool asRoot);

// The window-show mode a start takes: 1 hidden ... 6 minimised; outside that range, the nearest.
int ClampShowMode(int showMode);

}  // namespace lanzhou::ui
