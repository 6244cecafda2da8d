#pragma once

#include <QFont>

namespace penmoji {

// The 16-pixel proportional font the art is laid out for, as the preview asks for it (Mona
// stands in where that face is missing), drawn without anti-aliasing as boards show it.
QFont artFont();

}  // namespace penmoji
