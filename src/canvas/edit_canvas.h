#pragma once

#include <QFrame>

#include "app/command_target.h"
#include "app/preview/preview_window.h"

namespace penmoji {

struct AppState;

// The frame's client window: paints the drawing and edits it with the mouse. It sees every
// command first and handles new vector and guide lines.
// (Placeholder; the canvas work fills it in.)
class CEditCanvas : public QFrame, public CommandTarget {
    Q_OBJECT
public:
    explicit CEditCanvas(AppState& state, QWidget* parent = nullptr);

    CPreviewWindow& preview() { return preview_; }

    bool handlesCommand(int id) const override;
    void executeCommand(int id) override;
    CommandState commandState(int id) const override;

private:
    AppState& state_;
    CPreviewWindow preview_;
};

}  // namespace penmoji
