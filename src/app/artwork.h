// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QPixmap>

namespace penmoji {

// The program's pictures, drawn here rather than shipped as files.

// The window and about-box icon, at 16, 32 and 48 pixels.
QIcon applicationIcon();

// The 48 x 32 toolbar image of a command: new vector, delete selected, undo, redo, render as,
// re-render, fine matching or about. A null pixmap for any other command.
QPixmap toolbarImage(int commandId);

}  // namespace penmoji
