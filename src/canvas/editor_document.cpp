// SPDX-License-Identifier: MIT
#include "canvas/editor_document.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include <QUndoCommand>

#include "canvas/document_texts.h"
#include "canvas/file_paths.h"
#include "document/placed_text_file.h"
#include "document/vector_file.h"

namespace penmoji {
namespace {

// The merge ids of the nudge steps: the drawing's and the picture's.
constexpr int kNudgeStep = 1;
constexpr int kPictureNudgeStep = 2;
constexpr int kPieceNudgeStep = 3;

const char* gestureStepName(Gesture gesture) {
    switch (gesture) {
        case Gesture::DrawVector:
            return text::kStepDraw;
        case Gesture::MovePoint:
            return text::kStepMovePoint;
        case Gesture::MoveVector:
            return text::kStepMoveVector;
    }
    return text::kStepEdit;
}

// One change of the picture. Pushed after the change was shown, so its first redo shows the
// same state again. A nudge that does not start a run merges into the nudge before it.
class PictureStep final : public QUndoCommand {
public:
    using Show = std::function<void(const TraceImageState&)>;

    PictureStep(Show show, TraceImageState before, TraceImageState after, const QString& name,
                int mergeId, bool startsRun)
        : QUndoCommand(name),
          show_(std::move(show)),
          before_(std::move(before)),
          after_(std::move(after)),
          mergeId_(mergeId),
          startsRun_(startsRun) {}

    void undo() override { show_(before_); }
    void redo() override { show_(after_); }
    int id() const override { return mergeId_; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* later = static_cast<const PictureStep*>(other);
        if (later->startsRun_) {
            return false;
        }
        after_ = later->after_;
        return true;
    }

private:
    Show show_;
    TraceImageState before_;
    TraceImageState after_;
    int mergeId_;
    bool startsRun_;
};

// Makes the document changes of its lifetime one undo step.
class StepScope {
public:
    StepScope(DocumentHistory& history, const char* name, int mergeId = DocumentStep::kNoMerge,
              bool startsRun = true)
        : history_(history) {
        history_.beginStep(QString::fromUtf8(name), mergeId, startsRun);
    }
    ~StepScope() { history_.endStep(); }
    StepScope(const StepScope&) = delete;
    StepScope& operator=(const StepScope&) = delete;

private:
    DocumentHistory& history_;
};

}  // namespace

EditorDocument::EditorDocument(QObject* parent)
    : QObject(parent), history_(std::make_unique<DocumentHistory>(document_)) {
    // The history hears of a change first, the widgets next, the editing state last, as a
    // gesture the change ends closes its step after the change is in it.
    document_.addObserver(this);
    editor_ = std::make_unique<MouseEditor>(document_, grid_);
    editor_->setGestureObserver(this);
    connect(&history_->stack(), &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit modifiedChanged(!clean); });
}

EditorDocument::~EditorDocument() {
    editor_.reset();
    document_.removeObserver(this);
}

void EditorDocument::documentChanged(const DocumentChange& change) {
    emit drawingChanged(change);
}

void EditorDocument::gestureBegan(Gesture gesture) {
    history_->beginStep(QString::fromUtf8(gestureStepName(gesture)));
    emit editingStateChanged();
}

void EditorDocument::gestureEnded(Gesture) {
    history_->endStep();
    emit editingStateChanged();
}

template <typename Event>
bool EditorDocument::followEditing(Event event) {
    const int selected = editor_->selectedSlot();
    const bool changed = event(*editor_);
    // Beginning and ending a gesture tell of themselves.
    if (editor_->selectedSlot() != selected) {
        emit editingStateChanged();
    }
    return changed;
}

bool EditorDocument::leftPress(Point at, bool shift) {
    return followEditing([&](MouseEditor& editor) { return editor.leftPress(at, shift); });
}

bool EditorDocument::rightPress() {
    return followEditing([](MouseEditor& editor) { return editor.rightPress(); });
}

bool EditorDocument::mouseMove(Point at) {
    return followEditing([&](MouseEditor& editor) { return editor.mouseMove(at); });
}

bool EditorDocument::leftRelease() {
    return followEditing([](MouseEditor& editor) { return editor.leftRelease(); });
}

bool EditorDocument::newVector() {
    if (!document_.vectors().firstFree()) {
        return false;
    }
    // Drawing begins as a gesture, which tells of itself.
    if (!editor_->drawing()) {
        editor_->newVector();
    }
    return true;
}

void EditorDocument::endVector() {
    editor_->rightPress();
}

bool EditorDocument::removeLastPoint() {
    return editor_->removeLastPoint();
}

void EditorDocument::deleteSelected() {
    if (selectedPiece_ >= 0 && idle()) {
        deletePiece(selectedPiece_);
        return;
    }
    // The vector being drawn is finished first, so that deleting it can be undone.
    endVector();
    StepScope step(*history_, text::kStepDelete);
    document_.deleteVector(editor_->selectedSlot());
}

bool EditorDocument::continuesRun(const void* target) {
    const bool continues =
        target == lastNudged_ && lastNudge_.isValid() && lastNudge_.elapsed() <= kNudgeRunMs;
    lastNudged_ = target;
    lastNudge_.start();
    return continues;
}

void EditorDocument::nudgeSelected(int dx, int dy) {
    if (selectedPiece_ >= 0) {
        // A piece moves by whole rows: a step of a pixel down is a row, a far step as many
        // rows as it has whole rows.
        const int rows = std::abs(dy) >= 16 ? dy / 16 : (dy > 0) - (dy < 0);
        nudgePiece(selectedPiece_, dx, rows);
        return;
    }
    const int slot = editor_->selectedSlot();
    if (slot < 0) {
        return;
    }
    const VectorLine& line = document_.line(slot);
    std::vector<Point> moved(line.points.begin(), line.points.begin() + line.count);
    for (Point& p : moved) {
        p = {p.x + dx, p.y + dy};
    }
    const bool startsRun = !continuesRun(&document_.line(slot));
    StepScope step(*history_, text::kStepMoveVector, kNudgeStep, startsRun);
    document_.setVector(slot, moved);
}

void EditorDocument::undo() {
    if (!editor_->drawing()) {
        history_->undo();
    } else if (document_.line(editor_->drawIndex()).count > 0) {
        removeLastPoint();
    } else {
        endVector();
    }
}

void EditorDocument::redo() {
    if (idle()) {
        history_->redo();
    }
}

void EditorDocument::addVectors(const std::vector<std::vector<Point>>& lines,
                                const char* stepName) {
    StepScope step(*history_, stepName);
    std::size_t next = 0;
    for (int slot = 0; slot < kSlotCount && next < lines.size(); ++slot) {
        if (document_.line(slot).count == 0) {
            const std::size_t count = std::min<std::size_t>(lines[next].size(), kMaxPoints);
            document_.setVector(slot, std::span(lines[next]).first(count));
            ++next;
        }
    }
}

void EditorDocument::endReplacement(const QString& path) {
    setFilePath(path);
    if (!renderTarget_.path.isEmpty() && !renderTarget_.ofEarlierDrawing) {
        const RenderTarget before = renderTarget_;
        renderTarget_.ofEarlierDrawing = true;
        emit renderTargetChanged(renderTarget_, before);
    }
    emit drawingReplaced();
}

void EditorDocument::initialise() {
    endVector();
    {
        StepScope step(*history_, text::kStepInitialise);
        document_.clear();
        editPlacedText(wholeTextEdits(placed_, {}), text::kStepInitialise);
    }
    placedTextFailure_.reset();
    history_->setClean();
    endReplacement({});
}

FileStatus EditorDocument::load(const QString& path, const std::function<void()>& opened) {
    endVector();
    FileStatus status = FileStatus::success();
    {
        StepScope step(*history_, text::kStepOpen);
        status = document_.load(toFilePath(path));
        if (status.ok()) {
            // Pieces that cannot be read are left out, and their file alone until a save: the
            // drawing itself is still worth opening.
            PlacedText read;
            placedTextFailure_.reset();
            if (FileStatus pieces = loadPlacedText(toFilePath(path), read); !pieces.ok()) {
                placedTextFailure_ = std::move(pieces);
            }
            editPlacedText(wholeTextEdits(placed_, read), text::kStepOpen);
        }
        if (status.ok() && opened) {
            opened();
        }
    }
    if (status.ok()) {
        history_->setClean();
        endReplacement(path);
    }
    return status;
}

void EditorDocument::replaceWithUntitled(const VectorSet& vectors, const char* stepName) {
    endVector();
    {
        StepScope step(*history_, stepName);
        document_.replaceAll(vectors);
        editPlacedText(wholeTextEdits(placed_, {}), stepName);
    }
    endReplacement({});
}

FileStatus EditorDocument::save(const QString& path) {
    // The file on disk is left as it was when the save fails.
    FileStatus status = saveVectorFile(toFilePath(path), document_.vectors());
    if (status.ok()) {
        status = savePlacedText(toFilePath(path), placed_);
    }
    if (status.ok()) {
        placedTextFailure_.reset();
        emit drawingSaved(path);
        history_->setClean();
        setFilePath(path);
    }
    return status;
}

void EditorDocument::startHistoryHere() {
    history_->clearSteps();
}

void EditorDocument::setFilePath(const QString& path) {
    if (path != filePath_) {
        const QString before = std::exchange(filePath_, path);
        emit filePathChanged(filePath_, before);
    }
}

void EditorDocument::setGrid(const GridSettings& grid) {
    if (grid.gridEnabled != grid_.gridEnabled || grid.gridSize != grid_.gridSize) {
        const GridSettings before = std::exchange(grid_, grid);
        emit gridChanged(grid_, before);
    }
}

void EditorDocument::setRenderSettings(const RenderSettings& settings) {
    const RenderSettings before = std::exchange(renderSettings_, settings);
    emit renderSettingsChanged(renderSettings_, before);
}

void EditorDocument::setBoardProfile(int profile) {
    if (profile != boardProfile_) {
        const int before = std::exchange(boardProfile_, profile);
        emit boardProfileChanged(boardProfile_, before);
    }
}

void EditorDocument::setTrimMargins(bool trim) {
    if (trim != trimMargins_) {
        trimMargins_ = trim;
        emit trimMarginsChanged(trim);
    }
}

void EditorDocument::advanceDots(const RandomGenerator& after) {
    random_ = after;
    emit dotsAdvanced();
}

void EditorDocument::setRenderTarget(const QString& path, const QString& extension) {
    const RenderTarget target{path, extension, false};
    if (target != renderTarget_) {
        const RenderTarget before = std::exchange(renderTarget_, target);
        emit renderTargetChanged(renderTarget_, before);
    }
}

int EditorDocument::addPiece(PlacedPiece piece, const char* stepName) {
    const int index = static_cast<int>(placed_.size());
    editPlacedText({{index, std::nullopt, std::move(piece)}}, stepName);
    return index;
}

void EditorDocument::replacePiece(int index, PlacedPiece after, const char* stepName) {
    if (index < 0 || index >= static_cast<int>(placed_.size()) || placed_[index] == after) {
        return;
    }
    editPlacedText({{index, placed_[index], std::move(after)}}, stepName);
}

void EditorDocument::showPiece(int index, const PlacedPiece& shown) {
    if (index >= 0 && index < static_cast<int>(placed_.size()) && placed_[index] != shown) {
        placed_[index] = shown;
        emit placedTextChanged();
    }
}

void EditorDocument::commitPieceMove(int index, const PlacedPiece& before) {
    if (index < 0 || index >= static_cast<int>(placed_.size()) || placed_[index] == before) {
        return;
    }
    // The step goes from where the drag began; the piece is already where it ends.
    const PlacedPiece after = placed_[index];
    placed_[index] = before;
    editPlacedText({{index, before, after}}, text::kStepMovePiece);
}

void EditorDocument::nudgePiece(int index, int dx, int dy) {
    if (index < 0 || index >= static_cast<int>(placed_.size())) {
        return;
    }
    PlacedPiece after = placed_[index];
    after.x += dx;
    // Whole rows, keeping the piece's pixel inside its row.
    after.y += dy * 16;
    const bool startsRun = !continuesRun(&placed_[index]) || history_->clean();
    editPlacedText({{index, placed_[index], std::move(after)}}, text::kStepMovePiece,
                   kPieceNudgeStep, startsRun);
}

void EditorDocument::deletePiece(int index) {
    if (index >= 0 && index < static_cast<int>(placed_.size())) {
        editPlacedText({{index, placed_[index], std::nullopt}}, text::kStepDeletePiece);
    }
}

void EditorDocument::selectPiece(int index) {
    if (index < -1 || index >= static_cast<int>(placed_.size())) {
        index = -1;
    }
    if (index != selectedPiece_) {
        const int before = std::exchange(selectedPiece_, index);
        emit pieceSelectionChanged(selectedPiece_, before);
        emit editingStateChanged();
    }
}

void EditorDocument::editPlacedText(std::vector<PieceEdit> edits, const char* stepName,
                                    int mergeId, bool startsRun) {
    if (edits.empty()) {
        return;
    }
    applyPlacedEdits(edits, true);
    history_->pushSideStep(new PlacedTextStep(
        [this](const std::vector<PieceEdit>& e, bool forward) { applyPlacedEdits(e, forward); },
        std::move(edits), QString::fromUtf8(stepName), mergeId, startsRun));
}

void EditorDocument::applyPlacedEdits(const std::vector<PieceEdit>& edits, bool forward) {
    applyPieceEdits(placed_, edits, forward);
    if (selectedPiece_ >= static_cast<int>(placed_.size())) {
        selectPiece(-1);
    }
    emit placedTextChanged();
}

void EditorDocument::setPicture(const TraceImageState& picture) {
    // A step's first redo shows again what its change already showed.
    if (picture == picture_) {
        return;
    }
    const TraceImageState before = std::exchange(picture_, picture);
    emit pictureChanged(picture_, before);
}

void EditorDocument::showPicture(const TraceImageState& shown) {
    setPicture(shown);
}

void EditorDocument::changePicture(const TraceImageState& after, const char* stepName) {
    if (after == picture_) {
        return;
    }
    const TraceImageState before = picture_;
    setPicture(after);
    history_->pushSideStep(new PictureStep([this](const TraceImageState& s) { setPicture(s); },
                                           before, after, QString::fromUtf8(stepName),
                                           DocumentStep::kNoMerge, true));
}

void EditorDocument::nudgePicture(QPointF by) {
    TraceImageState after = picture_;
    after.settings.offset += by;
    const TraceImageState before = picture_;
    // A merge into the saved state would leave the mark of a saved drawing on a changed one.
    const bool startsRun = !continuesRun(&picture_) || history_->clean();
    setPicture(after);
    history_->pushSideStep(new PictureStep([this](const TraceImageState& s) { setPicture(s); },
                                           before, after, QString::fromUtf8(text::kStepMoveImage),
                                           kPictureNudgeStep, startsRun));
}

}  // namespace penmoji
