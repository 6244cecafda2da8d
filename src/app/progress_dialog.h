// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include <QDialog>

class QProgressBar;

namespace penmoji {

// "少々お待ちを・・・": shows how far a rendering has come, with a Cancel button (Escape too)
// that emits cancelled(). It has no close box. While it is shown, the window it belongs to takes
// no input.
class CProgressDialog : public QDialog {
    Q_OBJECT
public:
    // `owner` is the main frame: the dialog opens at the top left of its client area.
    explicit CProgressDialog(QWidget* owner);

    void reportProgress(qint64 position, qint64 total);

    QProgressBar& bar() { return *bar_; }

signals:
    // The user asked to stop the rendering (the button, or Escape).
    void cancelled();

private:
    QProgressBar* bar_;
};

}  // namespace penmoji
