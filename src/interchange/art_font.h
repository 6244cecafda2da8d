// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>

namespace penmoji {

// The proportional font the text art is made for, at a character height of 16 pixels. Where
// that face is not installed, a metric-compatible one (Mona) stands in for it. The preview, the
// canvas's text art and the exported pictures all draw with it.
QFont artFont();

// The same font drawn without anti-aliasing, as boards show it.
QFont crispArtFont();

}  // namespace penmoji
