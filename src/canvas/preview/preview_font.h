#pragma once

#include <QFont>

namespace penmoji {

// The proportional font the text art is made for, at a character height of 16 pixels. Where
// that face is not installed, a metric-compatible one stands in for it.
QFont previewFont();

}  // namespace penmoji
