#include "render/render_pass.h"

namespace penmoji {

// Temporary: one empty row until the matcher lands.
void renderVectors(TextRow& row, const VectorSet&, const RenderSettings&, GlyphBoxList& boxes,
                   ProgressReceiver&, RowSink& sink) {
    boxes.clearBoxes();
    row.reset();
    sink.takeRow(row);
}

}  // namespace penmoji
