// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QImage>
#include <QString>

#include <vector>

#include "render/glyph_table.h"

// How closely one table entry's strokes follow its character as the font draws it.
struct GlyphFit {
    const penmoji::GlyphShape* glyph = nullptr;
    int segmentCount = 0;
    QString text;
    bool reference = false;
    // One byte per pixel of the glyph's box, 0 or 255 (ink).
    QImage ink;
    int inkPixels = 0;
    // Ink the font sets left or right of the box; the measures ignore it.
    int inkOutsideBox = 0;
    // Pixels; infinite when the box holds no ink.
    double meanDistance = 0.0;
    double uncoveredShare = 0.0;
};

struct FitSummary {
    const GlyphFit* worst = nullptr;
    const GlyphFit* worstOther = nullptr;
    const GlyphFit* worstUncovered = nullptr;
    const GlyphFit* worstOtherUncovered = nullptr;
    const GlyphFit* worstReference = nullptr;
    double meanDistance = 0.0;
    double meanUncovered = 0.0;
    double referenceMeanDistance = 0.0;
    double referenceMeanUncovered = 0.0;
    double referenceWorstUncovered = 0.0;
    int beyondReferenceWorst = 0;
};

// Renders every glyph table entry in a 16-pixel font, measures how far its strokes lie
// from the ink, and draws the result as an enlarged contact sheet.
class GlyphSheet {
public:
    // `font` must already be set to the face and pixel size to measure against.
    explicit GlyphSheet(const QFont& font);

    std::vector<GlyphFit> measureAll() const;
    static FitSummary summarize(const std::vector<GlyphFit>& fits);

    QImage drawSheet(const std::vector<GlyphFit>& fits, const FitSummary& summary, int scale) const;
    static QString report(const std::vector<GlyphFit>& fits, const FitSummary& summary,
                          const QString& setting);
    static QString summaryText(const FitSummary& summary, int entryCount);

    // The Unicode text of a Shift_JIS (Windows code page 932) character code.
    static QString characterOf(int code);

private:
    GlyphFit measure(const penmoji::GlyphShape& glyph, int segmentCount) const;
    QImage renderInk(const QString& text, int boxWidth, int* inkOutsideBox) const;

    QFont font_;
    int ascent_ = 0;
};
