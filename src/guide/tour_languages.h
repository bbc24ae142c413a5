// The languages a tour offers besides its own: ISO 639-1 codes found in the names of its
// catalogues (<project stem>.LL.po) and media siblings (NAME.LL.EXT beside NAME.EXT).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lang {

// Two lower-case ASCII letters.
bool IsLanguageCode(std::string_view code);

// The code of a sibling's file name: "item01.de.mp4" beside "item01.mp4" gives "de"; any
// other name (another stem or extension, a code that is not two letters) gives "".
std::string SiblingLanguage(std::string_view baseName, std::string_view name);

// The sibling's name for a language: "video/item01.mp4", "de" gives "video/item01.de.mp4".
// A name without an extension gets ".de" appended.
std::string SiblingName(std::string_view storedName, std::string_view code);

// Every language code among the entries of folder that are siblings of one of names (file
// names without folder), sorted, each once.
std::vector<std::string> SiblingLanguagesIn(const std::string& folder,
                                            const std::vector<std::string>& names);

}  // namespace lang
