// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include <QAbstractScrollArea>

#include "canvas/preview/preview_layout.h"

namespace penmoji {

class CharWidthTable;

// The text of the preview with scroll bars: characters in the preview font at the measured
// widths, blanks as tinted blocks. The mouse selects characters in reading order and Ctrl+C
// copies them as Unicode text.
class PreviewTextView : public QAbstractScrollArea {
    Q_OBJECT
public:
    PreviewTextView(const CharWidthTable& widths, QWidget* parent);

    // Shows `text` (Shift_JIS, up to its first NUL); the view moves to where its art begins
    // unless the user scrolled it and some of the art is in view there. `cut` adds a note that the text was longer
    // than what is shown.
    void setText(std::string_view text, bool cut);
    const std::string& text() const { return text_; }
    // The selected part of the text, in its bytes.
    std::string_view selectedText() const;
    void copySelection() const;
    // The height of a row of text, in pixels.
    int lineHeight() const;
    // While picking, a click on a character picks it rather than starting a selection.
    void setPicking(bool picking) { picking_ = picking; }

signals:
    // A character was clicked while picking: its row of the text and its left edge in the row,
    // the row's leading full-width space included.
    void characterPicked(int row, int x);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void updateScrollBars();
    // True when a character of the text shows at the present scroll position.
    bool artInView() const;
    // Tells of the character at a viewport position, if there is one.
    void pickAt(QPoint viewportPos);
    // The byte offset of the item boundary nearest to a viewport position.
    std::size_t offsetAt(QPoint viewportPos) const;

    const CharWidthTable& widths_;
    // The user scrolled the view since it last went to the art by itself.
    bool userPlaced_ = false;
    std::string text_;
    PreviewLayout layout_;
    bool cut_ = false;
    std::size_t anchor_ = 0;
    std::size_t cursor_ = 0;
    bool selecting_ = false;
    bool picking_ = false;
};

}  // namespace penmoji
