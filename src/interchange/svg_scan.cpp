#include "interchange/svg_scan.h"

#include <QStringView>
#include <QXmlStreamReader>

#include <algorithm>
#include <utility>
#include <vector>

namespace penmoji {
namespace {

constexpr std::uint64_t kSaturated = std::uint64_t{1} << 62;

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b) {
    return std::min(a + std::min(b, kSaturated), kSaturated);
}

struct Counts {
    std::uint64_t elements = 0;
    std::uint64_t images = 0;
    std::uint64_t clips = 0;

    void add(const Counts& other) {
        elements = saturatingAdd(elements, other.elements);
        images = saturatingAdd(images, other.images);
        clips = saturatingAdd(clips, other.clips);
    }
};

// The document as a graph of the parts that may be painted apart from where they stand: the
// document itself, every element with an id, and every element whose content is not painted in
// place. A part holds the counts of its elements outside the parts nested in it, and links to
// the nested parts painted in place and to the targets of its uses.
class PartGraph {
public:
    int addPart() {
        local_.emplace_back();
        return static_cast<int>(local_.size()) - 1;
    }
    Counts& local(int part) { return local_[static_cast<std::size_t>(part)]; }
    void contain(int outer, int inner) { links_.emplace_back(outer, inner); }
    void use(int part, QString target) { uses_.emplace_back(part, std::move(target)); }
    void name(const QString& id, int part) { ids_.insert(id, part); }

    const std::vector<std::pair<int, QString>>& uses() const { return uses_; }

    // The counts of part 0 with every link followed; a use that leads back into itself counts
    // nothing, as the SVG module refuses it.
    Counts paintedFromRoot() {
        for (const auto& [part, target] : uses_) {
            const auto found = ids_.constFind(target);
            if (found != ids_.constEnd()) {
                links_.emplace_back(part, found.value());
            }
        }
        std::sort(links_.begin(), links_.end());
        return resolve(0);
    }

private:
    Counts resolve(int root) {
        enum class State { Unvisited, Open, Done };
        std::vector<State> state(local_.size(), State::Unvisited);
        std::vector<Counts> total(local_.size());
        // Depth first without recursion: a chain of uses may be as long as the document.
        std::vector<std::pair<int, std::size_t>> stack{{root, firstLink(root)}};
        state[static_cast<std::size_t>(root)] = State::Open;
        total[static_cast<std::size_t>(root)] = local_[static_cast<std::size_t>(root)];
        while (!stack.empty()) {
            auto& [part, next] = stack.back();
            if (next < links_.size() && links_[next].first == part) {
                const int inner = links_[next++].second;
                const auto innerIndex = static_cast<std::size_t>(inner);
                if (state[innerIndex] == State::Done) {
                    total[static_cast<std::size_t>(part)].add(total[innerIndex]);
                } else if (state[innerIndex] == State::Unvisited) {
                    state[innerIndex] = State::Open;
                    total[innerIndex] = local_[innerIndex];
                    stack.emplace_back(inner, firstLink(inner));
                }
                continue;
            }
            const int finished = part;
            state[static_cast<std::size_t>(finished)] = State::Done;
            stack.pop_back();
            if (!stack.empty()) {
                total[static_cast<std::size_t>(stack.back().first)].add(
                    total[static_cast<std::size_t>(finished)]);
            }
        }
        return total[static_cast<std::size_t>(root)];
    }

    std::size_t firstLink(int part) const {
        return static_cast<std::size_t>(
            std::lower_bound(links_.begin(), links_.end(), std::pair<int, int>(part, -1)) -
            links_.begin());
    }

    std::vector<Counts> local_;
    std::vector<std::pair<int, int>> links_;
    std::vector<std::pair<int, QString>> uses_;
    QHash<QString, int> ids_;
};

// A property given as an attribute or in the style attribute, e.g. "display:none".
QString property(const QXmlStreamAttributes& attributes, const QString& name) {
    const QStringView style = attributes.value(QStringLiteral("style"));
    for (QStringView declaration : style.split(u';')) {
        const qsizetype colon = declaration.indexOf(u':');
        if (colon > 0 && declaration.left(colon).trimmed() == name) {
            return declaration.mid(colon + 1).trimmed().toString();
        }
    }
    return attributes.value(name).trimmed().toString();
}

bool namesNothing(const QString& value) {
    return value.isEmpty() || value == QStringLiteral("none");
}

// Elements whose content is painted only where something refers to them.
bool paintsOnlyByReference(QStringView name) {
    return name == u"defs" || name == u"symbol" || name == u"clipPath" || name == u"mask" ||
           name == u"marker" || name == u"pattern";
}

struct Frame {
    int part;
    bool inDefs;
};

}  // namespace

QString svgReference(const QXmlStreamAttributes& attributes) {
    QStringView href = attributes.value(QStringLiteral("xlink:href"));
    if (href.isEmpty()) {
        href = attributes.value(QStringLiteral("href"));
    }
    href = href.trimmed();
    return href.startsWith(u'#') ? href.mid(1).toString() : QString();
}

SvgScan scanSvg(const QByteArray& svg) {
    SvgScan scan;
    PartGraph graph;
    std::vector<Frame> frames{{graph.addPart(), false}};
    QXmlStreamReader reader(svg);
    // As the SVG module reads: names as written, prefixes and all, so that an undeclared prefix
    // does not end the reading here while the module reads on.
    reader.setNamespaceProcessing(false);
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement) {
            frames.pop_back();
            continue;
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        const Frame& outer = frames.back();
        const QStringView name = reader.name();
        const QXmlStreamAttributes attributes = reader.attributes();
        const QString id = attributes.value(QStringLiteral("id")).toString();
        const bool byReference = paintsOnlyByReference(name);
        const bool hidden = property(attributes, QStringLiteral("display")) == u"none";

        Frame frame = outer;
        if (!id.isEmpty() || byReference || hidden) {
            frame.part = graph.addPart();
            if (!byReference && !hidden) {
                graph.contain(outer.part, frame.part);
            }
            if (!id.isEmpty()) {
                graph.name(id, frame.part);
            }
        }
        if (byReference && name != u"defs" && !outer.inDefs) {
            scan.needsMending = true;
        }
        frame.inDefs = outer.inDefs || name == u"defs";

        Counts& counts = graph.local(frame.part);
        counts.add({1, name == u"image" ? 1u : 0u,
                    namesNothing(property(attributes, QStringLiteral("clip-path"))) &&
                            namesNothing(property(attributes, QStringLiteral("mask")))
                        ? 0u
                        : 1u});
        if (name == u"use") {
            const QString target = svgReference(attributes);
            if (!target.isEmpty()) {
                graph.use(frame.part, target);
            }
        }
        if (!id.isEmpty() && hidden) {
            scan.targets.insert(id, SvgTargetKind::Hidden);
        } else if (!id.isEmpty() && name == u"symbol") {
            scan.targets.insert(id, SvgTargetKind::Symbol);
            scan.symbols.insert(
                id, {attributes.value(QStringLiteral("viewBox")).toString(),
                     attributes.value(QStringLiteral("preserveAspectRatio")).toString(),
                     attributes.value(QStringLiteral("width")).toString(),
                     attributes.value(QStringLiteral("height")).toString()});
        }
        frames.push_back(frame);
        scan.depth = std::max(scan.depth, static_cast<int>(frames.size()) - 1);
    }
    for (const auto& [part, target] : graph.uses()) {
        if (scan.targets.contains(target)) {
            scan.needsMending = true;
        }
    }
    const Counts painted = graph.paintedFromRoot();
    scan.paintedElements = painted.elements;
    scan.images = painted.images;
    scan.clips = painted.clips;
    return scan;
}

}  // namespace penmoji
