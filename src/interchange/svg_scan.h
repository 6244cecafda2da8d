// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QXmlStreamAttributes>

#include <cstdint>

namespace penmoji {

// What an element referred to by `<use>` is, as far as the SVG module's handling of it goes.
enum class SvgTargetKind {
    Shown,   // rendered where it is used
    Hidden,  // display:none: a use of it shows nothing, though the SVG module would draw it
    Symbol,  // <symbol>: shown through <use> only, which the SVG module cannot resolve
};

// A <symbol>'s own viewport: how a use places its content.
struct SvgSymbolFrame {
    QString viewBox;              // empty without one
    QString preserveAspectRatio;  // empty for the default, centred and whole
    QString width;
    QString height;
};

// The document as its outlines would be painted, read once without building anything: how
// many elements painting it visits once every <use> is expanded (a few kilobytes of nested uses
// can stand for a hundred million elements), and what the SVG module would get wrong.
struct SvgScan {
    // Elements, each use counted as the elements it stands for, content painted only by
    // reference included: the SVG module walks them all to measure the document. Saturates far
    // above any limit, so that it never overflows.
    std::uint64_t elements = 0;
    std::uint64_t images = 0;         // <image> elements painted: they hold no lines
    std::uint64_t clips = 0;          // painted elements that name a clip path or a mask
    int depth = 0;                    // deepest nesting of elements
    QHash<QString, SvgTargetKind> targets;  // every element with an id that is hidden or a symbol
    QHash<QString, SvgSymbolFrame> symbols;
    // The uses, numbered from 0 in document order, whose target paints the use itself: each is
    // an error that paints nothing (the SVG module would paint the loop once over).
    QSet<int> circularUses;
    // Circular uses, uses of hidden elements or of symbols, or clip paths, masks, markers or patterns outside
    // <defs>, whose content the SVG module would paint in place: the document must be mended
    // before it is painted.
    bool needsMending = false;
};

// The id an element's href names within the document ("#id"), or empty.
QString svgReference(const QXmlStreamAttributes& attributes);

// Reads the document's structure. Never fails: a document that is not well-formed XML is
// counted up to where it breaks, as far as the SVG module reads it.
SvgScan scanSvg(const QByteArray& svg);

}  // namespace penmoji
