// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QScrollArea>

namespace penmoji {

class CEditCanvas;

// The canvas in a scroll area. The canvas is always at least as large as the view and as large
// as the drawing and the rendered boxes at the current zoom, so every point can be reached and
// moved; Ctrl + wheel zooms about the mouse. The preview window, a child of the canvas, keeps its
// place in the view while the drawing scrolls under it.
class CanvasView final : public QScrollArea {
    Q_OBJECT
public:
    CanvasView(CEditCanvas& canvas, QWidget* parent = nullptr);

    CEditCanvas& canvas() { return canvas_; }
    int zoom() const;
    // Zooms keeping the canvas pixel under `anchor` (view coordinates) where it is; without an
    // anchor, the one in the middle of the view.
    void setZoom(int zoom);
    void setZoom(int zoom, QPoint anchor);

    // The preview's outer rectangle in the view, and putting it there.
    QRect previewInView() const;
    void setPreviewInView(const QRect& rect);

signals:
    void zoomChanged(int zoom);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Sizes the canvas for the drawing, the zoom and the view.
    void fitCanvas();
    QPoint scrollOffset() const;
    void keepPreviewInView();

    CEditCanvas& canvas_;
    // Where the preview sits in the view, as the user last put it.
    QPoint previewInView_;
    bool placingPreview_ = false;
    int wheelAngle_ = 0;
};

}  // namespace penmoji
