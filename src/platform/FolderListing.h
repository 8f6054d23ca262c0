// The files of one folder that match a wildcard, in the order a user of the original platform
// sees them.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Codec.h"
#include "platform/FileSystem.h"

namespace lanzhou::platform {

// Wildcard matching as the desktop's file search does it: "*" any run of characters, "?" any
// one character, letters without regard to case; a name without a "." also matches as if it
// ended in one, so "*.*" and "*." take names without an extension.
//   WildcardMatch(u"*.TXT", u"a.txt") -> true, WildcardMatch(u"*.*", u"README") -> true
bool WildcardMatch(std::u16string_view pattern, std::u16string_view name);

// The full paths (OS bytes) of the entries of `folder` that are not folders and whose names
// match `wildcardGbk`, "." and ".." never among them. This OS lists a folder in no useful
// order, so they come sorted as the original platform's file system lists them: by UTF-16
// units after upper-casing each. `afterEachEntry` runs after each entry is looked at.
std::vector<std::string> ListFolder(FileSystem& files, const Codec& codec,
                                    const std::string& folder, std::string_view wildcardGbk,
                                    const std::function<void()>& afterEachEntry = {});

}  // namespace lanzhou::platform
