// SPDX-License-Identifier: MIT
#include <QPaintEvent>
#include <QPainter>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

#include "canvas/canvas_cursors.h"
#include "canvas/edit_canvas.h"
#include "canvas/editor_document.h"
#include "canvas/preview/char_width_table.h"

namespace penmoji {
namespace {

const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kGrey(192, 192, 192);
const QColor kMagenta(255, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kLightBlue(192, 192, 255);

// What the canvas reads, as the program hands it over.
struct CanvasState {
    EditorDocument model;
    CharWidthTable charWidths;

    Document& document() { return model.document(); }
    const VectorLine& line(int slot) { return model.vectors().lines[slot]; }
};

// The canvas with a client area of exactly `client`, the preview out of the way.
std::unique_ptr<CEditCanvas> makeCanvas(CanvasState& state, QSize client) {
    auto canvas = std::make_unique<CEditCanvas>(state.model, state.charWidths);
    const int edge = canvas->frameWidth();
    canvas->resize(client + QSize(2 * edge, 2 * edge));
    canvas->preview().hide();
    canvas->show();
    return canvas;
}

QImage clientImage(CEditCanvas& canvas) {
    return canvas.grab(canvas.contentsRect()).toImage().convertToFormat(QImage::Format_RGB32);
}

QColor colourAt(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

enum class CursorPixel { Transparent, White, Black };

// A monochrome cursor's set bits are black, in the picture and in the mask alike.
CursorPixel cursorPixel(const QCursor& cursor, QPoint p) {
    const bool shown = cursor.mask().toImage().pixelColor(p) == QColor(Qt::black);
    const bool black = cursor.bitmap().toImage().pixelColor(p) == QColor(Qt::black);
    return !shown ? CursorPixel::Transparent : black ? CursorPixel::Black : CursorPixel::White;
}

// Widget position of a canvas pixel.
QPoint at(const CEditCanvas& canvas, int x, int y) {
    return canvas.contentsRect().topLeft() + QPoint(x, y);
}

// The areas the canvas asked to have painted while it records.
class PaintRecorder : public QObject {
public:
    bool recording = false;
    QRegion painted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (recording && event->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent*>(event)->region();
        }
        return QObject::eventFilter(watched, event);
    }
};

// Changes to what the canvas shows, made after a drawing of three vectors with boxes and text
// art was painted.
struct CanvasChange {
    const char* name;
    int zoom;
    std::function<void(CEditCanvas&, EditorDocument&)> make;
    // A grey picture to draw over at (100, 50), 40 by 30 pixels.
    bool picture = false;
};

const Point kFirst[] = {{10, 10}, {60, 30}, {110, 12}};
const Point kSecond[] = {{20, 60}, {40, 90}};
const Point kThird[] = {{130, 70}, {150, 40}, {170, 90}};

GlyphBoxList boxesAt(std::initializer_list<int> lefts) {
    GlyphBoxList boxes;
    for (int x : lefts) {
        boxes.addBox(x, 16, 11);
    }
    return boxes;
}

const std::vector<CanvasChange>& canvasChanges() {
    static const std::vector<CanvasChange> changes = {
        {"a point moves", 1,
         [](CEditCanvas&, EditorDocument& d) {
             d.document().setPoint(0, 1, {70, 50});
         }},
        {"a vector moves", 1,
         [](CEditCanvas&, EditorDocument& d) {
             const Point moved[] = {{60, 60}, {80, 95}};
             d.document().setVector(1, moved);
         }},
        {"a vector goes", 1, [](CEditCanvas&, EditorDocument& d) { d.document().deleteVector(2); }},
        {"a click selects a vector", 1,
         [](CEditCanvas& c, EditorDocument&) {
             QTest::mouseClick(&c, Qt::LeftButton, {}, at(c, 40, 90));
         }},
        {"the floating end follows the mouse", 1,
         [](CEditCanvas& c, EditorDocument& d) {
             d.newVector();
             QTest::mouseClick(&c, Qt::LeftButton, {}, at(c, 90, 80));
             QTest::mouseMove(&c, at(c, 150, 20));
         }},
        {"a new rendering", 1,
         [](CEditCanvas& c, EditorDocument&) {
             c.setGlyphBoxes(boxesAt({30, 80}));
             const PlacedGlyph glyphs[] = {{30, 16, 0x8148}, {100, 32, 'X'}};
             c.setTextArt(glyphs);
         }},
        {"a point moves, zoomed in", 2,
         [](CEditCanvas&, EditorDocument& d) {
             d.document().setPoint(0, 0, {30, 40});
         }},
        {"the picture is dragged", 1,
         [](CEditCanvas& c, EditorDocument&) {
             const Qt::KeyboardModifiers keys = Qt::ControlModifier | Qt::AltModifier;
             QTest::mousePress(&c, Qt::LeftButton, keys, at(c, 110, 60));
             QTest::mouseMove(&c, at(c, 130, 75));
             QTest::mouseRelease(&c, Qt::LeftButton, keys, at(c, 130, 75));
         },
         true},
    };
    return changes;
}

}  // namespace

class EditCanvasTest : public QObject {
    Q_OBJECT

private slots:
    void init() { state_ = std::make_unique<CanvasState>(); }

    void gridLinesStartAtOneStep_data() {
        QTest::addColumn<bool>("guides");
        QTest::newRow("guide lines on") << true;
        QTest::newRow("guide lines off: no grid, only snapping") << false;
    }

    void gridLinesStartAtOneStep() {
        QFETCH(bool, guides);
        auto canvas = makeCanvas(*state_, {100, 50});
        state_->model.setGrid({true, 8});
        canvas->setShowGuides(guides);
        const QImage image = clientImage(*canvas);
        QCOMPARE(image.size(), QSize(100, 50));
        for (int y = 0; y < 50; ++y) {
            const bool line = guides && y > 0 && y % 8 == 0;
            QCOMPARE(colourAt(image, 3, y), line ? kGrey : kWhite);
        }
        for (int x = 0; x < 100; ++x) {
            const bool line = guides && x > 0 && x % 8 == 0;
            QCOMPARE(colourAt(image, x, 3), line ? kGrey : kWhite);
        }
    }

    void firstPaintFillsTheWidthTable() {
        auto canvas = makeCanvas(*state_, {100, 50});
        QVERIFY(!state_->charWidths.filled());
        clientImage(*canvas);
        QVERIFY(state_->charWidths.filled());
    }

    void selectionIsMagentaWhileDrawingAndRedAfter() {
        auto canvas = makeCanvas(*state_, {100, 50});
        state_->model.newVector();
        QTest::mouseClick(canvas.get(), Qt::LeftButton, {}, at(*canvas, 10, 20));
        QTest::mouseClick(canvas.get(), Qt::LeftButton, {}, at(*canvas, 80, 20));
        QTest::mouseMove(canvas.get(), at(*canvas, 80, 40));
        QImage image = clientImage(*canvas);
        QCOMPARE(colourAt(image, 45, 20), kMagenta);
        QCOMPARE(colourAt(image, 80, 30), kMagenta);  // the floating end segment

        QTest::mouseClick(canvas.get(), Qt::RightButton, {}, at(*canvas, 80, 40));
        image = clientImage(*canvas);
        QCOMPARE(colourAt(image, 45, 20), kRed);
        QCOMPARE(colourAt(image, 80, 30), kWhite);

        QTest::mouseClick(canvas.get(), Qt::LeftButton, {}, at(*canvas, 45, 40));
        QCOMPARE(colourAt(clientImage(*canvas), 45, 20), kBlack);
    }

    void lonePointShowsOnlyItsMark() {
        const Point point[] = {{50, 25}};
        state_->document().setVector(4, point);
        auto canvas = makeCanvas(*state_, {100, 50});
        QImage image = clientImage(*canvas);
        QCOMPARE(colourAt(image, 46, 25), kBlack);
        QCOMPARE(colourAt(image, 54, 21), kBlack);
        QCOMPARE(colourAt(image, 50, 25), kWhite);
        canvas->setShowGuides(false);
        image = clientImage(*canvas);
        for (int y = 0; y < 50; ++y) {
            for (int x = 0; x < 100; ++x) {
                QCOMPARE(colourAt(image, x, y), kWhite);
            }
        }
    }

    void glyphBoxesLieOverTheVectors() {
        const Point points[] = {{20, 0}, {20, 49}};
        state_->document().setVector(0, points);
        GlyphBoxList boxes;
        boxes.addBox(20, 10, 16);
        auto canvas = makeCanvas(*state_, {100, 50});
        canvas->setGlyphBoxes(boxes);
        QImage image = clientImage(*canvas);
        QCOMPARE(colourAt(image, 20, 5), kBlack);
        QCOMPARE(colourAt(image, 20, 18), kLightBlue);
        QCOMPARE(colourAt(image, 36, 18), kLightBlue);
        QCOMPARE(colourAt(image, 28, 26), kLightBlue);
        canvas->setShowGuides(false);
        QCOMPARE(colourAt(clientImage(*canvas), 20, 18), kBlack);
    }

    // Art only: the vector, its marks, the glyph box and the grid are gone, the characters are
    // black; switched back, all returns and the characters are their soft colour again.
    void artOnlyShowsTheArtAloneInBlack_data() {
        QTest::addColumn<int>("zoom");
        QTest::newRow("100 %") << 1;
        QTest::newRow("200 %") << 2;
    }

    void artOnlyShowsTheArtAloneInBlack() {
        QFETCH(int, zoom);
        const Point points[] = {{70, 0}, {70, 49}};
        state_->document().setVector(0, points);
        auto canvas = makeCanvas(*state_, {100 * zoom, 50 * zoom});
        canvas->setZoom(zoom);
        state_->model.setGrid({true, 8});
        GlyphBoxList boxes;
        boxes.addBox(0, 0, 16);
        canvas->setGlyphBoxes(boxes);
        const PlacedGlyph glyphs[] = {{0, 0, 'W'}};
        canvas->setTextArt(glyphs);
        const auto colours = [&](const QImage& image) {
            QSet<QRgb> found;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    found.insert(image.pixel(x, y));
                }
            }
            return found;
        };
        const QImage normal = clientImage(*canvas);
        QCOMPARE(colourAt(normal, 70 * zoom, 20 * zoom), kBlack);

        canvas->setArtOnly(true);
        const QImage artOnly = clientImage(*canvas);
        QCOMPARE(colourAt(artOnly, 70 * zoom, 20 * zoom), kWhite);
        QVERIFY(!colours(artOnly).contains(kLightBlue.rgb()));
        // The character's pixels are black (and its smoothed edge grey), nothing else is drawn.
        QVERIFY(colours(artOnly).contains(kBlack.rgb()));
        for (QRgb colour : colours(artOnly)) {
            QCOMPARE(qRed(colour), qBlue(colour));
        }
        for (int y = 16 * zoom; y < artOnly.height(); ++y) {
            for (int x = 0; x < artOnly.width(); ++x) {
                QCOMPARE(colourAt(artOnly, x, y), kWhite);
            }
        }

        canvas->setArtOnly(false);
        QCOMPARE(clientImage(*canvas), normal);
    }

    void drawingGrabsTheMouseWithItsOwnCursor() {
        auto canvas = makeCanvas(*state_, {100, 50});
        QSignalSpy states(&state_->model, &EditorDocument::editingStateChanged);
        state_->model.newVector();
        QVERIFY(canvas->editor().drawing());
        QCOMPARE(QWidget::mouseGrabber(), canvas.get());
        QCOMPARE(canvas->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(canvas->cursor().hotSpot(), QPoint(6, 5));

        // Positions beyond the client area, negative ones included, are used as they come.
        QTest::mousePress(canvas.get(), Qt::LeftButton, {}, at(*canvas, -30, 70));
        QCOMPARE(state_->line(0).points[0], (Point{-30, 70}));

        QTest::mousePress(canvas.get(), Qt::RightButton, {}, at(*canvas, 5, 5));
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
        QCOMPARE(canvas->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!canvas->editor().drawing());
        QCOMPARE(states.count(), 2);
    }

    void moveGrabsTheMouseWithThePin() {
        const Point points[] = {{10, 10}, {50, 10}};
        state_->document().setVector(0, points);
        const VectorLine& line = state_->line(0);
        auto canvas = makeCanvas(*state_, {100, 50});
        QTest::mousePress(canvas.get(), Qt::LeftButton, Qt::ShiftModifier, at(*canvas, 30, 11));
        QCOMPARE(QWidget::mouseGrabber(), canvas.get());
        QCOMPARE(canvas->cursor().hotSpot(), QPoint(16, 15));
        QTest::mouseMove(canvas.get(), at(*canvas, 20, 21));
        QCOMPARE(line.points[1], (Point{40, 20}));
        QTest::mouseRelease(canvas.get(), Qt::LeftButton, {}, at(*canvas, 20, 21));
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
        QCOMPARE(canvas->cursor().shape(), Qt::ArrowCursor);
    }

    // Through the window, so that Qt itself turns the second press into a double click.
    void doubleClickAddsOnePoint() {
        auto canvas = makeCanvas(*state_, {100, 50});
        QVERIFY(QTest::qWaitForWindowExposed(canvas.get()));
        state_->model.newVector();
        QTest::mouseDClick(canvas->windowHandle(), Qt::LeftButton, {}, at(*canvas, 30, 30));
        QCOMPARE(state_->line(0).count, 1);
    }

    void cursorsAreWhiteOutlinedInBlack() {
        const QCursor cross = makeDrawCursor();
        QCOMPARE(cross.hotSpot(), QPoint(6, 5));
        QCOMPARE(cursorPixel(cross, {6, 5}), CursorPixel::White);  // the centre of the cross
        QCOMPARE(cursorPixel(cross, {6, 0}), CursorPixel::Black);
        QCOMPARE(cursorPixel(cross, {2, 1}), CursorPixel::Transparent);
        const QCursor pin = makeDragCursor();
        QCOMPARE(pin.hotSpot(), QPoint(16, 15));
        QCOMPARE(cursorPixel(pin, {16, 15}), CursorPixel::Black);  // the point shows exactly
        QCOMPARE(cursorPixel(pin, {26, 25}), CursorPixel::White);  // inside the head
        QCOMPARE(cursorPixel(pin, {15, 15}), CursorPixel::Transparent);
        QCOMPARE(cursorPixel(pin, {2, 2}), CursorPixel::Transparent);
    }

    // A change repaints only part of the canvas; every pixel it alters must lie in that part.
    void aChangeRepaintsAllItAlters_data() {
        QTest::addColumn<int>("change");
        for (std::size_t i = 0; i < canvasChanges().size(); ++i) {
            QTest::newRow(canvasChanges()[i].name) << static_cast<int>(i);
        }
    }

    void aChangeRepaintsAllItAlters() {
        QFETCH(int, change);
        const CanvasChange& made = canvasChanges()[static_cast<std::size_t>(change)];
        state_->document().setVector(0, kFirst);
        state_->document().setVector(1, kSecond);
        state_->document().setVector(2, kThird);
        auto canvas = makeCanvas(*state_, {200, 120});
        canvas->setZoom(made.zoom);
        if (made.picture) {
            QImage picture(40, 30, QImage::Format_RGB32);
            picture.fill(QColor(90, 90, 90));
            TraceImageState shown{picture, {}};
            shown.settings.offset = QPointF(100, 50);
            shown.settings.opacity = 1.0;
            state_->model.showPicture(shown);
        }
        canvas->setGlyphBoxes(boxesAt({30, 60}));
        const PlacedGlyph glyphs[] = {{30, 16, 0x8148}, {60, 16, 'A'}};
        canvas->setTextArt(glyphs);
        QVERIFY(QTest::qWaitForWindowExposed(canvas.get()));
        QCoreApplication::processEvents();
        const QImage before = canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);

        PaintRecorder recorder;
        canvas->installEventFilter(&recorder);
        recorder.recording = true;
        made.make(*canvas, state_->model);
        QCoreApplication::processEvents();
        recorder.recording = false;
        const QImage after = canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);

        int altered = 0;
        for (int y = 0; y < after.height(); ++y) {
            for (int x = 0; x < after.width(); ++x) {
                if (before.pixel(x, y) != after.pixel(x, y)) {
                    ++altered;
                    QVERIFY2(recorder.painted.contains(QPoint(x, y)),
                             qPrintable(QString("(%1, %2) altered, not repainted").arg(x).arg(y)));
                }
            }
        }
        QVERIFY(altered > 0);
        // Not the whole canvas: that is what the partial repaint is for.
        QVERIFY(recorder.painted.boundingRect() != canvas->contentsRect());
    }

    // A rendering drawn over the last one looks exactly as if drawn afresh.
    void textArtChangedRowByRowLooksAsDrawnAfresh() {
        const PlacedGlyph first[] = {{0, 0, 0x8148}, {20, 0, 'A'}, {0, 16, 'B'}, {40, 32, 'C'}};
        const PlacedGlyph second[] = {{0, 0, 0x8148}, {24, 0, 'D'}, {40, 32, 'E'}, {8, 48, 'F'}};
        const PlacedGlyph sameBounds[] = {
            {0, 0, 0x8148}, {24, 0, 'G'}, {40, 32, 'E'}, {8, 48, 'F'}};
        auto image = [](const TextArtLayer& layer) {
            QImage picture(80, 80, QImage::Format_ARGB32_Premultiplied);
            picture.fill(Qt::white);
            QPainter painter(&picture);
            layer.paint(painter);
            return picture;
        };
        TextArtLayer changed;
        changed.setGlyphs(first);
        changed.setGlyphs(second);
        const QRegion lastChange = changed.setGlyphs(sameBounds);
        TextArtLayer fresh;
        fresh.setGlyphs(sameBounds);
        QCOMPARE(image(changed), image(fresh));
        // Only the cells that changed: the first row's second glyph.
        QVERIFY(lastChange.contains(QPoint(30, 8)));
        QVERIFY(!lastChange.contains(QPoint(5, 8)));
        QVERIFY(!lastChange.contains(QPoint(45, 40)));
    }

private:
    std::unique_ptr<CanvasState> state_;
};

}  // namespace penmoji

QTEST_MAIN(penmoji::EditCanvasTest)
#include "edit_canvas_test.moc"
