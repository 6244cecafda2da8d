// SPDX-License-Identifier: MIT
#include "trace/skeleton_paths.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>
#include <unordered_map>

namespace penmoji::trace {
namespace {

constexpr int kNoNode = -1;
constexpr int kNoEnd = -1;
// Branches meeting at a junction are joined when they leave it at least this far from one
// direction (cosine of about 135 degrees).
constexpr double kStraightThrough = -0.7;
// How far into a branch its direction at a junction is taken, so that the junction's own pixels
// do not decide it.
constexpr int kDirectionReach = 8;
// A loose branch shorter than this many times the stroke's half width at its junction, plus a
// margin, is a spur: the centre line of a stroke's rounded end reaches its edge after one half
// width, into a square corner after about 1.4, into the outer corner of a sharper bend farther.
constexpr double kSpurReach = 2.0;
constexpr double kSpurMargin = 2.0;

// A run of line pixels between two junctions or loose ends, as pixel indices.
struct Branch {
    std::vector<int> pixels;
    // The junction at the first and at the last pixel, or kNoNode for a loose end.
    std::array<int, 2> nodes{kNoNode, kNoNode};
    bool closed = false;  // a ring with no junction
    bool removed = false;
};

// An end of a branch: branch * 2, plus 1 for its last pixel.
int endKey(int branch, int end) {
    return branch * 2 + end;
}

class Follower {
public:
    Follower(std::span<const std::uint8_t> skeleton, int width, int height,
             std::span<const float> radius)
        : skeleton_(skeleton),
          radius_(radius),
          width_(width),
          height_(height),
          offsets_{-width, -width + 1, 1, width + 1, width, width - 1, -1, -width - 1},
          degree_(skeleton.size(), 0),
          visited_(skeleton.size(), 0) {}

    // Nothing when `poll` says to stop.
    std::optional<SkeletonPaths> run(double minLength, StopPoll& poll) {
        for (int y = 1; y + 1 < height_; ++y) {
            for (int x = 1; x + 1 < width_; ++x) {
                if (ink(y * width_ + x)) {
                    line_.push_back(y * width_ + x);
                }
            }
            if (poll.spend(static_cast<std::size_t>(width_))) {
                return std::nullopt;
            }
        }
        // Each step is one walk along the lines.
        const auto stepDone = [&] { return poll.spend(line_.size()); };
        countNeighbours();
        if (stepDone()) {
            return std::nullopt;
        }
        findJunctions();
        if (stepDone()) {
            return std::nullopt;
        }
        followBranches();
        if (stepDone()) {
            return std::nullopt;
        }
        prune(minLength);
        pairAtJunctions();
        return joinBranches();
    }

private:
    bool ink(int at) const { return skeleton_[at] != 0; }
    // After findJunctions, every pixel of three neighbours or more belongs to a junction.
    bool junction(int at) const { return degree_[at] >= 3; }
    bool assigned(int at) const { return node_.contains(at); }
    int nodeAt(int at) const {
        const auto found = node_.find(at);
        return found == node_.end() ? kNoNode : found->second;
    }

    void countNeighbours() {
        for (const int at : line_) {
            int count = 0;
            for (const int offset : offsets_) {
                count += ink(at + offset) ? 1 : 0;
            }
            degree_[at] = static_cast<std::uint8_t>(count);
            if (count == 0) {
                ++result_.specks;
            }
        }
    }

    // Neighbouring junction pixels are one junction.
    void findJunctions() {
        std::vector<int> pending;
        for (const int start : line_) {
            if (degree_[start] < 3 || assigned(start)) {
                continue;
            }
            const int node = static_cast<int>(junctionPixels_.size());
            junctionPixels_.emplace_back();
            node_[start] = node;
            pending.assign(1, start);
            while (!pending.empty()) {
                const int at = pending.back();
                pending.pop_back();
                junctionPixels_[node].push_back(at);
                for (const int offset : offsets_) {
                    const int next = at + offset;
                    if (ink(next) && degree_[next] >= 3 && !assigned(next)) {
                        node_[next] = node;
                        pending.push_back(next);
                    }
                }
            }
        }
    }

    // Branches from every junction first, then lines with two loose ends, then rings.
    void followBranches() {
        for (const auto& pixels : junctionPixels_) {
            for (const int from : pixels) {
                for (const int offset : offsets_) {
                    const int first = from + offset;
                    if (ink(first) && !junction(first) && !visited_[first]) {
                        walk({from, first});
                    }
                }
            }
        }
        for (const int start : line_) {
            if (degree_[start] == 1 && !visited_[start]) {
                walk({start});
            }
        }
        for (const int start : line_) {
            if (degree_[start] == 2 && !visited_[start]) {
                walk({start});
            }
        }
    }

    // Follows the line on from the last of `pixels` until a junction, a loose end or, for a ring,
    // the first pixel again.
    void walk(std::vector<int> pixels) {
        Branch branch;
        branch.nodes[0] = nodeAt(pixels.front());
        for (const int at : pixels) {
            visited_[at] = 1;
        }
        int previous = pixels.size() > 1 ? pixels[pixels.size() - 2] : -1;
        for (;;) {
            const int current = pixels.back();
            int next = -1;
            for (const int offset : offsets_) {
                const int candidate = current + offset;
                if (!ink(candidate) || candidate == previous) {
                    continue;
                }
                if (junction(candidate)) {
                    next = next < 0 ? candidate : next;
                } else if (!visited_[candidate]) {
                    next = candidate;
                    break;
                } else if (candidate == pixels.front() && pixels.size() > 2) {
                    branch.closed = branch.nodes[0] == kNoNode;
                }
            }
            if (next < 0) {
                break;
            }
            pixels.push_back(next);
            if (junction(next)) {
                branch.nodes[1] = nodeAt(next);
                break;
            }
            visited_[next] = 1;
            previous = current;
        }
        branch.pixels = std::move(pixels);
        branches_.push_back(std::move(branch));
    }

    double length(const Branch& branch) const {
        std::vector<Point> points;
        points.reserve(branch.pixels.size());
        for (const int at : branch.pixels) {
            points.push_back(pointAt(at));
        }
        return pathLength(points, branch.closed);
    }

    Point pointAt(int at) const { return {at % width_, at / width_}; }

    // The least length of a branch with a loose end that leaves the junction `node`.
    double leastBranch(int node, double minLength) const {
        if (radius_.empty() || node == kNoNode) {
            return minLength;
        }
        float thickest = 0;
        for (const int at : junctionPixels_[node]) {
            thickest = std::max(thickest, radius_[at]);
        }
        return std::max(minLength, kSpurReach * thickest + kSpurMargin);
    }

    // Drops specks and spurs. A branch whose junction loses all its other branches so has a
    // loose end there too, and is looked at again: of a corner of spurs, the piece that led to
    // them goes as well when it is short.
    void prune(double minLength) {
        std::vector<std::vector<int>> atNode(junctionPixels_.size());
        std::vector<int> liveEnds(junctionPixels_.size(), 0);
        for (int b = 0; b < static_cast<int>(branches_.size()); ++b) {
            for (const int node : branches_[b].nodes) {
                if (node != kNoNode) {
                    atNode[node].push_back(b);
                    ++liveEnds[node];
                }
            }
        }
        std::vector<int> pending(branches_.size());
        std::iota(pending.rbegin(), pending.rend(), 0);
        while (!pending.empty()) {
            const int b = pending.back();
            pending.pop_back();
            Branch& branch = branches_[b];
            if (branch.removed || !isSpeck(branch, liveEnds, minLength)) {
                continue;
            }
            branch.removed = true;
            ++result_.specks;
            for (const int node : branch.nodes) {
                if (node != kNoNode && --liveEnds[node] == 1) {
                    pending.insert(pending.end(), atNode[node].begin(), atNode[node].end());
                }
            }
        }
    }

    bool isSpeck(const Branch& branch, const std::vector<int>& liveEnds, double minLength) const {
        const auto loose = [&](int node) { return node == kNoNode || liveEnds[node] == 1; };
        const bool looseEnd = loose(branch.nodes[0]) || loose(branch.nodes[1]);
        const bool selfLoop = branch.nodes[0] == branch.nodes[1];
        if (!looseEnd && !selfLoop && !branch.closed) {
            return false;
        }
        double least = minLength;
        if (looseEnd) {
            for (const int node : branch.nodes) {
                least = std::max(least, leastBranch(node, minLength));
            }
        }
        return length(branch) < least;
    }

    // The unit direction in which a branch leaves its junction at `end`.
    std::array<double, 2> direction(const Branch& branch, int end) const {
        const int last = static_cast<int>(branch.pixels.size()) - 1;
        const int reach = std::min(kDirectionReach, last);
        const Point from = pointAt(branch.pixels[end == 0 ? 0 : last]);
        const Point to = pointAt(branch.pixels[end == 0 ? reach : last - reach]);
        const double dx = to.x - from.x;
        const double dy = to.y - from.y;
        const double norm = std::hypot(dx, dy);
        return norm > 0 ? std::array{dx / norm, dy / norm} : std::array{0.0, 0.0};
    }

    // At each junction: two branches left are one line through it; of more, the pairs that go on
    // nearly straight are, the straightest first.
    void pairAtJunctions() {
        partner_.assign(branches_.size() * 2, kNoEnd);
        std::vector<std::vector<int>> ends(junctionPixels_.size());
        for (int b = 0; b < static_cast<int>(branches_.size()); ++b) {
            for (int end = 0; end < 2; ++end) {
                if (!branches_[b].removed && branches_[b].nodes[end] != kNoNode) {
                    ends[branches_[b].nodes[end]].push_back(endKey(b, end));
                }
            }
        }
        for (const std::vector<int>& atNode : ends) {
            if (atNode.size() == 2) {
                link(atNode[0], atNode[1]);
            } else if (atNode.size() > 2) {
                pairStraightest(atNode);
            }
        }
    }

    void pairStraightest(const std::vector<int>& keys) {
        for (;;) {
            double best = kStraightThrough;
            int bestA = kNoEnd;
            int bestB = kNoEnd;
            for (std::size_t i = 0; i < keys.size(); ++i) {
                for (std::size_t j = i + 1; j < keys.size(); ++j) {
                    if (partner_[keys[i]] != kNoEnd || partner_[keys[j]] != kNoEnd) {
                        continue;
                    }
                    const auto a = direction(branches_[keys[i] / 2], keys[i] % 2);
                    const auto b = direction(branches_[keys[j] / 2], keys[j] % 2);
                    const double cosine = a[0] * b[0] + a[1] * b[1];
                    if (cosine < best) {
                        best = cosine;
                        bestA = keys[i];
                        bestB = keys[j];
                    }
                }
            }
            if (bestA == kNoEnd) {
                return;
            }
            link(bestA, bestB);
        }
    }

    void link(int a, int b) {
        partner_[a] = b;
        partner_[b] = a;
    }

    // Lines from a free end first; what is left are rings through junctions.
    SkeletonPaths joinBranches() {
        used_.assign(branches_.size(), 0);
        for (int b = 0; b < static_cast<int>(branches_.size()); ++b) {
            if (branches_[b].removed || used_[b]) {
                continue;
            }
            if (partner_[endKey(b, 0)] == kNoEnd) {
                chainFrom(b, 0);
            } else if (partner_[endKey(b, 1)] == kNoEnd) {
                chainFrom(b, 1);
            }
        }
        for (int b = 0; b < static_cast<int>(branches_.size()); ++b) {
            if (!branches_[b].removed && !used_[b]) {
                chainFrom(b, 0);
            }
        }
        return std::move(result_);
    }

    void chainFrom(int branch, int end) {
        SkeletonPath path;
        path.closed = branches_[branch].closed;
        const int first = branch;
        for (;;) {
            used_[branch] = 1;
            append(branches_[branch].pixels, end == 1, path.pixels);
            const int next = partner_[endKey(branch, 1 - end)];
            if (next == kNoEnd) {
                break;
            }
            if (used_[next / 2]) {
                path.closed = next / 2 == first;
                break;
            }
            branch = next / 2;
            end = next % 2;
        }
        if (path.closed && path.pixels.size() > 1 && path.pixels.back() == path.pixels.front()) {
            path.pixels.pop_back();
        }
        result_.paths.push_back(std::move(path));
    }

    void append(const std::vector<int>& pixels, bool reversed, std::vector<Point>& out) const {
        const auto add = [&](int at) {
            const Point point = pointAt(at);
            if (out.empty() || !(out.back() == point)) {
                out.push_back(point);
            }
        };
        if (reversed) {
            for (auto it = pixels.rbegin(); it != pixels.rend(); ++it) {
                add(*it);
            }
        } else {
            for (const int at : pixels) {
                add(at);
            }
        }
    }

    std::span<const std::uint8_t> skeleton_;
    std::span<const float> radius_;
    int width_;
    int height_;
    std::array<int, 8> offsets_;
    std::vector<int> line_;
    std::vector<std::uint8_t> degree_;
    // The junction of each junction pixel. They are few: an array the size of the picture
    // would cost more to fill than all the rest of the following.
    std::unordered_map<int, int> node_;
    std::vector<std::uint8_t> visited_;
    std::vector<std::vector<int>> junctionPixels_;
    std::vector<Branch> branches_;
    std::vector<int> partner_;
    std::vector<std::uint8_t> used_;
    SkeletonPaths result_;
};

}  // namespace

std::optional<SkeletonPaths> followSkeleton(std::span<const std::uint8_t> skeleton, int width,
                                            int height, double minLength,
                                            std::span<const float> radius, StopPoll& poll) {
    return Follower(skeleton, width, height, radius).run(minLength, poll);
}

double pathLength(std::span<const Point> pixels, bool closed) {
    double total = 0;
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        total += std::hypot(pixels[i].x - pixels[i - 1].x, pixels[i].y - pixels[i - 1].y);
    }
    if (closed && pixels.size() > 1) {
        total += std::hypot(pixels.back().x - pixels.front().x, pixels.back().y - pixels.front().y);
    }
    return total;
}

}  // namespace penmoji::trace
