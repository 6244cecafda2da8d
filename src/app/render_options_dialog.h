// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include <QDialog>

#include "compose/render_settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace penmoji {

class UserInteraction;

// "レンダリングオプション": moves the render settings in and out of its controls and refuses
// text that is not a number. Clamping is the caller's business, after OK.
class CRenderOptionsDialog : public QDialog {
    Q_OBJECT
public:
    CRenderOptionsDialog(UserInteraction& interaction, QWidget* parent);

    // The values the controls show on opening and hold after OK; flags are 0 or 1.
    float threshold = 0.0f;
    float priorityFactor = 0.0f;
    int useDots = 0;
    int noEntities = 0;
    int strictHalfSpaces = 0;
    int underscoreRuns = 0;
    std::int32_t scanUnit = 0;
    int fine = 0;
    // An index into boardProfiles(); not a render setting, so not in loadFrom/storedSettings.
    int boardProfile = 0;

    void loadFrom(const RenderSettings& settings);
    // The values as read, not yet clamped.
    RenderSettings storedSettings() const;

    // Reads every field back in exchange order; the first refused field keeps the dialog open.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillControls();
    void refuse(QLineEdit& field, const char* message);

    UserInteraction& interaction_;
    QCheckBox* noEntitiesBox_;
    QCheckBox* useDotsBox_;
    QCheckBox* underscoreRunsBox_;
    QCheckBox* strictHalfSpacesBox_;
    QLineEdit* scanUnitEdit_;
    QLineEdit* priorityEdit_;
    QLineEdit* thresholdEdit_;
    QCheckBox* fineBox_;
    QComboBox* boardBox_;
};

}  // namespace penmoji
