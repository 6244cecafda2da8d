#include "canvas/edit_canvas.h"

#include "app/app_state.h"
#include "app/command_ids.h"

namespace penmoji {

CEditCanvas::CEditCanvas(AppState& state, QWidget* parent)
    : QFrame(parent), state_(state), preview_(state.charWidths, this) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
}

bool CEditCanvas::handlesCommand(int id) const {
    return id == command::kNewVector || id == command::kGuideLines;
}

void CEditCanvas::executeCommand(int) {}

CommandState CEditCanvas::commandState(int) const { return {}; }

}  // namespace penmoji
