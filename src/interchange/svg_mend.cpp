// SPDX-License-Identifier: MIT
#include "interchange/svg_mend.h"

#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <optional>
#include <vector>

namespace penmoji {
namespace {

std::optional<double> number(QStringView text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> attributeNumber(const QXmlStreamAttributes& attributes, const char* name) {
    return number(attributes.value(QLatin1String(name)));
}

// Where a use puts a symbol's content: its x and y, and the symbol's viewBox fitted into the
// use's width and height (or the symbol's own) as preserveAspectRatio says.
QString symbolPlacement(const QXmlStreamAttributes& use, const SvgSymbolFrame& symbol) {
    const double x = attributeNumber(use, "x").value_or(0);
    const double y = attributeNumber(use, "y").value_or(0);
    QString placement = QStringLiteral("translate(%1 %2)").arg(x).arg(y);
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    const QStringList box = symbol.viewBox.trimmed().split(separators, Qt::SkipEmptyParts);
    if (box.size() != 4) {
        return placement;
    }
    const double boxX = number(box[0]).value_or(0);
    const double boxY = number(box[1]).value_or(0);
    const double boxWidth = number(box[2]).value_or(0);
    const double boxHeight = number(box[3]).value_or(0);
    if (!(boxWidth > 0 && boxHeight > 0)) {
        return placement;
    }
    const double width = attributeNumber(use, "width")
                             .value_or(number(symbol.width).value_or(boxWidth));
    const double height = attributeNumber(use, "height")
                              .value_or(number(symbol.height).value_or(boxHeight));
    double scaleX = width / boxWidth;
    double scaleY = height / boxHeight;
    const QString aspect = symbol.preserveAspectRatio.simplified();
    double offsetX = 0;
    double offsetY = 0;
    if (!aspect.startsWith(QStringLiteral("none"))) {
        const double scale = aspect.contains(QStringLiteral("slice")) ? std::max(scaleX, scaleY)
                                                                     : std::min(scaleX, scaleY);
        scaleX = scaleY = scale;
        // Centred unless the alignment says otherwise.
        const double spareX = width - boxWidth * scale;
        const double spareY = height - boxHeight * scale;
        offsetX = aspect.contains(QStringLiteral("xMin"))   ? 0
                  : aspect.contains(QStringLiteral("xMax")) ? spareX
                                                            : spareX / 2;
        offsetY = aspect.contains(QStringLiteral("YMin"))   ? 0
                  : aspect.contains(QStringLiteral("YMax")) ? spareY
                                                            : spareY / 2;
    }
    return QStringLiteral("translate(%1 %2) scale(%3 %4) translate(%5 %6)")
        .arg(x + offsetX)
        .arg(y + offsetY)
        .arg(scaleX)
        .arg(scaleY)
        .arg(-boxX)
        .arg(-boxY);
}

bool isOneOf(QStringView name, std::initializer_list<const char16_t*> names) {
    return std::any_of(names.begin(), names.end(),
                       [&](const char16_t* candidate) { return name == QStringView(candidate); });
}

class Mender {
public:
    Mender(const QByteArray& svg, const SvgScan& scan, QByteArray& out)
        : reader_(svg), writer_(&out), scan_(scan) {
        // Names and namespace declarations pass through as written, as the SVG module reads them.
        reader_.setNamespaceProcessing(false);
    }

    void run() {
        while (!reader_.atEnd()) {
            const QXmlStreamReader::TokenType token = reader_.readNext();
            if (token == QXmlStreamReader::StartElement) {
                start();
            } else if (token == QXmlStreamReader::EndElement) {
                for (int i = open_.back(); i > 0; --i) {
                    writer_.writeEndElement();
                }
                open_.pop_back();
            } else if (token != QXmlStreamReader::Invalid) {
                writer_.writeCurrentToken(reader_);
            }
        }
    }

private:
    void start() {
        const QStringView name = reader_.name();
        const QXmlStreamAttributes attributes = reader_.attributes();
        if (name == u"use") {
            const SvgTargetKind kind =
                scan_.targets.value(svgReference(attributes), SvgTargetKind::Shown);
            if (kind == SvgTargetKind::Hidden || scan_.circularUses.contains(uses_++)) {
                skipElement();
                return;
            }
            if (kind == SvgTargetKind::Symbol) {
                useSymbol(attributes);
                return;
            }
        } else if (name == u"symbol") {
            startElement(u"defs", {});
            startElement(u"g", without(attributes, {u"viewBox", u"preserveAspectRatio", u"x",
                                                    u"y", u"width", u"height", u"refX",
                                                    u"refY"}));
            open_.push_back(2);
            return;
        } else if (isOneOf(name, {u"clipPath", u"mask", u"marker", u"pattern"})) {
            QXmlStreamAttributes id;
            if (attributes.hasAttribute(QStringLiteral("id"))) {
                id.append(QStringLiteral("id"), attributes.value(QStringLiteral("id")).toString());
            }
            startElement(u"defs", id);
            open_.push_back(1);
            return;
        }
        writer_.writeCurrentToken(reader_);
        open_.push_back(1);
    }

    // Leaves out the element just started with all it holds, still counting the uses in it.
    void skipElement() {
        for (int depth = 1; depth > 0 && !reader_.atEnd();) {
            const QXmlStreamReader::TokenType token = reader_.readNext();
            if (token == QXmlStreamReader::StartElement) {
                ++depth;
                uses_ += reader_.name() == u"use" ? 1 : 0;
            } else if (token == QXmlStreamReader::EndElement) {
                --depth;
            }
        }
    }

    void useSymbol(const QXmlStreamAttributes& attributes) {
        const SvgSymbolFrame symbol = scan_.symbols.value(svgReference(attributes));
        QXmlStreamAttributes kept =
            without(attributes, {u"x", u"y", u"width", u"height", u"transform"});
        const QString own = attributes.value(QStringLiteral("transform")).toString();
        kept.append(QStringLiteral("transform"),
                    (own.isEmpty() ? QString() : own + QLatin1Char(' ')) +
                        symbolPlacement(attributes, symbol));
        startElement(u"use", kept);
        open_.push_back(1);
    }

    static QXmlStreamAttributes without(const QXmlStreamAttributes& attributes,
                                        std::initializer_list<const char16_t*> names) {
        QXmlStreamAttributes kept;
        for (const QXmlStreamAttribute& attribute : attributes) {
            if (!(attribute.namespaceUri().isEmpty() && isOneOf(attribute.name(), names))) {
                kept.append(attribute);
            }
        }
        return kept;
    }

    // The element in the namespace of the one read, with the namespaces it declares.
    void startElement(QStringView name, const QXmlStreamAttributes& attributes) {
        writer_.writeStartElement(reader_.namespaceUri().toString(), name.toString());
        for (const QXmlStreamNamespaceDeclaration& declaration : reader_.namespaceDeclarations()) {
            if (declaration.prefix().isEmpty()) {
                writer_.writeDefaultNamespace(declaration.namespaceUri().toString());
            } else {
                writer_.writeNamespace(declaration.namespaceUri().toString(),
                                       declaration.prefix().toString());
            }
        }
        writer_.writeAttributes(attributes);
    }

    QXmlStreamReader reader_;
    QXmlStreamWriter writer_;
    const SvgScan& scan_;
    std::vector<int> open_;  // end tags to write for each element read and still open
    int uses_ = 0;           // uses read so far, numbered as the scan numbers them
};

}  // namespace

QByteArray mendSvg(const QByteArray& svg, const SvgScan& scan) {
    QByteArray out;
    Mender(svg, scan, out).run();
    return out;
}

}  // namespace penmoji
