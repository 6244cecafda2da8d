// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

namespace penmoji {

// "Penmojiのﾊﾞｰｼﾞｮﾝ情報": the icon, the title and the copyright line.
class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget* parent);
};

}  // namespace penmoji
