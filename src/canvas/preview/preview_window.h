// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

namespace penmoji {

class CharWidthTable;
class PreviewTextView;

// The client area of the preview: the Shift_JIS text of a rendering laid out with the measured
// widths in the preview font, its blanks shown as tinted blocks (entities pale green, half-width
// spaces pale yellow, full-width spaces in the grey of the background). Text past the edges is
// cut off. Stops at the first NUL.
QImage paintPreviewText(std::string_view text, const CharWidthTable& widths, QSize size);

// The floating "Render preview" child of the canvas: a small caption to move it by, a border
// to size it by, both kept inside the canvas, and the text with scroll bars inside. It has no
// close box; the View menu hides and shows it.
class CPreviewWindow : public QWidget {
    Q_OBJECT
public:
    // The most of a rendering it keeps and shows; a note marks where a longer text is cut.
    static constexpr std::size_t kMaxTextBytes = std::size_t{16} << 20;

    CPreviewWindow(const CharWidthTable& widths, QWidget* parent);

    // Shows a rendering's Shift_JIS text (up to a NUL, if any), its art in view.
    void setPreviewText(std::string_view text);
    const std::string& previewText() const;
    PreviewTextView& textView() { return *view_; }
    // Moves the window so that its caption lies within `bounds` (the parent's client area).
    void keepInside(const QRect& bounds);

    // The area the text is painted in, in the window's own coordinates.
    QRect clientRect() const;
    // Places the window by its outer rectangle in the parent's client coordinates.
    void setOuterGeometry(const QRect& inParentClient);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Which part of the frame a position is on: a bit per sizing edge, or the caption.
    enum Part : unsigned { kNone = 0, kLeft = 1, kRight = 2, kTop = 4, kBottom = 8, kCaption = 16 };

    unsigned partAt(QPoint pos) const;
    QRect captionRect() const;
    QRect parentClient() const;
    void paintFrame(QPainter& painter);
    void updateHoverCursor(QPoint pos);

    PreviewTextView* view_;
    unsigned grabbedPart_ = kNone;
    QPoint grabOffset_;      // press position relative to the window, for moving
    QRect geometryAtPress_;  // for sizing
    QPoint pressInParent_;
};

}  // namespace penmoji
