// SPDX-License-Identifier: MIT
#include "app/about_dialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include "app/app_texts.h"
#include "app/artwork.h"
#include "app/dialog_units.h"

namespace penmoji {

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QCoreApplication::translate("Penmoji", "Penmojiのﾊﾞｰｼﾞｮﾝ情報"));
    const DialogUnits units(fontMetrics());

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(applicationIcon().pixmap(32, 32));
    icon->setGeometry(units.x(11), units.y(17), 32, 32);

    auto* title = new QLabel(QString::fromUtf8(text::kAppTitle), this);
    title->setObjectName(QStringLiteral("title"));
    title->setTextFormat(Qt::PlainText);
    placeWidget(*title, units.rect(40, 10, 119, 8));

    auto* copyright = new QLabel(QStringLiteral("Copyright (C) 2026 The Penmoji developers"), this);
    copyright->setObjectName(QStringLiteral("copyright"));
    copyright->setTextFormat(Qt::PlainText);
    placeWidget(*copyright, units.rect(40, 25, 119, 8));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    QRect okRect = units.rect(178, 7, 50, 14);
    okRect.moveLeft(
        std::max(okRect.left(),
                 std::max(title->geometry().right(), copyright->geometry().right()) + units.x(8)));
    placeWidget(*ok, okRect);

    const QSize templateSize = units.size(235, 55);
    setFixedSize(std::max(templateSize.width(), childrenRect().right() + units.x(7)),
                 std::max(templateSize.height(), childrenRect().bottom() + units.y(7)));
}

}  // namespace penmoji
