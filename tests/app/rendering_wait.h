// SPDX-License-Identifier: MIT
#pragma once

#include <QTest>

#include "app/file_renderer.h"
#include "app/main_frame.h"

namespace penmoji {

// Renderings for files and copies end by signal: this waits for the one a command started.
inline bool renderingEnded(CMainFrame& frame) {
    return QTest::qWaitFor([&frame] { return !frame.fileRenderer().busy(); }, 120'000);
}

}  // namespace penmoji
