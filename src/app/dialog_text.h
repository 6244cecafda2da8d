// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

#include <QString>

namespace penmoji {

// The edit fields of the dialogs read at most this many characters.
inline constexpr int kDialogFieldLength = 31;

// A setting's number (compose/setting_text.h) from the first kDialogFieldLength characters
// of a field's text.
std::optional<double> readDialogReal(const QString& fieldText);
std::optional<std::int32_t> readDialogInteger(const QString& fieldText);

// A real in the shortest form of at most 6 significant digits ("0.85", "1", "1e+06").
QString formatDialogReal(double value);

}  // namespace penmoji
