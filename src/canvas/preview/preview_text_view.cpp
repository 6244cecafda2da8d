// SPDX-License-Identifier: MIT
#include "canvas/preview/preview_text_view.h"

#include <algorithm>

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStringDecoder>

#include "canvas/clipboard_text.h"
#include "canvas/preview/char_width_table.h"
#include "interchange/art_font.h"

namespace penmoji {
namespace {

const QColor kBackground(192, 192, 192);
const QColor kEntityBlock(160, 192, 160);
const QColor kHalfSpaceBlock(192, 192, 160);
const QColor kSelection(120, 150, 220);

constexpr char kCutNote[] = "（ここから先は表示していません）";

}  // namespace

PreviewTextView::PreviewTextView(const CharWidthTable& widths, QWidget* parent)
    : QAbstractScrollArea(parent), widths_(widths) {
    setFrameStyle(QFrame::NoFrame);
    setFocusPolicy(Qt::ClickFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // Only the user's scrolling (bars, wheel, keys) counts as putting the view somewhere.
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        connect(bar, &QAbstractSlider::actionTriggered, this, [this] { userPlaced_ = true; });
    }
}

int PreviewTextView::lineHeight() const {
    return std::max(1, widths_.lineHeight());
}

void PreviewTextView::setText(std::string_view text, bool cut) {
    text_.assign(text.substr(0, text.find('\0')));
    cut_ = cut;
    layout_ = layOutPreview(text_, widths_);
    anchor_ = cursor_ = 0;
    updateScrollBars();
    // The view stays where the user put it while the art is in it; otherwise (art that moved
    // out of it, another drawing, a first rendering) it goes to where the art begins.
    if (!userPlaced_ || !artInView()) {
        horizontalScrollBar()->setValue(layout_.firstArtX);
        verticalScrollBar()->setValue(layout_.firstArtRow * lineHeight());
        userPlaced_ = false;
    }
    viewport()->update();
}

bool PreviewTextView::artInView() const {
    const QRect view(QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()),
                     viewport()->size());
    const int first = std::max(0, view.top() / lineHeight());
    const int last =
        std::min(static_cast<int>(layout_.rows.size()) - 1, view.bottom() / lineHeight());
    bool found = false;
    for (int r = first; r <= last && !found; ++r) {
        const PreviewLayout::Row& row = layout_.rows[static_cast<std::size_t>(r)];
        forEachPreviewItem(std::string_view(text_).substr(row.offset, row.length), row.offset,
                           widths_, [&](const PreviewItem& item) {
                               found = found ||
                                       (item.kind == PreviewItem::Kind::Character &&
                                        item.x < view.right() && item.x + item.width > view.left());
                           });
    }
    return found;
}

std::string_view PreviewTextView::selectedText() const {
    const std::size_t from = std::min(anchor_, cursor_), to = std::max(anchor_, cursor_);
    return std::string_view(text_).substr(from, to - from);
}

void PreviewTextView::copySelection() const {
    if (!selectedText().empty()) {
        QGuiApplication::clipboard()->setText(clipboardText(selectedText()));
    }
}

void PreviewTextView::updateScrollBars() {
    const int rows = static_cast<int>(layout_.rows.size()) + (cut_ ? 1 : 0);
    const QSize page = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, layout_.width - page.width()));
    horizontalScrollBar()->setPageStep(page.width());
    verticalScrollBar()->setRange(0, std::max(0, rows * lineHeight() - page.height()));
    verticalScrollBar()->setPageStep(page.height());
    verticalScrollBar()->setSingleStep(lineHeight());
}

void PreviewTextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PreviewTextView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), kBackground);
    const QFont font = artFont();
    painter.setFont(font);
    const int ascent = QFontMetrics(font).ascent();
    const int height = lineHeight();
    const int left = horizontalScrollBar()->value();
    const int top = verticalScrollBar()->value();
    const std::size_t selFrom = std::min(anchor_, cursor_), selTo = std::max(anchor_, cursor_);
    QStringDecoder decoder("Shift_JIS", QStringConverter::Flag::Stateless);

    const int firstRow = top / height;
    const int lastRow = (top + viewport()->height()) / height;
    for (int r = firstRow; r <= lastRow && r < static_cast<int>(layout_.rows.size()); ++r) {
        const PreviewLayout::Row& row = layout_.rows[r];
        const int y = r * height - top;
        forEachPreviewItem(
            std::string_view(text_).substr(row.offset, row.length), row.offset, widths_,
            [&](const PreviewItem& item) {
                const int x = item.x - left;
                if (x + item.width < 0 || x > viewport()->width()) {
                    return;
                }
                const bool selected = item.offset >= selFrom && item.offset < selTo;
                const QRect cell(x, y, item.width, height);
                switch (item.kind) {
                    case PreviewItem::Kind::Entity:
                        painter.fillRect(cell, selected ? kSelection : kEntityBlock);
                        break;
                    case PreviewItem::Kind::HalfSpace:
                        painter.fillRect(cell, selected ? kSelection : kHalfSpaceBlock);
                        break;
                    case PreviewItem::Kind::FullSpace:
                        painter.fillRect(cell, selected ? kSelection : kBackground);
                        break;
                    case PreviewItem::Kind::Character:
                        if (selected) {
                            painter.fillRect(cell, kSelection);
                        }
                        painter.setPen(Qt::black);
                        painter.drawText(
                            QPoint(x, y + ascent),
                            decoder.decode(QByteArrayView(text_.data() + item.offset,
                                                          static_cast<qsizetype>(item.length))));
                        break;
                }
            });
    }
    if (cut_) {
        painter.setPen(Qt::darkRed);
        painter.drawText(
            QPoint(-left, static_cast<int>(layout_.rows.size()) * height - top + ascent),
            QString::fromUtf8(kCutNote));
    }
}

void PreviewTextView::pickAt(QPoint viewportPos) {
    const int r = (viewportPos.y() + verticalScrollBar()->value()) / lineHeight();
    if (r < 0 || r >= static_cast<int>(layout_.rows.size())) {
        return;
    }
    const PreviewLayout::Row& row = layout_.rows[r];
    const int x = viewportPos.x() + horizontalScrollBar()->value();
    int picked = -1;
    forEachPreviewItem(std::string_view(text_).substr(row.offset, row.length), row.offset, widths_,
                       [&](const PreviewItem& item) {
                           if (item.kind == PreviewItem::Kind::Character && x >= item.x &&
                               x < item.x + item.width) {
                               picked = item.x;
                           }
                       });
    if (picked >= 0) {
        emit characterPicked(r, picked);
    }
}

std::size_t PreviewTextView::offsetAt(QPoint viewportPos) const {
    if (layout_.rows.empty()) {
        return 0;
    }
    const int y = viewportPos.y() + verticalScrollBar()->value();
    const int r = std::clamp(y / lineHeight(), 0, static_cast<int>(layout_.rows.size()) - 1);
    const PreviewLayout::Row& row = layout_.rows[r];
    const int x = viewportPos.x() + horizontalScrollBar()->value();
    std::size_t offset = row.offset + row.length;
    bool found = false;
    forEachPreviewItem(std::string_view(text_).substr(row.offset, row.length), row.offset, widths_,
                       [&](const PreviewItem& item) {
                           if (!found && x < item.x + item.width / 2) {
                               offset = item.offset;
                               found = true;
                           }
                       });
    return offset;
}

void PreviewTextView::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (picking_ && event->button() == Qt::LeftButton) {
        pickAt(event->position().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton) {
        anchor_ = cursor_ = offsetAt(event->position().toPoint());
        selecting_ = true;
        viewport()->update();
    }
}

void PreviewTextView::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (selecting_) {
        cursor_ = offsetAt(event->position().toPoint());
        viewport()->update();
    }
}

void PreviewTextView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton) {
        selecting_ = false;
    }
}

// Ctrl+C belongs to the preview while it has the focus, not to the window's copy command.
bool PreviewTextView::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void PreviewTextView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        anchor_ = 0;
        cursor_ = text_.size();
        viewport()->update();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

}  // namespace penmoji
