#pragma once

#include <cstdint>

namespace penmoji {

struct GridSettings {
    bool gridEnabled = false;
    std::int32_t gridSize = 8;  // pixels; the grid dialog keeps it at 8, 12 or 16
};

}  // namespace penmoji
