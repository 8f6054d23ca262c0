// The project's own web addresses, behind the banner pictures and link labels. Kept here, and
// only here, so a move of the site is one edit.
#pragma once

namespace lanzhou::ui::links {

inline constexpr char kHomePage[] = "https://lanzhou.example.org/";
inline constexpr char kReleasePage[] = "https://lanzhou.example.org/releases/";
inline constexpr char kSoftwareList[] = "https://lanzhou.example.org/software/";
inline constexpr char kContact[] = "https://lanzhou.example.org/contact/";

}  // namespace lanzhou::ui::links
