// SPDX-License-Identifier: MIT
#include "app/grid_commands.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "app/app_texts.h"
#include "app/dialog_text.h"
#include "app/dialog_units.h"
#include "app/user_interaction.h"
#include "interchange/art_font.h"

namespace penmoji {

void toggleGrid(GridSettings& grid) {
    grid.gridEnabled = !grid.gridEnabled;
}

GridSettings gridSettingsFrom(bool enabled, std::int32_t size) {
    const bool offered = size == 8 || size == 12 || size == 16;
    return {enabled, offered ? size : 8};
}

CGridDialog::CGridDialog(UserInteraction& interaction, QWidget* parent)
    : QDialog(parent), interaction_(interaction) {
    QFont dialogFont = artFont();
    dialogFont.setPointSize(9);
    setFont(dialogFont);
    setWindowTitle(QCoreApplication::translate("Penmoji", "グリッドの設定"));
    // Created in tab order.
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QCoreApplication::translate("Penmoji", "ｷｬﾝｾﾙ"), this);
    sizeEdit_ = new QLineEdit(this);
    sizeEdit_->setObjectName(QStringLiteral("size"));
    enabledBox_ = new QCheckBox(QCoreApplication::translate("Penmoji", "有効"), this);
    enabledBox_->setObjectName(QStringLiteral("enabled"));
    auto* note = new QLabel(QCoreApplication::translate("Penmoji", "値は8か12か16だけ！"), this);
    note->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    const DialogUnits units(fontMetrics());
    placeWidget(*ok, units.rect(130, 7, 50, 14));
    placeWidget(*cancel, units.rect(130, 24, 50, 14));
    sizeEdit_->setGeometry(units.rect(40, 35, 40, 14));
    placeWidget(*enabledBox_, units.rect(21, 10, 31, 10));
    placeWidget(*note, units.rect(25, 55, 125, 15));
    const QSize templateSize = units.size(187, 93);
    const QRect used = childrenRect();
    setFixedSize(std::max(templateSize.width(), used.right() + units.x(7)),
                 std::max(templateSize.height(), used.bottom() + units.y(7)));
}

void CGridDialog::showEvent(QShowEvent* event) {
    // A window restored from the task bar is shown again; only an opening fills the controls.
    if (!event->spontaneous()) {
        enabledBox_->setChecked(enabled != 0);
        sizeEdit_->setText(QString::number(size));
    }
    QDialog::showEvent(event);
}

void CGridDialog::accept() {
    const std::optional<std::int32_t> newSize = readDialogInteger(sizeEdit_->text());
    if (!newSize) {
        interaction_.showMessage(this, QString::fromUtf8(text::kEnterInteger));
        sizeEdit_->setFocus(Qt::OtherFocusReason);
        sizeEdit_->selectAll();
        return;
    }
    enabled = enabledBox_->isChecked() ? 1 : 0;
    size = *newSize;
    QDialog::accept();
}

std::optional<GridSettings> editGridSettings(const GridSettings& current,
                                             UserInteraction& interaction, QWidget* parent) {
    CGridDialog dialog(interaction, parent);
    dialog.enabled = current.gridEnabled ? 1 : 0;
    dialog.size = current.gridSize;
    if (interaction.runDialog(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return gridSettingsFrom(dialog.enabled != 0, dialog.size);
}

}  // namespace penmoji
