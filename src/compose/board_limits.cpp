// SPDX-License-Identifier: MIT
#include "compose/board_limits.h"

#include <algorithm>
#include <cctype>

namespace penmoji {
namespace {

// The figures are those boards publish for their posting form; the first limited profile is
// what one widely used board software ships as its default.
constexpr BoardProfile kProfiles[] = {
    {"none", "制限なし", 0, 0, 0},
    {"standard", "標準 (2048 バイト, 24 行, 1 行 256 バイト)", 2048, 24, 256},
    {"long", "長文可 (4096 バイト, 60 行, 1 行 512 バイト)", 4096, 60, 512},
    {"large", "大きな AA 向け (8192 バイト, 100 行, 1 行 1024 バイト)", 8192, 100, 1024},
};

constexpr int kLineBreakBytes = 2;

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// A row of the text: its bytes without the line break, and where the next row starts.
struct Row {
    std::string_view bytes;
    std::size_t next = 0;
    bool hasBreak = false;
};

Row rowAt(std::string_view text, std::size_t start) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
        return {text.substr(start), text.size(), false};
    }
    std::size_t next = end + 1;
    if (text[end] == '\r' && next < text.size() && text[next] == '\n') {
        ++next;
    }
    return {text.substr(start, end - start), next, true};
}

std::string_view withoutNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

// Calls `visit(row)` for every row of the text.
template <typename Visit>
void forEachRow(std::string_view text, Visit visit) {
    for (std::size_t start = 0; start < text.size();) {
        const Row row = rowAt(text, start);
        visit(row);
        start = row.next;
    }
}

int rowBytes(const Row& row) {
    return static_cast<int>(row.bytes.size()) + (row.hasBreak ? kLineBreakBytes : 0);
}

bool over(int value, int limit) {
    return limit > 0 && value > limit;
}

std::string figure(int value, std::string_view unit, int limit) {
    std::string text = std::to_string(value) + " " + std::string(unit);
    if (limit > 0) {
        text += " (limit " + std::to_string(limit) + ")";
    }
    return text;
}

}  // namespace

std::span<const BoardProfile> boardProfiles() {
    return kProfiles;
}

const BoardProfile* findBoardProfile(std::string_view name) {
    const auto found = std::find_if(std::begin(kProfiles), std::end(kProfiles),
                                    [&](const BoardProfile& p) { return sameName(p.name, name); });
    return found == std::end(kProfiles) ? nullptr : found;
}

const BoardProfile& unlimitedBoardProfile() {
    return kProfiles[0];
}

BoardFigures measureBoardFigures(std::string_view text) {
    BoardFigures figures;
    forEachRow(withoutNul(text), [&](const Row& row) {
        ++figures.lines;
        figures.bytes += rowBytes(row);
        const int bytes = static_cast<int>(row.bytes.size());
        if (bytes > figures.longestLineBytes || figures.longestLine == 0) {
            figures.longestLineBytes = bytes;
            figures.longestLine = figures.lines;
        }
    });
    return figures;
}

BoardCheck checkBoardLimits(std::string_view text, const BoardProfile& profile) {
    BoardCheck check{measureBoardFigures(text), {}};
    if (over(check.figures.bytes, profile.maxBytes)) {
        check.exceeded.push_back(BoardLimit::Bytes);
    }
    if (over(check.figures.lines, profile.maxLines)) {
        check.exceeded.push_back(BoardLimit::Lines);
    }
    if (over(check.figures.longestLineBytes, profile.maxLineBytes)) {
        check.exceeded.push_back(BoardLimit::LineBytes);
    }
    return check;
}

std::string describeBoardCheck(const BoardCheck& check, const BoardProfile& profile) {
    const BoardFigures& f = check.figures;
    std::string text = figure(f.bytes, "bytes", profile.maxBytes) + ", " +
                       figure(f.lines, "lines", profile.maxLines) + ", longest line " +
                       figure(f.longestLineBytes, "bytes", profile.maxLineBytes);
    if (f.longestLine > 0) {
        text += " (line " + std::to_string(f.longestLine) + ")";
    }
    return text;
}

PageSplit splitIntoPages(std::string_view text, const BoardProfile& profile) {
    PageSplit split;
    std::string page;
    int pageBytes = 0;
    int pageLines = 0;
    int rowNumber = 0;
    auto closePage = [&] {
        if (pageLines > 0) {
            split.pages.push_back(std::move(page));
        }
        page.clear();
        pageBytes = 0;
        pageLines = 0;
    };
    forEachRow(withoutNul(text), [&](const Row& row) {
        ++rowNumber;
        const int bytes = rowBytes(row);
        const bool alone = over(bytes, profile.maxBytes) || over(1, profile.maxLines) ||
                           over(static_cast<int>(row.bytes.size()), profile.maxLineBytes);
        if (alone) {
            split.oversizedRows.push_back(rowNumber);
        }
        if (alone || over(pageBytes + bytes, profile.maxBytes) ||
            over(pageLines + 1, profile.maxLines)) {
            closePage();
        }
        const std::size_t start = static_cast<std::size_t>(row.bytes.data() - text.data());
        page.append(text.substr(start, row.next - start));
        pageBytes += bytes;
        ++pageLines;
        if (alone) {
            closePage();
        }
    });
    closePage();
    return split;
}

}  // namespace penmoji
