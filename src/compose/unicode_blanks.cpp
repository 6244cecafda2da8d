// SPDX-License-Identifier: MIT
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

const EntityBlank* blankAt(std::string_view text) {
    const auto found =
        std::find_if(std::begin(kBlanks), std::end(kBlanks),
                     [&](const EntityBlank& b) { return text.starts_with(b.entity); });
    return found == std::end(kBlanks) ? nullptr : found;
}

// Whether `text`, shorter than every entity it starts, may still become one.
bool mayBeginBlank(std::string_view text) {
    return std::any_of(std::begin(kBlanks), std::end(kBlanks), [&](const EntityBlank& b) {
        return text.size() < b.entity.size() && b.entity.starts_with(text);
    });
}

}  // namespace

void EntityBlankReplacer::feed(std::string_view piece, std::string& out) {
    held_.append(piece);
    std::string_view text = held_;
    out.reserve(out.size() + text.size());
    while (!text.empty()) {
        // Only an '&' can start an entity: the bytes up to the next one pass as they are.
        const std::size_t amp = text.find('&');
        out.append(text.substr(0, amp));
        if (amp == std::string_view::npos) {
            text = {};
            break;
        }
        text.remove_prefix(amp);
        if (const EntityBlank* blank = blankAt(text)) {
            out.append(blank->utf8);
            text.remove_prefix(blank->entity.size());
        } else if (mayBeginBlank(text)) {
            break;
        } else {
            out.push_back('&');
            text.remove_prefix(1);
        }
    }
    held_.erase(0, held_.size() - text.size());
}

void EntityBlankReplacer::finish(std::string& out) {
    out.append(held_);
    held_.clear();
}

std::string replaceEntityBlanks(std::string_view utf8) {
    std::string out;
    EntityBlankReplacer replacer;
    replacer.feed(utf8, out);
    replacer.finish(out);
    return out;
}

std::string unicodeBlanksAsEntities(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const auto blank =
            std::find_if(std::begin(kBlanks), std::end(kBlanks),
                         [&](const EntityBlank& b) { return utf8.starts_with(b.utf8); });
        if (blank != std::end(kBlanks)) {
            out.append(blank->entity);
            utf8.remove_prefix(blank->utf8.size());
        } else {
            out.push_back(utf8.front());
            utf8.remove_prefix(1);
        }
    }
    return out;
}

}  // namespace penmoji
