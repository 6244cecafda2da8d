#pragma once

#include <QString>

#include "document/file_status.h"

namespace penmoji {

// A message box text for a file that could not be read or written: the command's own headline,
// then on a second line what went wrong, in words for the user and the precise reason after.
QString fileFailureText(const char* headline, const FileStatus& status);

}  // namespace penmoji
