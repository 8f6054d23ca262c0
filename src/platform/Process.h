// Starting other programs: the file manager for a folder, a clipboard tool for a text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lanzhou::platform {

// Starts `argv` (searched on PATH) without waiting for it; false when it could not start.
bool StartDetached(const std::vector<std::string>& argv);

// Runs `argv`, feeds `input` to its standard input and waits; true when it exited with 0.
bool RunWithInput(const std::vector<std::string>& argv, std::string_view input);

// Opens a folder (OS path) in the desktop's file manager.
bool OpenInFileManager(const std::string& folder);

// Puts UTF-8 text on the desktop clipboard through the first clipboard tool found.
bool CopyToDesktopClipboard(std::string_view utf8);

}  // namespace lanzhou::platform
