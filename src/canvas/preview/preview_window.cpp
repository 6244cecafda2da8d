// SPDX-License-Identifier: MIT
#include "canvas/preview/preview_window.h"

#include <algorithm>

#include <qdrawutil.h>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStringDecoder>

#include "canvas/preview/char_width_table.h"
#include "canvas/preview/preview_layout.h"
#include "canvas/preview/preview_text_view.h"
#include "interchange/art_font.h"

namespace penmoji {
namespace {

// What the tinted blocks among the characters are.
constexpr char kTintsTip[] =
    "レンダリング結果のプレビュー\n"
    "緑のかたまり: &ensp; &thinsp; &nbsp; などの文字参照の空白\n"
    "黄色のかたまり: 半角スペース\n"
    "灰色のまま: 全角スペース";
const QColor kBackground(192, 192, 192);
const QColor kEntityBlock(160, 192, 160);
const QColor kHalfSpaceBlock(192, 192, 160);

constexpr int kBorder = 4;
constexpr int kCaptionHeight = 15;
constexpr int kMinClientWidth = 40;

}  // namespace

QImage paintPreviewText(std::string_view text, const CharWidthTable& widths, QSize size) {
    text = text.substr(0, text.find('\0'));
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter painter(&image);
    const QFont font = artFont();
    painter.setFont(font);
    const int ascent = QFontMetrics(font).ascent();
    painter.fillRect(image.rect(), kBackground);
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(kBackground);

    QStringDecoder decoder("Shift_JIS", QStringConverter::Flag::Stateless);
    const int lineHeight = widths.lineHeight();
    const PreviewLayout layout = layOutPreview(text, widths);
    int y = 0;
    for (const PreviewLayout::Row& row : layout.rows) {
        forEachPreviewItem(
            text.substr(row.offset, row.length), row.offset, widths, [&](const PreviewItem& item) {
                switch (item.kind) {
                    case PreviewItem::Kind::Entity:
                        painter.fillRect(item.x, y, item.width, lineHeight, kEntityBlock);
                        break;
                    case PreviewItem::Kind::HalfSpace:
                        painter.fillRect(item.x, y, item.width, lineHeight, kHalfSpaceBlock);
                        break;
                    case PreviewItem::Kind::FullSpace:
                        painter.fillRect(item.x, y, item.width, lineHeight, kBackground);
                        break;
                    case PreviewItem::Kind::Character:
                        painter.drawText(
                            QPoint(item.x, y + ascent),
                            decoder.decode(QByteArrayView(text.data() + item.offset,
                                                          static_cast<qsizetype>(item.length))));
                        break;
                }
            });
        y += lineHeight;
    }
    return image;
}

CPreviewWindow::CPreviewWindow(const CharWidthTable& widths, QWidget* parent)
    : QWidget(parent), view_(new PreviewTextView(widths, this)) {
    setWindowTitle(QStringLiteral("Render preview"));
    view_->setToolTip(QString::fromUtf8(kTintsTip));
    // The frame paints every pixel the text view leaves.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void CPreviewWindow::setPreviewText(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    view_->setText(text.substr(0, kMaxTextBytes), text.size() > kMaxTextBytes);
}

const std::string& CPreviewWindow::previewText() const {
    return view_->text();
}

void CPreviewWindow::keepInside(const QRect& bounds) {
    // The caption, by which the window is moved, stays within reach.
    QPoint at = pos();
    at.setX(std::clamp(at.x(), bounds.left() - width() + 40,
                       std::max(bounds.left(), bounds.right() - 40)));
    at.setY(std::clamp(at.y(), bounds.top(),
                       std::max(bounds.top(), bounds.bottom() - kBorder - kCaptionHeight)));
    move(at);
}

void CPreviewWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    view_->setGeometry(clientRect());
}

QRect CPreviewWindow::clientRect() const {
    return rect().adjusted(kBorder, kBorder + kCaptionHeight, -kBorder, -kBorder);
}

QRect CPreviewWindow::captionRect() const {
    return QRect(kBorder, kBorder, width() - 2 * kBorder, kCaptionHeight);
}

QRect CPreviewWindow::parentClient() const {
    return parentWidget() ? parentWidget()->contentsRect() : QRect();
}

void CPreviewWindow::setOuterGeometry(const QRect& inParentClient) {
    setGeometry(inParentClient.translated(parentClient().topLeft()));
}

void CPreviewWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintFrame(painter);
}

void CPreviewWindow::paintFrame(QPainter& painter) {
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.button());
    qDrawWinPanel(&painter, rect(), pal, false);
    const QRect caption = captionRect();
    painter.fillRect(caption, pal.brush(QPalette::Active, QPalette::Highlight));
    QFont captionFont = font();
    captionFont.setPixelSize(kCaptionHeight - 4);
    captionFont.setBold(true);
    painter.setFont(captionFont);
    painter.setPen(pal.color(QPalette::Active, QPalette::HighlightedText));
    painter.drawText(caption.adjusted(3, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     windowTitle());
}

unsigned CPreviewWindow::partAt(QPoint pos) const {
    if (!rect().contains(pos)) {
        return kNone;
    }
    // The corners reach a little along the edges, as on any sizing border.
    constexpr int kCornerReach = 12;
    unsigned part = kNone;
    const bool nearLeft = pos.x() < kBorder, nearRight = pos.x() >= width() - kBorder;
    const bool nearTop = pos.y() < kBorder, nearBottom = pos.y() >= height() - kBorder;
    if (nearLeft || nearRight || nearTop || nearBottom) {
        if (nearLeft || ((nearTop || nearBottom) && pos.x() < kCornerReach))
            part |= kLeft;
        if (nearRight || ((nearTop || nearBottom) && pos.x() >= width() - kCornerReach))
            part |= kRight;
        if (nearTop || ((nearLeft || nearRight) && pos.y() < kCornerReach))
            part |= kTop;
        if (nearBottom || ((nearLeft || nearRight) && pos.y() >= height() - kCornerReach))
            part |= kBottom;
        return part;
    }
    return captionRect().contains(pos) ? kCaption : kNone;
}

void CPreviewWindow::updateHoverCursor(QPoint pos) {
    const unsigned part = partAt(pos);
    const bool horizontal = part & (kLeft | kRight), vertical = part & (kTop | kBottom);
    if (horizontal && vertical) {
        const bool falling =
            ((part & kLeft) && (part & kTop)) || ((part & kRight) && (part & kBottom));
        setCursor(falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
    } else if (horizontal) {
        setCursor(Qt::SizeHorCursor);
    } else if (vertical) {
        setCursor(Qt::SizeVerCursor);
    } else {
        unsetCursor();
    }
}

void CPreviewWindow::mousePressEvent(QMouseEvent* event) {
    // The window takes every press, so none falls through to the canvas underneath.
    event->accept();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    grabbedPart_ = partAt(event->position().toPoint());
    if (grabbedPart_ == kNone) {
        return;
    }
    raise();
    pressInParent_ = mapToParent(event->position().toPoint());
    geometryAtPress_ = geometry();
}

void CPreviewWindow::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    const QPoint pos = event->position().toPoint();
    if (grabbedPart_ == kNone) {
        updateHoverCursor(pos);
        return;
    }
    // The point held stays inside the canvas, so the caption can always be reached again.
    const QRect bounds = parentClient();
    QPoint at = mapToParent(pos);
    at.setX(std::clamp(at.x(), bounds.left(), bounds.right()));
    at.setY(std::clamp(at.y(), bounds.top(), bounds.bottom()));
    const QPoint delta = at - pressInParent_;
    if (grabbedPart_ == kCaption) {
        move(geometryAtPress_.topLeft() + delta);
        return;
    }
    const int minWidth = 2 * kBorder + kMinClientWidth;
    const int minHeight = 2 * kBorder + kCaptionHeight;
    QRect g = geometryAtPress_;
    if (grabbedPart_ & kLeft)
        g.setLeft(std::min(g.left() + delta.x(), g.right() + 1 - minWidth));
    if (grabbedPart_ & kRight)
        g.setRight(std::max(g.right() + delta.x(), g.left() - 1 + minWidth));
    if (grabbedPart_ & kTop)
        g.setTop(std::min(g.top() + delta.y(), g.bottom() + 1 - minHeight));
    if (grabbedPart_ & kBottom)
        g.setBottom(std::max(g.bottom() + delta.y(), g.top() - 1 + minHeight));
    setGeometry(g);
}

void CPreviewWindow::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton) {
        grabbedPart_ = kNone;
    }
}

void CPreviewWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

// A wheel turned over the frame scrolls nothing beneath it.
void CPreviewWindow::wheelEvent(QWheelEvent* event) {
    event->accept();
}

}  // namespace penmoji
