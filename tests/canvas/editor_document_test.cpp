// SPDX-License-Identifier: MIT
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

#include "canvas/editor_document.h"
#include "document/placed_text_file.h"

namespace penmoji {
namespace {

PlacedPiece piece(std::int32_t x, std::int32_t y, std::vector<std::vector<std::int32_t>> rows) {
    return {x, y, std::move(rows)};
}

bool sameLine(const VectorLine& line, std::initializer_list<Point> points) {
    return line.count == static_cast<int>(points.size()) &&
           std::equal(points.begin(), points.end(), line.points.begin());
}

}  // namespace

class EditorDocumentTest : public QObject {
    Q_OBJECT

private slots:
    void init() { document_ = std::make_unique<EditorDocument>(); }

    // The history takes what each change replaced from the change itself: a step that edits a
    // slot and then replaces the whole drawing goes back to the drawing before both.
    void aStepUndoesEveryChangeInIt() {
        const Point two[] = {{1, 1}, {2, 2}};
        document_->document().setVector(3, two);
        document_->startHistoryHere();
        DocumentHistory& history = document_->history();

        history.beginStep(QStringLiteral("step"));
        document_->document().setPoint(3, 0, {9, 9});
        auto replacement = std::make_unique<VectorSet>();
        replacement->lines[5].count = 1;
        replacement->lines[5].points[0] = {4, 4};
        document_->document().replaceAll(*replacement);
        document_->document().appendPoint(5, {6, 6});
        history.endStep();
        QCOMPARE(history.stack().count(), 1);

        history.undo();
        QVERIFY(sameLine(document_->vectors().lines[3], {{1, 1}, {2, 2}}));
        QCOMPARE(document_->vectors().lines[5].count, 0);
        history.redo();
        QCOMPARE(document_->vectors().lines[3].count, 0);
        QVERIFY(sameLine(document_->vectors().lines[5], {{4, 4}, {6, 6}}));
    }

    // Each change says what it replaced, so that no listener keeps a copy to find out.
    void changesCarryTheOldValue() {
        QSignalSpy grids(document_.get(), &EditorDocument::gridChanged);
        document_->setGrid({true, 12});
        document_->setGrid({true, 12});  // no change, no signal
        QCOMPARE(grids.count(), 1);
        QCOMPARE(grids[0][1].value<GridSettings>().gridEnabled, false);
        QCOMPARE(grids[0][0].value<GridSettings>().gridSize, 12);

        QSignalSpy targets(document_.get(), &EditorDocument::renderTargetChanged);
        document_->setRenderTarget(QStringLiteral("/a.txt"), QStringLiteral("txt"));
        document_->setRenderTarget(QStringLiteral("/b.html"), QStringLiteral("html"));
        QCOMPARE(targets.count(), 2);
        QCOMPARE(targets[1][1].value<RenderTarget>().path, QStringLiteral("/a.txt"));
        // Another drawing makes the file hold an earlier drawing's art.
        document_->initialise();
        QCOMPARE(targets.count(), 3);
        QVERIFY(targets[2][0].value<RenderTarget>().ofEarlierDrawing);
        QVERIFY(!targets[2][1].value<RenderTarget>().ofEarlierDrawing);

        QTemporaryDir dir;
        QSignalSpy paths(document_.get(), &EditorDocument::filePathChanged);
        const QString first = dir.filePath(QStringLiteral("one.pmj"));
        const QString second = dir.filePath(QStringLiteral("two.pmj"));
        QVERIFY(document_->save(first).ok());
        QVERIFY(document_->save(second).ok());
        QCOMPARE(paths.count(), 2);
        QCOMPARE(paths[1][0].toString(), second);
        QCOMPARE(paths[1][1].toString(), first);

        QSignalSpy pictures(document_.get(), &EditorDocument::pictureChanged);
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::black);
        document_->changePicture({image, {}}, "open");
        document_->history().undo();
        QCOMPARE(pictures.count(), 2);
        QVERIFY(pictures[1][0].value<TraceImageState>().image.isNull());
        QCOMPARE(pictures[1][1].value<TraceImageState>().image, image);
    }


    // Every action on the pieces is one step, undone and redone as it was made, with the
    // modified mark following; a run of nudges is one step.
    void eachPieceActionIsOneStep() {
        const PlacedPiece face = piece(10, 40, {{0x8281, 0x20, 0x8282}, {kPlacedEnSpaceCode, 0x41}});
        const PlacedPiece sign = piece(100, 5, {{0x41}});
        QSignalSpy changes(document_.get(), &EditorDocument::placedTextChanged);
        QCOMPARE(document_->addPiece(face, "paste"), 0);
        QCOMPARE(document_->addPiece(sign, "paste"), 1);
        QVERIFY(document_->isModified());
        document_->replacePiece(1, piece(100, 5, {{0x42}}), "replace");
        document_->nudgePiece(0, 1, 0);
        document_->nudgePiece(0, 0, 1);  // a row down, within the same run
        document_->deletePiece(1);
        QCOMPARE(document_->history().stack().count(), 5);
        QCOMPARE(document_->placedText(), (PlacedText{piece(11, 56, face.rows)}));
        QCOMPARE(changes.count(), 6);

        const PlacedText states[] = {
            {piece(11, 56, face.rows), piece(100, 5, {{0x42}})},
            {face, piece(100, 5, {{0x42}})},
            {face, sign},
            {face},
            {},
        };
        for (const PlacedText& expected : states) {
            document_->undo();
            QCOMPARE(document_->placedText(), expected);
        }
        QVERIFY(!document_->isModified());
        for (int i = 0; i < 5; ++i) {
            document_->redo();
        }
        QCOMPARE(document_->placedText(), (PlacedText{piece(11, 56, face.rows)}));

        // A drag is one step from where it began, however many moves it showed.
        document_->selectPiece(0);
        const PlacedPiece before = document_->placedText()[0];
        document_->showPiece(0, piece(20, 56, face.rows));
        document_->showPiece(0, piece(30, 72, face.rows));
        document_->commitPieceMove(0, before);
        document_->undo();
        QCOMPARE(document_->placedText()[0], before);
        document_->redo();
        QCOMPARE(document_->placedText()[0], piece(30, 72, face.rows));
        // Undoing the piece's arrival leaves nothing selected.
        for (int i = 0; i < 7; ++i) {
            document_->undo();
        }
        QVERIFY(document_->placedText().empty());
        QCOMPARE(document_->selectedPiece(), -1);
    }

    // The pieces go beside the drawing and come back with it; a drawing without pieces leaves
    // no file, and removes one left from before.
    void piecesSaveAndOpenWithTheDrawing() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("face.pmj"));
        const Point two[] = {{1, 1}, {50, 50}};
        document_->document().setVector(0, two);
        const PlacedText pieces = {piece(3, 20, {{0x8148, kPlacedThinSpaceCode, 0x30}}),
                                   piece(-8, 700, {{0x41}, {}, {0x42}})};
        for (const PlacedPiece& p : pieces) {
            document_->addPiece(p, "paste");
        }
        QVERIFY(document_->save(path).ok());
        QVERIFY(!document_->isModified());

        EditorDocument opened;
        QVERIFY(opened.load(path).ok());
        QCOMPARE(opened.placedText(), pieces);
        QVERIFY(!opened.placedTextFailure());
        QVERIFY(!opened.isModified());
        // Opening is one step: undo brings back the empty drawing without pieces.
        opened.undo();
        QVERIFY(opened.placedText().empty());
        opened.redo();
        QCOMPARE(opened.placedText(), pieces);

        // Initialise clears them; the drawing saved without pieces has no file beside it.
        opened.initialise();
        QVERIFY(opened.placedText().empty());
        QVERIFY(!opened.isModified());
        QVERIFY(opened.save(path).ok());
        QVERIFY(!QFile::exists(path + QStringLiteral(".placed")));
        QVERIFY(document_->load(path).ok());
        QVERIFY(document_->placedText().empty());
    }

    // A damaged file of pieces: the drawing opens without them, the failure is told, and the
    // file stays as it was until the user saves.
    void damagedPiecesStillOpenTheDrawing() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("d.pmj"));
        const Point two[] = {{1, 1}, {50, 50}};
        document_->document().setVector(2, two);
        document_->addPiece(piece(0, 0, {{0x41}}), "paste");
        QVERIFY(document_->save(path).ok());
        QFile sidecar(path + QStringLiteral(".placed"));
        QVERIFY(sidecar.open(QIODevice::ReadWrite));
        const QByteArray bytes = sidecar.readAll();
        QVERIFY(sidecar.resize(bytes.size() - 2));
        sidecar.close();

        EditorDocument opened;
        QVERIFY(opened.load(path).ok());
        QCOMPARE(opened.vectors().lines[2].count, 2);
        QVERIFY(opened.placedText().empty());
        QVERIFY(opened.placedTextFailure().has_value());
        QCOMPARE(opened.placedTextFailure()->error(), FileError::Damaged);
        QVERIFY(!opened.isModified());
        QCOMPARE(QFileInfo(sidecar.fileName()).size(), bytes.size() - 2);
        // Saving is the user's word: the pieces are as the editor shows them.
        QVERIFY(opened.save(path).ok());
        QVERIFY(!opened.placedTextFailure());
        QVERIFY(!QFile::exists(sidecar.fileName()));
    }

private:
    std::unique_ptr<EditorDocument> document_;
};

}  // namespace penmoji

QTEST_MAIN(penmoji::EditorDocumentTest)
#include "editor_document_test.moc"
