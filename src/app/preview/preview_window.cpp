#include "app/preview/preview_window.h"

namespace penmoji {

CPreviewWindow::CPreviewWindow(const CharWidthTable& widths, QWidget* parent)
    : QWidget(parent), widths_(widths) {}

void CPreviewWindow::setPreviewText(std::string_view text) {
    previewText_.assign(text.substr(0, 4095));
    update();
}

}  // namespace penmoji
