#pragma once

#include <string>
#include <string_view>

#include <QWidget>

namespace penmoji {

class CharWidthTable;

// The floating "Render preview" child of the canvas. (Placeholder; the preview work fills it in.)
class CPreviewWindow : public QWidget {
    Q_OBJECT
public:
    CPreviewWindow(const CharWidthTable& widths, QWidget* parent);

    // Keeps the first 4095 bytes of a rendering's Shift_JIS text.
    void setPreviewText(std::string_view text);
    const std::string& previewText() const { return previewText_; }

private:
    const CharWidthTable& widths_;
    std::string previewText_;
};

}  // namespace penmoji
