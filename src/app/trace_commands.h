// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include "app/trace_sidecar.h"

class QSettings;
class QWidget;

namespace penmoji {

class CanvasView;
class CommandRegistry;
class EditorDocument;
class UserInteraction;

// The picture to draw over (下絵): opening and closing it, showing it, its opacity, position
// and size, moving it by drag and by key, tracing it into vectors, and keeping it with the
// drawing in the sidecar file. Each change is a step of the drawing's undo history. The canvas
// only paints what it is given here.
class TraceCommands final : public QObject {
    Q_OBJECT
public:
    TraceCommands(EditorDocument& document, UserInteraction& interaction, CanvasView& view,
                  QSettings* settings, QWidget& window, CommandRegistry& commands);

    bool hasImage() const;
    const TraceImageSettings& settings() const;
    bool smooth() const { return smooth_; }

public slots:
    // A drawing was opened: its sidecar's picture, if any, replaces the one shown.
    void drawingOpened(const QString& drawingPath);

private:
    void declareCommands(CommandRegistry& commands);
    void toggleShown();
    void openImage();
    void chooseOpacity();
    void choosePlacement();
    void traceIntoDrawing();
    void toggleSmooth();
    QImage loadImage(const QString& path, QString& error) const;
    TraceImageState withSettings(const TraceImageSettings& settings) const;
    // A drawing was saved: the sidecar beside it follows the picture.
    void drawingSaved(const QString& drawingPath);

    EditorDocument& document_;
    UserInteraction& interaction_;
    CanvasView& view_;
    QSettings* settings_;
    QWidget& window_;
    bool smooth_ = true;
};

}  // namespace penmoji
