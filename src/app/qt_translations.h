// SPDX-License-Identifier: MIT
#pragma once

class QCoreApplication;

namespace penmoji {

// Makes Qt's own texts (the buttons of message boxes, the file dialogs, their overwrite prompts)
// Japanese like the program's. Returns whether Qt's Japanese translations were found.
bool installQtTranslations(QCoreApplication& application);

}  // namespace penmoji
