// SPDX-License-Identifier: MIT
#include "app/artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include "app/command_ids.h"

namespace penmoji {
namespace {

const QColor kInk(24, 40, 112);
const QColor kSelected(208, 32, 32);
const QColor kPaper(252, 252, 244);
const QColor kPaperEdge(96, 96, 96);
const QColor kGo(16, 128, 48);

QPixmap blankImage(int width, int height) {
    QPixmap image(width, height);
    image.fill(Qt::transparent);
    return image;
}

// A drawn vector: a polyline with the square marks the canvas puts on its points.
void drawVector(QPainter& painter, const QPolygon& points, const QColor& color) {
    painter.setPen(QPen(color, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(points);
    painter.setPen(QPen(color, 1));
    for (const QPoint& point : points) {
        painter.drawRect(point.x() - 2, point.y() - 2, 4, 4);
    }
}

// A sheet of text art: a page with rows of strokes standing for characters.
void drawPage(QPainter& painter, const QRect& page) {
    painter.setPen(QPen(kPaperEdge, 1));
    painter.setBrush(kPaper);
    painter.drawRect(page);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 1));
    for (int y = page.top() + 5; y < page.bottom() - 3; y += 6) {
        painter.drawLine(page.left() + 3, y + 2, page.left() + 6, y - 1);
        painter.drawLine(page.left() + 8, y - 1, page.left() + 11, y + 2);
        painter.drawLine(page.left() + 13, y + 1, page.right() - 3, y + 1);
    }
}

void drawArrow(QPainter& painter, QPoint from, QPoint to, const QColor& color) {
    painter.setPen(QPen(color, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, to);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPolygon(QPolygon({to + QPoint(3, 0), to + QPoint(-3, -5), to + QPoint(-3, 5)}));
    painter.setBrush(Qt::NoBrush);
}

QPixmap newVectorImage() {
    QPixmap image = blankImage(48, 32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawVector(painter, QPolygon({{6, 26}, {16, 8}, {28, 20}, {34, 12}}), kInk);
    painter.setPen(QPen(kGo, 3, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(40, 4, 40, 16);
    painter.drawLine(34, 10, 46, 10);
    return image;
}

QPixmap deleteSelectedImage() {
    QPixmap image = blankImage(48, 32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawVector(painter, QPolygon({{6, 24}, {16, 8}, {28, 22}, {40, 10}}), kSelected);
    painter.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(14, 6, 34, 26);
    painter.drawLine(34, 6, 14, 26);
    return image;
}

QPixmap renderAsImage() {
    QPixmap image = blankImage(48, 32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawVector(painter, QPolygon({{3, 24}, {10, 8}, {16, 22}}), kInk);
    drawArrow(painter, {18, 16}, {24, 16}, kGo);
    drawPage(painter, QRect(28, 3, 18, 26));
    return image;
}

QPixmap reRenderImage() {
    QPixmap image = blankImage(48, 32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawPage(painter, QRect(15, 3, 18, 26));
    // A circling arrow: the same file once more.
    painter.setPen(QPen(kGo, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRect(4, 5, 40, 22), 200 * 16, 230 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGo);
    painter.drawPolygon(QPolygon({{38, 4}, {46, 9}, {37, 12}}));
    return image;
}

// A page of art under a magnifying glass: the finer matching.
QPixmap fineMatchingImage() {
    QPixmap image = blankImage(48, 32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawPage(painter, QRect(6, 3, 18, 26));
    painter.setPen(QPen(kInk, 3));
    painter.setBrush(QColor(220, 228, 255, 160));
    painter.drawEllipse(QRect(20, 4, 16, 16));
    painter.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(34, 18, 42, 27);
    return image;
}

QPixmap aboutImage() {
    QPixmap image = blankImage(48, 32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kInk, 2));
    painter.setBrush(QColor(220, 228, 255));
    painter.drawEllipse(QRect(10, 2, 28, 28));
    QFont font = painter.font();
    font.setPixelSize(22);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(10, 2, 28, 28), Qt::AlignCenter, QStringLiteral("?"));
    return image;
}

// The icon: a pen tip laying down a stroke that turns into a character cell.
QPixmap iconImage(int size) {
    QPixmap image = blankImage(size, size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 48.0, size / 48.0);
    painter.setPen(QPen(kPaperEdge, 2));
    painter.setBrush(kPaper);
    painter.drawRoundedRect(QRectF(3, 3, 42, 42), 6, 6);
    // The character cell the stroke becomes.
    painter.setPen(QPen(QColor(0, 160, 160), 2, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(8, 14, 18, 26));
    painter.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({QPointF(11, 36), QPointF(17, 20), QPointF(23, 36)}));
    // The pen.
    QPainterPath pen;
    pen.moveTo(24, 30);
    pen.lineTo(40, 6);
    pen.lineTo(44, 9);
    pen.lineTo(28, 33);
    pen.closeSubpath();
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(QColor(232, 176, 32));
    painter.drawPath(pen);
    painter.setBrush(Qt::black);
    painter.drawPolygon(QPolygonF({QPointF(24, 30), QPointF(28, 33), QPointF(23, 36)}));
    return image;
}

}  // namespace

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        icon.addPixmap(iconImage(size));
    }
    return icon;
}

namespace {

// A curved arrow over a short vector: back to the left for undo, on to the right for redo.
QPixmap undoRedoImage(bool redo) {
    QPixmap image = blankImage(48, 32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (redo) {
        painter.translate(48, 0);
        painter.scale(-1, 1);
    }
    drawVector(painter, QPolygon({QPoint(14, 27), QPoint(24, 22), QPoint(34, 27)}), kInk);
    QPainterPath curve(QPointF(36, 18));
    curve.cubicTo(QPointF(36, 6), QPointF(20, 4), QPointF(14, 12));
    painter.setPen(QPen(kGo, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(curve);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGo);
    painter.drawPolygon(QPolygon({QPoint(9, 7), QPoint(10, 17), QPoint(19, 13)}));
    return image;
}

}  // namespace

QPixmap toolbarImage(int commandId) {
    switch (commandId) {
        case command::kNewVector:
            return newVectorImage();
        case command::kDeleteSelected:
            return deleteSelectedImage();
        case command::kRenderAs:
            return renderAsImage();
        case command::kReRender:
            return reRenderImage();
        case command::kAbout:
            return aboutImage();
        case command::kFineMatching:
            return fineMatchingImage();
        case command::kEditUndo:
            return undoRedoImage(false);
        case command::kEditRedo:
            return undoRedoImage(true);
        default:
            return {};
    }
}

}  // namespace penmoji
