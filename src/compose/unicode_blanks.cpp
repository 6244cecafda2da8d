#include "compose/unicode_blanks.h"

#include <algorithm>

namespace penmoji {
namespace {

struct EntityBlank {
    std::string_view entity;
    std::string_view utf8;
};

constexpr EntityBlank kBlanks[] = {
    {"&nbsp;", "\xC2\xA0"},
    {"&ensp;", "\xE2\x80\x82"},
    {"&thinsp;", "\xE2\x80\x89"},
};

}  // namespace

std::string replaceEntityBlanks(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const auto blank =
            std::find_if(std::begin(kBlanks), std::end(kBlanks),
                         [&](const EntityBlank& b) { return utf8.starts_with(b.entity); });
        if (blank != std::end(kBlanks)) {
            out += blank->utf8;
            utf8.remove_prefix(blank->entity.size());
        } else {
            out += utf8.front();
            utf8.remove_prefix(1);
        }
    }
    return out;
}

}  // namespace penmoji
