// SPDX-License-Identifier: MIT
#include <QFontInfo>
#include <QScrollBar>
#include <QTest>

#include <memory>
#include <string>

#include "canvas/edit_canvas.h"
#include "canvas/editor_document.h"
#include "canvas/preview/char_width_table.h"
#include "canvas/preview/preview_text_view.h"
#include "canvas/preview/preview_window.h"
#include "interchange/art_font.h"

namespace penmoji {
namespace {

const QColor kBackground(192, 192, 192);
const QColor kEntityBlock(160, 192, 160);
const QColor kHalfSpaceBlock(192, 192, 160);

bool isDark(QColor c) {
    return c.lightness() < 96;
}

// The columns of line `top` in which `colour` fills the whole line height.
QList<int> blockColumns(const QImage& image, int top, int lineHeight, QColor colour) {
    QList<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        bool whole = true;
        for (int y = top; y < top + lineHeight && whole; ++y) {
            whole = image.pixelColor(x, y) == colour;
        }
        if (whole) {
            columns.append(x);
        }
    }
    return columns;
}

QList<int> range(int from, int count) {
    QList<int> r;
    for (int i = 0; i < count; ++i) {
        r.append(from + i);
    }
    return r;
}

}  // namespace

class PreviewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        table_ = std::make_unique<CharWidthTable>();
        QCOMPARE(table_->WidthOf(0x8140), 0);
        table_->FillFromFont(artFont());
    }

    void fontIsTheSixteenPixelFace() {
        const QFontInfo info(artFont());
        QCOMPARE(info.pixelSize(), 16);
        QCOMPARE(info.family(), QStringLiteral("Mona"));
    }

    void widthTable_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("width");
        QTest::newRow("full-width space") << 0x8140 << 11;
        QTest::newRow("half-width space") << 0x20 << 5;
        QTest::newRow("dot") << 0x2E << 3;
        QTest::newRow("first two-byte code of the table") << 0x8140 << 11;
        QTest::newRow("last single-byte code, no character") << 0xFE << 0;
        QTest::newRow("line feed is not in the table") << 0x0A << 0;
        QTest::newRow("lead byte cut off") << 0x8100 << 0;
        QTest::newRow("beyond the table") << 0xFCFF << 0;
    }

    void widthTable() {
        QFETCH(int, code);
        QFETCH(int, width);
        QCOMPARE(table_->WidthOf(code), width);
    }

    void widthTableIsMeasuredOnce() {
        QCOMPARE(table_->lineHeight(), 18);
        QFont big = artFont();
        big.setPixelSize(32);
        table_->FillFromFont(big);
        QCOMPARE(table_->WidthOf(0x8140), 11);
        QCOMPARE(table_->lineHeight(), 18);
        QVERIFY(table_->WidthOf(0x82A0) > 0);  // あ
    }

    void emptyPreviewIsGrey() {
        const QImage image = paintPreviewText("", *table_, {60, 40});
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 60; ++x) {
                QCOMPARE(image.pixelColor(x, y), kBackground);
            }
        }
    }

    void nbspThenLetter() {
        const QImage image = paintPreviewText("&nbsp;A", *table_, {60, 40});
        QCOMPARE(blockColumns(image, 0, 18, kEntityBlock), range(0, 5));
        int firstInk = -1, lastInk = -1;
        for (int x = 0; x < image.width(); ++x) {
            for (int y = 0; y < 18; ++y) {
                if (isDark(image.pixelColor(x, y))) {
                    firstInk = firstInk < 0 ? x : firstInk;
                    lastInk = x;
                }
            }
        }
        QVERIFY(firstInk >= 5);
        QVERIFY(lastInk >= 0 && lastInk < 5 + table_->WidthOf('A'));
    }

    // Where a blank block of the text lands shows how the walk read everything before it.
    void walk_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("width");
        const auto w = [this](int code) { return table_->WidthOf(code); };
        QTest::newRow("en space") << QByteArray("&ensp;") << kEntityBlock << 0 << 0 << 8;
        QTest::newRow("thin space") << QByteArray("&thinsp;") << kEntityBlock << 0 << 0 << 2;
        QTest::newRow("half-width space")
            << QByteArray("A ") << kHalfSpaceBlock << 0 << w('A') << 5;
        QTest::newRow("full-width space takes its width")
            << QByteArray("\x81\x40&nbsp;") << kEntityBlock << 0 << 11 << 5;
        QTest::newRow("two-byte character")
            << QByteArray("\x82\xA0&nbsp;") << kEntityBlock << 0 << w(0x82A0) << 5;
        QTest::newRow("CR LF starts a line")
            << QByteArray("AB\r\n&nbsp;") << kEntityBlock << 1 << 0 << 5;
        QTest::newRow("CR alone starts a line")
            << QByteArray("AB\r&nbsp;") << kEntityBlock << 1 << 0 << 5;
        QTest::newRow("lines are lineHeight apart")
            << QByteArray("\r\n\r&nbsp;") << kEntityBlock << 2 << 0 << 5;
        QTest::newRow("LF alone has no width")
            << QByteArray("&nbsp;\n&ensp;") << kEntityBlock << 0 << 0 << 13;
        QTest::newRow("other ampersands are characters")
            << QByteArray("&amp;&nbsp;") << kEntityBlock << 0
            << w('&') + w('a') + w('m') + w('p') + w(';') << 5;
        QTest::newRow("0xFC is a single byte")
            << QByteArray("\xFC&nbsp;") << kEntityBlock << 0 << w(0xFC) << 5;
        QTest::newRow("0xFB takes the ampersand as its trail byte")
            << QByteArray("\xFB&nbsp;") << kEntityBlock << 0 << 0 << 0;
        QTest::newRow("a NUL ends the text")
            << QByteArray("A\0&nbsp;", 8) << kEntityBlock << 0 << 0 << 0;
    }

    void walk() {
        QFETCH(QByteArray, text);
        QFETCH(QColor, colour);
        QFETCH(int, line);
        QFETCH(int, x);
        QFETCH(int, width);
        const QImage image =
            paintPreviewText(std::string_view(text.data(), text.size()), *table_, {120, 60});
        QCOMPARE(blockColumns(image, line * 18, 18, colour), range(x, width));
    }

    void previewTextKeepsTheWholeTextWithinItsBudget() {
        CPreviewWindow preview(*table_, nullptr);
        preview.setPreviewText(std::string(5000, 'x'));
        QCOMPARE(preview.previewText().size(), std::size_t{5000});
        preview.setPreviewText(std::string(CPreviewWindow::kMaxTextBytes + 10, 'x'));
        QCOMPARE(preview.previewText().size(), CPreviewWindow::kMaxTextBytes);
        preview.setPreviewText(std::string_view("ab\0cd", 5));
        QCOMPARE(preview.previewText(), std::string("ab"));
    }

private:
    std::unique_ptr<CharWidthTable> table_;
};

// The preview as a window floating in the canvas.
class PreviewWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        canvas_.reset();  // before the document it edits
        model_ = std::make_unique<EditorDocument>();
        widths_ = std::make_unique<CharWidthTable>();
        canvas_ = std::make_unique<CEditCanvas>(*model_, *widths_);
        canvas_->resize(600, 500);
        canvas_->show();
    }

    // A new rendering leaves the view where the user scrolled it while the art is in it, and
    // otherwise brings the art's start into view.
    void aRenderingScrollsOnlyToArtOutOfView() {
        widths_->FillFromFont(artFont());
        CPreviewWindow& preview = canvas_->preview();
        PreviewTextView& view = preview.textView();
        const auto rows = [](int blank, const char* art) {
            std::string text;
            for (int i = 0; i < blank; ++i) {
                text += "\x81\x40\r\n";
            }
            text += std::string("\x81\x40") + art + "\r\n";
            for (int i = 0; i < 30; ++i) {
                text += "\x81\x40\r\n";
            }
            return text;
        };
        preview.setPreviewText(rows(40, "XX"));
        const int atArt = view.verticalScrollBar()->value();
        QVERIFY(atArt > 0);
        // Never scrolled by the user, the view goes with the art's start, even a row away.
        preview.setPreviewText(rows(41, "XX"));
        QVERIFY(view.verticalScrollBar()->value() > atArt);
        preview.setPreviewText(rows(40, "XX"));
        QCOMPARE(view.verticalScrollBar()->value(), atArt);
        // The user scrolls up a little, the art still in view; a change keeps that.
        view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        const int scrolled = view.verticalScrollBar()->value();
        QVERIFY(scrolled < atArt);
        preview.setPreviewText(rows(41, "XY"));
        QCOMPARE(view.verticalScrollBar()->value(), scrolled);
        // The art moves far down, out of view: the view follows it.
        preview.setPreviewText(rows(120, "XY"));
        QVERIFY(view.verticalScrollBar()->value() > atArt + 18 * 50);
    }

    void startsAt200InTheCanvas() {
        CPreviewWindow& preview = canvas_->preview();
        QVERIFY(preview.isVisible());
        QCOMPARE(preview.windowTitle(), QStringLiteral("Render preview"));
        QCOMPARE(preview.geometry(),
                 QRect(canvas_->contentsRect().topLeft() + QPoint(200, 200), QSize(200, 200)));
        QVERIFY(preview.clientRect().top() > 10);  // a caption above the text
    }

    void captionMovesItInsideTheCanvas() {
        CPreviewWindow& preview = canvas_->preview();
        const QPoint start = preview.pos();
        const QPoint caption(60, 10);
        QTest::mousePress(&preview, Qt::LeftButton, {}, caption);
        QTest::mouseMove(&preview, caption + QPoint(30, 20));
        QCOMPARE(preview.pos(), start + QPoint(30, 20));
        // Far beyond the top left: the point held stops at the canvas's corner.
        QTest::mouseMove(&preview, preview.mapFromParent(QPoint(-400, -400)));
        QCOMPARE(preview.mapToParent(caption), canvas_->contentsRect().topLeft());
        QTest::mouseRelease(&preview, Qt::LeftButton, {}, caption);
    }

    void borderSizesIt() {
        CPreviewWindow& preview = canvas_->preview();
        const QPoint corner(199, 199);
        QTest::mousePress(&preview, Qt::LeftButton, {}, corner);
        QTest::mouseMove(&preview, corner + QPoint(40, 10));
        QTest::mouseRelease(&preview, Qt::LeftButton, {}, corner + QPoint(40, 10));
        QCOMPARE(preview.size(), QSize(240, 210));
    }

    // The preview takes its own clicks: one on it never selects what lies beneath.
    void clicksDoNotReachTheCanvas() {
        const Point points[] = {{250, 300}, {350, 300}};
        model_->document().setVector(0, points);
        CPreviewWindow& preview = canvas_->preview();
        QTest::mouseClick(
            &preview, Qt::LeftButton, {},
            preview.mapFrom(canvas_.get(), canvas_->contentsRect().topLeft() + QPoint(300, 300)));
        QCOMPARE(canvas_->editor().selectedSlot(), -1);
    }

private:
    std::unique_ptr<EditorDocument> model_;
    std::unique_ptr<CharWidthTable> widths_;
    std::unique_ptr<CEditCanvas> canvas_;
};

}  // namespace penmoji

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    int status = 0;
    {
        penmoji::PreviewTest test;
        status |= QTest::qExec(&test, argc, argv);
    }
    {
        penmoji::PreviewWindowTest test;
        status |= QTest::qExec(&test, argc, argv);
    }
    return status;
}

#include "preview_test.moc"
