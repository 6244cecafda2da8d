// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include <QString>

#include "document/file_status.h"

namespace penmoji {

// A message box text for a file that could not be read or written: the command's own headline,
// then on a second line what went wrong, in words for the user and the precise reason after.
QString fileFailureText(const char* headline, const FileStatus& status);

// The precise reason of a failure, which the core and the readers give in English ("record 0
// has point count 900 (allowed 0 to 200)"), in Japanese for the editor's messages. A reason of
// an unknown form is passed on as it is, so that nothing is lost.
QString japaneseReason(const std::string& reason);

}  // namespace penmoji
