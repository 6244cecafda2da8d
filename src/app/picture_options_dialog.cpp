// SPDX-License-Identifier: MIT
#include "app/picture_options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>

#include "interchange/art_picture.h"

namespace penmoji {

CPictureOptionsDialog::CPictureOptionsDialog(QWidget* parent)
    : QDialog(parent),
      pitchBox_(new QComboBox(this)),
      scaleBox_(new QComboBox(this)),
      transparentBox_(
          new QCheckBox(QCoreApplication::translate("Penmoji", "背景を透明にする"), this)),
      drawingBox_(
          new QCheckBox(QCoreApplication::translate("Penmoji", "下に線画を薄く描く"), this)) {
    setWindowTitle(QCoreApplication::translate("Penmoji", "画像の設定"));
    pitchBox_->setObjectName(QStringLiteral("linePitch"));
    pitchBox_->addItem(QCoreApplication::translate("Penmoji", "18 ピクセル (掲示板の表示)"),
                       kBoardLinePitch);
    pitchBox_->addItem(QCoreApplication::translate("Penmoji", "16 ピクセル (キャンバスの行)"),
                       kCanvasLinePitch);
    scaleBox_->setObjectName(QStringLiteral("scale"));
    scaleBox_->addItem(QCoreApplication::translate("Penmoji", "1×"), 1);
    scaleBox_->addItem(QCoreApplication::translate("Penmoji", "2×"), 2);
    transparentBox_->setObjectName(QStringLiteral("transparent"));
    drawingBox_->setObjectName(QStringLiteral("withDrawing"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QFormLayout(this);
    layout->addRow(QCoreApplication::translate("Penmoji", "行の間隔"), pitchBox_);
    layout->addRow(QCoreApplication::translate("Penmoji", "大きさ"), scaleBox_);
    layout->addRow(transparentBox_);
    layout->addRow(drawingBox_);
    layout->addRow(buttons);
}

void CPictureOptionsDialog::loadFrom(const ArtPictureOptions& options) {
    pitchBox_->setCurrentIndex(std::max(0, pitchBox_->findData(options.linePitch)));
    scaleBox_->setCurrentIndex(std::max(0, scaleBox_->findData(options.scale)));
    transparentBox_->setChecked(options.transparent);
    drawingBox_->setChecked(options.drawing != nullptr);
}

void CPictureOptionsDialog::storeInto(ArtPictureOptions& options) const {
    options.linePitch = pitchBox_->currentData().toInt();
    options.scale = scaleBox_->currentData().toInt();
    options.transparent = transparentBox_->isChecked();
}

bool CPictureOptionsDialog::withDrawing() const {
    return drawingBox_->isChecked();
}

}  // namespace penmoji
