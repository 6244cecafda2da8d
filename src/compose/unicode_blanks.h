#pragma once

#include <string>
#include <string_view>

namespace penmoji {

// The UTF-8 text with every entity blank of the renderer replaced by the character it stands
// for: "&nbsp;" by U+00A0, "&ensp;" by U+2002 and "&thinsp;" by U+2009, for boards that take
// Unicode but show entities as they are. The widths stay those of the 16-pixel font. Every other
// byte passes unchanged.
std::string replaceEntityBlanks(std::string_view utf8);

}  // namespace penmoji
