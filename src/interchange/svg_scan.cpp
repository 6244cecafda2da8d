// SPDX-License-Identifier: MIT
#include "interchange/svg_scan.h"

#include <QSet>
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
    // `inner` stands within `outer`; `inPlace` when it is painted there.
    void contain(int outer, int inner, bool inPlace) {
        links_.push_back({outer, inner, -1, inPlace});
    }
    // The use numbered `use` in document order, within `part`.
    void use(int part, QString target, int use) { uses_.push_back({part, std::move(target), use}); }
    void name(const QString& id, int part) { ids_.insert(id, part); }

    bool usesAnyOf(const QHash<QString, SvgTargetKind>& targets) const {
        return std::any_of(uses_.begin(), uses_.end(),
                           [&](const Use& use) { return targets.contains(use.target); });
    }

    // The uses that lead back into themselves: a use whose target paints, through any number of
    // further uses, the part that holds the use. Such a use is an error that paints nothing.
    QSet<int> circularUses() {
        resolveUses();
        const std::vector<int> component = components();
        QSet<int> circular;
        for (const Link& link : links_) {
            if (link.use >= 0 && component[static_cast<std::size_t>(link.from)] ==
                                      component[static_cast<std::size_t>(link.to)]) {
                circular.insert(link.use);
            }
        }
        return circular;
    }

    // Leaves the circular uses out of the graph.
    void dropUses(const QSet<int>& circular) {
        std::erase_if(links_, [&](const Link& link) { return circular.contains(link.use); });
    }

    // The counts of part 0 with every use expanded: `everything` also counts the content that
    // is painted only by reference (which the SVG module walks all the same to measure the
    // document), otherwise only what is painted.
    Counts fromRoot(bool everything) const { return resolve(0, everything); }

private:
    struct Link {
        int from;
        int to;
        int use;       // -1 for a part that stands within another
        bool inPlace;  // painted where it stands, or where the use stands
    };
    struct Use {
        int part;
        QString target;
        int use;
    };

    void resolveUses() {
        for (const Use& use : uses_) {
            const auto found = ids_.constFind(use.target);
            if (found != ids_.constEnd()) {
                links_.push_back({use.part, found.value(), use.use, true});
            }
        }
        std::sort(links_.begin(), links_.end(),
                  [](const Link& a, const Link& b) { return a.from < b.from; });
    }

    // The strongly connected components (Tarjan's, without recursion): parts that reach each
    // other.
    std::vector<int> components() const {
        const std::size_t count = local_.size();
        std::vector<int> order(count, -1);
        std::vector<int> low(count, 0);
        std::vector<int> component(count, -1);
        std::vector<int> open;
        std::vector<bool> isOpen(count, false);
        int visited = 0;
        int components = 0;
        for (std::size_t start = 0; start < count; ++start) {
            if (order[start] >= 0) {
                continue;
            }
            std::vector<std::pair<std::size_t, std::size_t>> calls;
            const auto enter = [&](std::size_t part) {
                order[part] = low[part] = visited++;
                open.push_back(static_cast<int>(part));
                isOpen[part] = true;
                calls.emplace_back(part, firstLink(static_cast<int>(part)));
            };
            enter(start);
            while (!calls.empty()) {
                auto& [part, next] = calls.back();
                if (next < links_.size() && links_[next].from == static_cast<int>(part)) {
                    const auto to = static_cast<std::size_t>(links_[next++].to);
                    if (order[to] < 0) {
                        enter(to);
                    } else if (isOpen[to]) {
                        low[part] = std::min(low[part], order[to]);
                    }
                    continue;
                }
                const std::size_t done = part;
                if (low[done] == order[done]) {
                    int member = -1;
                    do {
                        member = open.back();
                        open.pop_back();
                        isOpen[static_cast<std::size_t>(member)] = false;
                        component[static_cast<std::size_t>(member)] = components;
                    } while (member != static_cast<int>(done));
                    ++components;
                }
                calls.pop_back();
                if (!calls.empty()) {
                    const std::size_t caller = calls.back().first;
                    low[caller] = std::min(low[caller], low[done]);
                }
            }
        }
        return component;
    }

    // Depth first without recursion: a chain of uses may be as long as the document. The links
    // left form no cycle.
    Counts resolve(int root, bool everything) const {
        std::vector<bool> done(local_.size(), false);
        std::vector<Counts> total(local_.size());
        std::vector<std::pair<int, std::size_t>> stack{{root, firstLink(root)}};
        total[static_cast<std::size_t>(root)] = local_[static_cast<std::size_t>(root)];
        while (!stack.empty()) {
            auto& [part, next] = stack.back();
            if (next < links_.size() && links_[next].from == part) {
                const Link& link = links_[next++];
                if (!link.inPlace && !everything) {
                    continue;
                }
                const int inner = link.to;
                const auto innerIndex = static_cast<std::size_t>(inner);
                if (done[innerIndex]) {
                    total[static_cast<std::size_t>(part)].add(total[innerIndex]);
                } else {
                    total[innerIndex] = local_[innerIndex];
                    stack.emplace_back(inner, firstLink(inner));
                }
                continue;
            }
            const int finished = part;
            done[static_cast<std::size_t>(finished)] = true;
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
            std::lower_bound(links_.begin(), links_.end(), part,
                             [](const Link& link, int from) { return link.from < from; }) -
            links_.begin());
    }

    std::vector<Counts> local_;
    std::vector<Link> links_;
    std::vector<Use> uses_;
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
    int uses = 0;
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
            graph.contain(outer.part, frame.part, !byReference && !hidden);
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
                graph.use(frame.part, target, uses);
            }
            ++uses;
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
    scan.needsMending |= graph.usesAnyOf(scan.targets);
    scan.circularUses = graph.circularUses();
    scan.needsMending |= !scan.circularUses.isEmpty();
    graph.dropUses(scan.circularUses);
    const Counts painted = graph.fromRoot(false);
    scan.elements = graph.fromRoot(true).elements;
    scan.images = painted.images;
    scan.clips = painted.clips;
    return scan;
}

}  // namespace penmoji
