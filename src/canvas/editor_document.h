// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include "canvas/document_history.h"
#include "canvas/picture_state.h"
#include "canvas/placed_text_step.h"
#include "compose/random_generator.h"
#include "compose/render_settings.h"
#include "document/document.h"
#include "document/placed_text.h"
#include "edit/grid_settings.h"
#include "edit/mouse_editor.h"

namespace penmoji {

// The file re-render writes: a path, its extension, and whether it holds the art of a drawing
// that is no longer the one edited.
struct RenderTarget {
    QString path;
    QString extension;
    bool ofEarlierDrawing = false;
    bool operator==(const RenderTarget&) const = default;
};

// What the user edits, as the editor's widgets and commands see it: the drawing and its undo
// history, the file it belongs to, the selection and the gesture under way, the picture under
// the drawing, the grid, the render settings, the board and the file renderings go to. Every
// edit is one of its methods and makes its own undo step; every change is a signal that says
// what it was before, so nobody keeps a copy to find out.
class EditorDocument final : public QObject, private DocumentObserver, private GestureObserver {
    Q_OBJECT
public:
    explicit EditorDocument(QObject* parent = nullptr);
    ~EditorDocument() override;

    // The drawing. A change made on it directly is an undo step of its own, or part of the
    // step under way.
    Document& document() { return document_; }
    const Document& document() const { return document_; }
    const VectorSet& vectors() const { return document_.vectors(); }
    DocumentHistory& history() { return *history_; }
    const DocumentHistory& history() const { return *history_; }
    // The selection and the gesture under way.
    const MouseEditor& editor() const { return *editor_; }
    bool idle() const { return !editor_->drawing() && !editor_->dragging(); }

    // The mouse on the canvas, in canvas pixels; each returns whether the drawing's look
    // changed. A gesture is one undo step from its first event to its last.
    bool leftPress(Point at, bool shift);
    bool rightPress();
    bool mouseMove(Point at);
    bool leftRelease();

    // Starts a vector in the lowest free slot; false when every slot is in use.
    bool newVector();
    // Ends the vector being drawn, as the right button does.
    void endVector();
    // Takes back the last point of the vector being drawn.
    bool removeLastPoint();
    // Deletes the selected piece, or else the selected vector.
    void deleteSelected();
    // Moves the selected piece, or else the selected vector; presses close together make one
    // step.
    void nudgeSelected(int dx, int dy);
    // Takes back the last step; while drawing, the last point, or the vector when it has none.
    void undo();
    void redo();
    // Puts `lines` into free slots (those that fit) as one step named `stepName`.
    void addVectors(const std::vector<std::vector<Point>>& lines, const char* stepName);

    // The drawing as a whole. Each ends the gesture under way first, so that its step comes
    // first. A new or replaced drawing starts saved, with no render target of its own.
    void initialise();
    // Reads a drawing file as one undo step; `opened` runs inside that step on success, so
    // that what goes with the drawing joins it. Nothing changes on failure.
    FileStatus load(const QString& path, const std::function<void()>& opened = {});
    // Replaces the drawing with one made elsewhere as one step; it then has no file of its own,
    // so that saving asks for a name and never writes over the drawing it replaced.
    void replaceWithUntitled(const VectorSet& vectors, const char* stepName);
    // Writes the drawing; on success it is saved as `path`.
    FileStatus save(const QString& path);
    // The file the drawing was last opened from or saved to; empty for a new drawing.
    const QString& filePath() const { return filePath_; }
    bool isModified() const { return !history_->clean(); }
    // Forgets the undo steps: the run starts with the drawing as it is.
    void startHistoryHere();

    const GridSettings& grid() const { return grid_; }
    void setGrid(const GridSettings& grid);
    const RenderSettings& renderSettings() const { return renderSettings_; }
    void setRenderSettings(const RenderSettings& settings);
    // The board the art is checked against, an index into boardProfiles() (0: no limits).
    int boardProfile() const { return boardProfile_; }
    void setBoardProfile(int profile);
    // "余白を詰める": the art copied, exported and counted starts at the top left.
    bool trimMargins() const { return trimMargins_; }
    void setTrimMargins(bool trim);
    // Scatters the dots of blank runs in the files written: one sequence for the whole run,
    // advanced only by the renderings that are written.
    const RandomGenerator& random() const { return random_; }
    void advanceDots(const RandomGenerator& after);
    const RenderTarget& renderTarget() const { return renderTarget_; }
    // Makes `path` the file re-render writes, once something was written to it.
    void setRenderTarget(const QString& path, const QString& extension);

    // The picture under the drawing.
    const TraceImageState& picture() const { return picture_; }
    bool hasPicture() const { return !picture_.image.isNull(); }
    // Makes `after` the picture as one undo step; nothing when it is the picture already.
    void changePicture(const TraceImageState& after, const char* stepName);
    // Moves the picture; presses close together make one step.
    void nudgePicture(QPointF by);
    // Shows a picture with no undo step: what a dialog tries before it is accepted or put back.
    void showPicture(const TraceImageState& shown);

    // The text placed by hand over the art, each piece where it was put.
    const PlacedText& placedText() const { return placed_; }
    // Adds `piece` over the others as one step named `stepName`; returns its index.
    int addPiece(PlacedPiece piece, const char* stepName);
    // Makes `after` the piece at `index` as one step.
    void replacePiece(int index, PlacedPiece after, const char* stepName);
    // Shows the piece at `index` as `shown` with no undo step, as a drag does until it ends
    // with commitPieceMove().
    void showPiece(int index, const PlacedPiece& shown);
    // The step of a drag of the piece at `index` that began with the piece as `before`.
    void commitPieceMove(int index, const PlacedPiece& before);
    // Moves the piece by `dx` pixels and `dy` rows; presses close together make one step.
    void nudgePiece(int index, int dx, int dy);
    void deletePiece(int index);
    // The selected piece, or -1. A piece selected leaves the vector selection alone: the keys
    // that act on a selection take the piece first.
    int selectedPiece() const { return selectedPiece_; }
    void selectPiece(int index);
    // Why the pieces kept beside the drawing last opened could not be read; nothing when they
    // were read or there were none. That file is left as it is until the drawing is saved.
    const std::optional<FileStatus>& placedTextFailure() const { return placedTextFailure_; }

    // Presses of an arrow key further apart than this start a new undo step.
    static constexpr int kNudgeRunMs = 1000;

signals:
    // The drawing changed; `change` tells what it was before.
    void drawingChanged(const penmoji::DocumentChange& change);
    // Drawing or moving began or ended, or the selection changed.
    void editingStateChanged();
    // Another drawing took the place of the one edited: opened, initialised or imported.
    void drawingReplaced();
    void drawingSaved(const QString& path);
    void filePathChanged(const QString& path, const QString& before);
    void modifiedChanged(bool modified);
    void gridChanged(const penmoji::GridSettings& grid, const penmoji::GridSettings& before);
    void renderSettingsChanged(const penmoji::RenderSettings& settings,
                               const penmoji::RenderSettings& before);
    void boardProfileChanged(int profile, int before);
    void trimMarginsChanged(bool trim);
    // A file took the next dots; renderings start from where it left them.
    void dotsAdvanced();
    void renderTargetChanged(const penmoji::RenderTarget& target,
                             const penmoji::RenderTarget& before);
    void pictureChanged(const penmoji::TraceImageState& picture,
                        const penmoji::TraceImageState& before);
    // The placed text changed: pieces added, removed, moved or replaced.
    void placedTextChanged();
    void pieceSelectionChanged(int index, int before);

private:
    void documentChanged(const DocumentChange& change) override;
    void gestureBegan(Gesture gesture) override;
    void gestureEnded(Gesture gesture) override;
    // Runs a mouse event on the editing state and says when the editing state changed.
    template <typename Event>
    bool followEditing(Event event);
    // Another drawing is in place: it belongs to `path`, and the render target holds the art
    // of an earlier one.
    void endReplacement(const QString& path);
    void setFilePath(const QString& path);
    void setPicture(const TraceImageState& picture);
    // Changes the placed text as `edits` say, with an undo step named `stepName` unless none.
    void editPlacedText(std::vector<PieceEdit> edits, const char* stepName,
                        int mergeId = -1, bool startsRun = true);
    void applyPlacedEdits(const std::vector<PieceEdit>& edits, bool forward);
    // Whether a nudge of `target` now continues the run of the last one.
    bool continuesRun(const void* target);

    Document document_;
    std::unique_ptr<DocumentHistory> history_;
    GridSettings grid_;
    std::unique_ptr<MouseEditor> editor_;
    QString filePath_;
    RenderSettings renderSettings_;
    int boardProfile_ = 0;
    bool trimMargins_ = true;
    RandomGenerator random_;
    RenderTarget renderTarget_;
    TraceImageState picture_;
    PlacedText placed_;
    int selectedPiece_ = -1;
    std::optional<FileStatus> placedTextFailure_;
    QElapsedTimer lastNudge_;
    const void* lastNudged_ = nullptr;
};

}  // namespace penmoji
