// SPDX-License-Identifier: MIT
#include "glyph_sheet.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringDecoder>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <utility>
#include <vector>

namespace {

using penmoji::GlyphSegment;
using penmoji::GlyphShape;

constexpr int kRowPixels = 16;
constexpr double kUnitsPerPixel = 16.0;
constexpr double kSampleStep = 0.25;
constexpr double kCoveredRadius = 1.5;

// The twelve entries whose strokes came with the table itself. The others were traced
// later and are held to the fit these show, so the report sets them apart.
constexpr int kReferenceCodes[] = {0x0021, 0x005F, 0x815E, 0x8162, 0x8141, 0x8152,
                                   0x815B, 0x00C9, 0x817B, 0x84A1, 0x8352, 0x826C};

bool isReference(int code) {
    return std::find(std::begin(kReferenceCodes), std::end(kReferenceCodes), code) !=
           std::end(kReferenceCodes);
}

struct Point {
    double x;
    double y;
};

Point start(const GlyphSegment& s) {
    return {s.x0 / kUnitsPerPixel, s.y0 / kUnitsPerPixel};
}
Point end(const GlyphSegment& s) {
    return {s.x1 / kUnitsPerPixel, s.y1 / kUnitsPerPixel};
}

double distanceToSegment(Point p, Point a, Point b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0.0;
    if (lengthSquared > 0.0) {
        t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0, 1.0);
    }
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// Every quarter pixel along each stroke, both endpoints included, so that a long stroke
// weighs more than a short one.
std::vector<Point> strokeSamples(const GlyphShape& glyph, int segmentCount) {
    std::vector<Point> samples;
    for (int i = 0; i < segmentCount; ++i) {
        const Point a = start(glyph.segments[static_cast<std::size_t>(i)]);
        const Point b = end(glyph.segments[static_cast<std::size_t>(i)]);
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        const int steps = std::max(1, static_cast<int>(std::ceil(length / kSampleStep)));
        for (int k = 0; k <= steps; ++k) {
            const double t = static_cast<double>(k) / steps;
            samples.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
        }
    }
    return samples;
}

// An ink pixel stands for its centre.
std::vector<Point> inkCentres(const QImage& ink) {
    std::vector<Point> centres;
    for (int y = 0; y < ink.height(); ++y) {
        const uchar* row = ink.constScanLine(y);
        for (int x = 0; x < ink.width(); ++x) {
            if (row[x] != 0) {
                centres.push_back({x + 0.5, y + 0.5});
            }
        }
    }
    return centres;
}

QString hexCode(int code) {
    return QStringLiteral("0x") + QString::number(code, 16).toUpper().rightJustified(4, u'0');
}

QString describe(const GlyphFit* fit) {
    if (fit == nullptr) {
        return QStringLiteral("-");
    }
    return QStringLiteral("%1 %2").arg(hexCode(fit->glyph->code), fit->text);
}

}  // namespace

GlyphSheet::GlyphSheet(const QFont& font) : font_(font), ascent_(QFontMetrics(font).ascent()) {}

QString GlyphSheet::characterOf(int code) {
    QByteArray bytes;
    if (code > 0xFF) {
        bytes.append(static_cast<char>(code >> 8));
    }
    bytes.append(static_cast<char>(code & 0xFF));
    QStringDecoder decoder("windows-31j");
    return decoder.decode(bytes);
}

// The box's top is the top of a 16-pixel text line and its left edge the pen position;
// the baseline lies the font's ascent below the top, as the font lays out such a line.
// The canvas is wider than the box on both sides so that ink the font sets outside the
// box is seen and reported rather than silently cut.
QImage GlyphSheet::renderInk(const QString& text, int boxWidth, int* inkOutsideBox) const {
    const int margin = kRowPixels;
    QImage canvas(boxWidth + 2 * margin, kRowPixels, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font_);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(margin, ascent_), text);
    }
    QImage ink(boxWidth, kRowPixels, QImage::Format_Grayscale8);
    ink.fill(0);
    *inkOutsideBox = 0;
    for (int y = 0; y < kRowPixels; ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            // Threshold rather than trust the strategy alone, so ink is always two-valued.
            if (qGray(canvas.pixel(x, y)) >= 128) {
                continue;
            }
            const int boxX = x - margin;
            if (boxX >= 0 && boxX < boxWidth) {
                ink.scanLine(y)[boxX] = 255;
            } else {
                ++*inkOutsideBox;
            }
        }
    }
    return ink;
}

GlyphFit GlyphSheet::measure(const GlyphShape& glyph, int segmentCount) const {
    GlyphFit fit;
    fit.glyph = &glyph;
    fit.segmentCount = segmentCount;
    fit.text = characterOf(glyph.code);
    fit.reference = isReference(glyph.code);
    fit.ink = renderInk(fit.text, glyph.width / 16, &fit.inkOutsideBox);

    const std::vector<Point> centres = inkCentres(fit.ink);
    fit.inkPixels = static_cast<int>(centres.size());
    if (centres.empty()) {
        fit.meanDistance = std::numeric_limits<double>::infinity();
        fit.uncoveredShare = 1.0;
        return fit;
    }

    const std::vector<Point> samples = strokeSamples(glyph, segmentCount);
    double total = 0.0;
    for (const Point& s : samples) {
        double nearest = std::numeric_limits<double>::infinity();
        for (const Point& c : centres) {
            nearest = std::min(nearest, std::hypot(s.x - c.x, s.y - c.y));
        }
        total += nearest;
    }
    fit.meanDistance = total / static_cast<double>(samples.size());

    int uncovered = 0;
    for (const Point& c : centres) {
        bool covered = false;
        for (int i = 0; i < segmentCount && !covered; ++i) {
            const GlyphSegment& s = glyph.segments[static_cast<std::size_t>(i)];
            covered = distanceToSegment(c, start(s), end(s)) <= kCoveredRadius;
        }
        uncovered += covered ? 0 : 1;
    }
    fit.uncoveredShare = static_cast<double>(uncovered) / static_cast<double>(centres.size());
    return fit;
}

std::vector<GlyphFit> GlyphSheet::measureAll() const {
    std::vector<GlyphFit> fits;
    for (int k = 1; k <= 4; ++k) {
        for (const GlyphShape& glyph : penmoji::glyphGroup(k)) {
            fits.push_back(measure(glyph, k));
        }
    }
    return fits;
}

FitSummary GlyphSheet::summarize(const std::vector<GlyphFit>& fits) {
    FitSummary summary;
    int references = 0;
    for (const GlyphFit& fit : fits) {
        summary.meanDistance += fit.meanDistance;
        summary.meanUncovered += fit.uncoveredShare;
        if (summary.worst == nullptr || fit.meanDistance > summary.worst->meanDistance) {
            summary.worst = &fit;
        }
        if (summary.worstUncovered == nullptr ||
            fit.uncoveredShare > summary.worstUncovered->uncoveredShare) {
            summary.worstUncovered = &fit;
        }
        if (!fit.reference) {
            if (summary.worstOther == nullptr ||
                fit.meanDistance > summary.worstOther->meanDistance) {
                summary.worstOther = &fit;
            }
            if (summary.worstOtherUncovered == nullptr ||
                fit.uncoveredShare > summary.worstOtherUncovered->uncoveredShare) {
                summary.worstOtherUncovered = &fit;
            }
            continue;
        }
        ++references;
        summary.referenceMeanDistance += fit.meanDistance;
        summary.referenceMeanUncovered += fit.uncoveredShare;
        summary.referenceWorstUncovered =
            std::max(summary.referenceWorstUncovered, fit.uncoveredShare);
        if (summary.worstReference == nullptr ||
            fit.meanDistance > summary.worstReference->meanDistance) {
            summary.worstReference = &fit;
        }
    }
    if (!fits.empty()) {
        summary.meanDistance /= static_cast<double>(fits.size());
        summary.meanUncovered /= static_cast<double>(fits.size());
    }
    if (references > 0) {
        summary.referenceMeanDistance /= references;
        summary.referenceMeanUncovered /= references;
    }
    for (const GlyphFit& fit : fits) {
        if (summary.worstReference != nullptr && !fit.reference &&
            fit.meanDistance > summary.worstReference->meanDistance) {
            ++summary.beyondReferenceWorst;
        }
    }
    return summary;
}

QString GlyphSheet::summaryText(const FitSummary& s, int entryCount) {
    auto px = [](double v) { return QString::number(v, 'f', 3); };
    auto pct = [](double v) { return QString::number(100.0 * v, 'f', 1) + QLatin1Char('%'); };
    QString text;
    QTextStream out(&text);
    out << "entries: " << entryCount << "\n";
    if (s.worst == nullptr) {
        return text;
    }
    out << "worst mean distance: " << px(s.worst->meanDistance) << " px (" << describe(s.worst)
        << ")\n";
    if (s.worstOther != nullptr) {
        out << "worst outside the reference entries: " << px(s.worstOther->meanDistance) << " px ("
            << describe(s.worstOther) << ")\n";
    }
    out << "mean distance, all entries: " << px(s.meanDistance) << " px\n";
    if (s.worstReference != nullptr) {
        out << "mean distance, reference entries: " << px(s.referenceMeanDistance) << " px, worst "
            << px(s.worstReference->meanDistance) << " px (" << describe(s.worstReference) << ")\n";
    }
    out << "uncovered ink, all entries: mean " << pct(s.meanUncovered) << ", worst "
        << pct(s.worstUncovered->uncoveredShare) << " (" << describe(s.worstUncovered) << ")\n";
    if (s.worstOtherUncovered != nullptr) {
        out << "uncovered ink, worst outside the reference entries: "
            << pct(s.worstOtherUncovered->uncoveredShare) << " (" << describe(s.worstOtherUncovered)
            << ")\n";
    }
    out << "uncovered ink, reference entries: mean " << pct(s.referenceMeanUncovered) << ", worst "
        << pct(s.referenceWorstUncovered) << "\n";
    out << "entries farther than the worst reference entry: " << s.beyondReferenceWorst << "\n";
    out << "all-entries mean within the reference mean: "
        << (s.meanDistance <= s.referenceMeanDistance ? "yes" : "no") << "\n";
    return text;
}

QString GlyphSheet::report(const std::vector<GlyphFit>& fits, const FitSummary& summary,
                           const QString& setting) {
    QString text;
    QTextStream out(&text);
    out << "# Glyph table against " << setting << ".\n"
        << "# distance: mean over points every 1/4 px along the strokes of the distance to\n"
        << "#   the centre of the nearest ink pixel in the box (px).\n"
        << "# uncovered: share of ink pixels whose centre lies more than 1.5 px from every "
           "stroke.\n"
        << "# outside: ink pixels the font sets beyond the box (not measured).\n"
        << "# ref: * marks the reference entries.\n"
        << "group    code  width  distance  uncovered   ink  outside  ref  char\n";
    for (const GlyphFit& fit : fits) {
        // Fixed columns first and the character last, whose display width varies.
        out << QStringLiteral("%1  %2  %3  %4  %5  %6  %7  %8  %9\n")
                   .arg(fit.segmentCount, 5)
                   .arg(hexCode(fit.glyph->code))
                   .arg(fit.glyph->width / 16, 5)
                   .arg(fit.meanDistance, 8, 'f', 3)
                   .arg(fit.uncoveredShare, 9, 'f', 3)
                   .arg(fit.inkPixels, 4)
                   .arg(fit.inkOutsideBox, 7)
                   .arg(fit.reference ? QStringLiteral("  *") : QStringLiteral("   "))
                   .arg(fit.text);
    }
    out << "\n" << summaryText(summary, static_cast<int>(fits.size()));
    return text;
}

QImage GlyphSheet::drawSheet(const std::vector<GlyphFit>& fits, const FitSummary& summary,
                             int scale) const {
    constexpr int kColumns = 14;
    const int pad = std::max(6, scale);
    const int labelHeight = 30;
    const int cellWidth = kRowPixels * scale + 2 * pad;
    const int cellHeight = kRowPixels * scale + labelHeight + pad;
    const int headerHeight = 190;
    const int rows = (static_cast<int>(fits.size()) + kColumns - 1) / kColumns;

    QImage sheet(kColumns * cellWidth, headerHeight + rows * cellHeight, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing, true);

    QFont labelFont(font_.family());
    labelFont.setPixelSize(12);
    labelFont.setStyleStrategy(QFont::PreferAntialias);
    painter.setFont(labelFont);
    painter.setPen(Qt::black);
    painter.drawText(QRect(pad, pad, sheet.width() - 2 * pad, headerHeight - pad),
                     Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("Strokes (red) over ink (grey). Square end = on the box "
                                    "border, round end = inside. Blue frame: reference entry; "
                                    "red label: farther than the worst reference entry.\n") +
                         summaryText(summary, static_cast<int>(fits.size())));

    const double worstReference =
        summary.worstReference != nullptr ? summary.worstReference->meanDistance : 0.0;
    for (std::size_t i = 0; i < fits.size(); ++i) {
        const GlyphFit& fit = fits[i];
        const int column = static_cast<int>(i) % kColumns;
        const int row = static_cast<int>(i) / kColumns;
        const QPoint origin(column * cellWidth + pad, headerHeight + row * cellHeight);
        const int boxWidth = fit.ink.width();

        painter.setRenderHint(QPainter::Antialiasing, false);
        for (int y = 0; y < kRowPixels; ++y) {
            for (int x = 0; x < boxWidth; ++x) {
                const bool ink = fit.ink.constScanLine(y)[x] != 0;
                painter.fillRect(origin.x() + x * scale, origin.y() + y * scale, scale, scale,
                                 ink ? QColor(150, 150, 150) : QColor(246, 246, 246));
            }
        }
        painter.setPen(fit.reference ? QPen(QColor(30, 80, 220), 3) : QPen(Qt::black, 1));
        painter.drawRect(origin.x(), origin.y(), boxWidth * scale, kRowPixels * scale);

        painter.setRenderHint(QPainter::Antialiasing, true);
        const double unit = scale / kUnitsPerPixel;
        for (int k = 0; k < fit.segmentCount; ++k) {
            const GlyphSegment& s = fit.glyph->segments[static_cast<std::size_t>(k)];
            const QPointF a(origin.x() + s.x0 * unit, origin.y() + s.y0 * unit);
            const QPointF b(origin.x() + s.x1 * unit, origin.y() + s.y1 * unit);
            painter.setPen(QPen(QColor(220, 20, 20), 2));
            painter.drawLine(a, b);
            const double r = std::max(2.5, scale / 3.0);
            painter.setBrush(QColor(220, 20, 20));
            painter.setPen(Qt::NoPen);
            const auto onBorder = [&](int x, int y) {
                return x == 0 || x == fit.glyph->width || y == 0 || y == penmoji::kGlyphBoxHeight;
            };
            for (const auto& [p, border] :
                 {std::pair{a, onBorder(s.x0, s.y0)}, std::pair{b, onBorder(s.x1, s.y1)}}) {
                if (border) {
                    painter.drawRect(QRectF(p.x() - r, p.y() - r, 2 * r, 2 * r));
                } else {
                    painter.drawEllipse(p, r, r);
                }
            }
            painter.setBrush(Qt::NoBrush);
        }

        const QRect label(origin.x() - pad / 2, origin.y() + kRowPixels * scale + 2,
                          cellWidth - pad, labelHeight - 4);
        if (!fit.reference && fit.meanDistance > worstReference) {
            painter.fillRect(label, QColor(255, 190, 190));
        }
        painter.setPen(Qt::black);
        painter.drawText(label, Qt::AlignLeft | Qt::AlignTop,
                         QStringLiteral("%1 %2\nd %3  u %4%")
                             .arg(hexCode(fit.glyph->code), fit.text)
                             .arg(fit.meanDistance, 0, 'f', 2)
                             .arg(100.0 * fit.uncoveredShare, 0, 'f', 0));
    }
    return sheet;
}
