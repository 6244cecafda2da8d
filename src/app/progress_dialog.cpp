// SPDX-License-Identifier: MIT
#include "app/progress_dialog.h"

#include <algorithm>
#include <limits>

#include <QCoreApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>

#include "app/dialog_units.h"

namespace penmoji {

CProgressDialog::CProgressDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      bar_(new QProgressBar(this)) {
    setWindowTitle(QCoreApplication::translate("Penmoji", "少々お待ちを・・・"));
    // The rendering's result belongs to the drawing as it was when it started: nothing else
    // may be done in the window meanwhile but cancelling it.
    setWindowModality(Qt::WindowModal);
    bar_->setObjectName(QStringLiteral("progress"));
    bar_->setTextVisible(false);
    bar_->setRange(0, 1);
    bar_->setValue(0);
    const DialogUnits units(fontMetrics());
    bar_->setGeometry(units.rect(5, 5, 175, 16));
    auto* cancel = new QPushButton(QCoreApplication::translate("Penmoji", "キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setGeometry(units.rect(68, 25, 50, 14));
    cancel->setDefault(true);
    // Escape ends a dialog with reject(); so does the button.
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, &CProgressDialog::cancelled);
    setFixedSize(units.size(187, 44));
    if (owner != nullptr) {
        const auto* frame = qobject_cast<QMainWindow*>(owner);
        const int clientTop =
            frame != nullptr && frame->menuBar() != nullptr ? frame->menuBar()->height() : 0;
        move(owner->mapToGlobal(QPoint(0, clientTop)));
    }
}

void CProgressDialog::reportProgress(qint64 position, qint64 total) {
    // The bar holds 32-bit values. Totals that fit are shown as they are; larger ones are
    // halved, with their position, until they fit.
    constexpr std::int64_t kLargest = std::numeric_limits<int>::max();
    int shift = 0;
    while ((total >> shift) > kLargest) {
        ++shift;
    }
    const int high = std::max(1, static_cast<int>(total >> shift));
    const int value = static_cast<int>(std::clamp<std::int64_t>(position >> shift, 0, high));
    if (bar_->maximum() != high) {
        bar_->setRange(0, high);
    }
    if (bar_->value() != value) {
        bar_->setValue(value);
    }
}

}  // namespace penmoji
