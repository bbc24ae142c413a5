// Texts reach the library as bytes: project files keep names in the authoring system's
// code page. For display, valid UTF-8 is taken as it is and anything else as Windows-1252.
#pragma once

#include <string>
#include <string_view>

namespace platform {

bool IsValidUtf8(std::string_view bytes);

// Windows-1252 bytes as UTF-8. The five bytes the code page leaves undefined become U+FFFD.
std::string Windows1252ToUtf8(std::string_view bytes);

// bytes with every sequence that is not UTF-8 replaced by U+FFFD, one per bad byte, and
// control characters by spaces: what legible text shows.
std::string ReplaceInvalidUtf8(std::string_view bytes);

// The UTF-8 text to show for `bytes`: as it is when valid UTF-8, else read as Windows-1252.
// Control characters become spaces, since a line has no use for them; the entities &amp;,
// &lt;, &gt;, &quot; and &apos; become their characters.
std::string DisplayText(std::string_view bytes);

}  // namespace platform
