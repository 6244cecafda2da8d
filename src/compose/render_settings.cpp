// SPDX-License-Identifier: MIT
#include "compose/render_settings.h"

namespace penmoji {

RenderSettings clampSettings(RenderSettings settings) {
    static_cast<MatchSettings&>(settings) = clampMatchSettings(settings);
    return settings;
}

}  // namespace penmoji
