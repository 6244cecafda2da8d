// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

#include <QDialog>

#include "edit/grid_settings.h"

class QCheckBox;
class QLineEdit;

namespace penmoji {

class UserInteraction;

// "グリッド！": switches snapping and the grid lines on or off; the size stays.
void toggleGrid(GridSettings& grid);

// The settings a confirmed dialog stands for: the grid only comes in 8, 12 and 16 pixels, any
// other size becomes 8.
GridSettings gridSettingsFrom(bool enabled, std::int32_t size);

// "グリッドの設定": the grid switch and size, moved into the controls when the dialog opens
// and read back on OK. Text in the size field that is no integer is refused and the dialog
// stays open on it.
class CGridDialog : public QDialog {
    Q_OBJECT
public:
    CGridDialog(UserInteraction& interaction, QWidget* parent);

    // The values the controls show on opening and hold after OK; `enabled` is 0 or 1.
    int enabled = 0;
    std::int32_t size = 0;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    UserInteraction& interaction_;
    QCheckBox* enabledBox_;
    QLineEdit* sizeEdit_;
};

// "グリッド設定": runs the dialog through `interaction`. The new settings when the user
// pressed OK; nothing when the dialog was cancelled or closed, and the caller then changes
// (and repaints) nothing.
std::optional<GridSettings> editGridSettings(const GridSettings& current,
                                             UserInteraction& interaction, QWidget* parent);

}  // namespace penmoji
