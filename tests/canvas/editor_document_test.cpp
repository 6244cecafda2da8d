// SPDX-License-Identifier: MIT
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

#include "canvas/editor_document.h"

namespace penmoji {
namespace {

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

private:
    std::unique_ptr<EditorDocument> document_;
};

}  // namespace penmoji

QTEST_MAIN(penmoji::EditorDocumentTest)
#include "editor_document_test.moc"
