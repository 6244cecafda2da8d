// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace penmoji {

// Replaces every entity blank of the renderer in UTF-8 text by the character it stands for:
// "&nbsp;" by U+00A0, "&ensp;" by U+2002 and "&thinsp;" by U+2009, for boards that take Unicode
// but show entities as they are. The widths stay those of the 16-pixel font. Every other byte
// passes unchanged. The text may come in pieces: an entity split between two pieces is still
// replaced, as the bytes that may begin one wait for the next piece.
class EntityBlankReplacer {
public:
    // Appends to `out` the replaced text of `piece`, but for a tail that may begin an entity.
    void feed(std::string_view piece, std::string& out);
    // Appends what was held back.
    void finish(std::string& out);

private:
    std::string held_;
};

// The whole text at once.
std::string replaceEntityBlanks(std::string_view utf8);

// The other way: U+00A0, U+2002 and U+2009 in UTF-8 text become the entity blanks, as text
// pasted from a page needs before it can be read as Shift_JIS text art.
std::string unicodeBlanksAsEntities(std::string_view utf8);

}  // namespace penmoji
