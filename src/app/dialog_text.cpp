// SPDX-License-Identifier: MIT
#include "app/dialog_text.h"

#include "compose/setting_text.h"

namespace penmoji {

std::optional<double> readDialogReal(const QString& fieldText) {
    return parseSettingReal(fieldText.left(kDialogFieldLength).toStdString());
}

std::optional<std::int32_t> readDialogInteger(const QString& fieldText) {
    return parseSettingInteger(fieldText.left(kDialogFieldLength).toStdString());
}

QString formatDialogReal(double value) {
    return QString::asprintf("%.*g", 6, value);
}

}  // namespace penmoji
