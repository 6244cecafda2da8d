// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

#include "interchange/svg_scan.h"

namespace penmoji {

// The document rewritten so that the SVG module paints what a browser shows: a <use> of an
// element with display:none is left out; a <symbol> becomes a group inside <defs>, and each use
// of it places the group as the symbol's viewBox asks; clip paths, masks, markers and patterns
// become <defs>, so that their content is never painted in place. Everything else is written
// as it was read.
QByteArray mendSvg(const QByteArray& svg, const SvgScan& scan);

}  // namespace penmoji
