// Texts of a project as people wrote them: character entities decoded for display, while
// the stored bytes stay as they are.
#pragma once

#include <string>
#include <string_view>

namespace guide {

// &amp; &lt; &gt; &quot; &apos; &nbsp; and numeric references (&#233; &#xE9;) become the
// characters they stand for, in UTF-8; a reference to no character (0, a surrogate, past
// U+10FFFF) becomes U+FFFD; anything else, unknown names included, stays as written. Other
// bytes pass unchanged (the text path shows invalid UTF-8 as U+FFFD).
std::string DecodeEntities(std::string_view text);

// The text to show for a stored name: decoded, with the spaces at both ends removed; empty
// for a text of spaces only.
std::string ShownName(std::string_view stored);

}  // namespace guide
