// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>

namespace penmoji {

// A picture as the grey levels tracing reads: transparent parts become white paper, since what
// is not there is no ink. Used alike by the editor and the renderer, so both trace a picture
// into the same lines.
QImage greyForTracing(const QImage& image);

}  // namespace penmoji
