// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;

namespace penmoji {

struct ArtPictureOptions;

// "画像の設定": how the art is painted into a picture (line pitch, size, background, the
// drawing underneath).
class CPictureOptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit CPictureOptionsDialog(QWidget* parent);

    void loadFrom(const ArtPictureOptions& options);
    // Everything but the drawing, which the caller sets when `withDrawing()`.
    void storeInto(ArtPictureOptions& options) const;
    bool withDrawing() const;

private:
    QComboBox* pitchBox_;
    QComboBox* scaleBox_;
    QCheckBox* transparentBox_;
    QCheckBox* drawingBox_;
};

}  // namespace penmoji
