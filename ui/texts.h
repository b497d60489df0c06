#pragma once
// The texts of the "Hjälp" and "Om" messages, and how a message text built with
// tabs and CR LF line ends is shown in a message box.
#include <string>

namespace karvelo {

// Four lines, the second empty, each ending in a tab and CR LF.
std::string HelpText();
// The program name and version indented by 16 spaces, then the credit lines; every
// line ends in a tab and CR LF, with an empty line of that form between lines.
std::string AboutText();

// The same lines for a message box: CR LF (or a lone CR) becomes a line feed and
// the tabs that stand directly before a line end or at the very end, which show
// nothing, are dropped.
std::string DisplayText(const std::string& text);

}  // namespace karvelo
