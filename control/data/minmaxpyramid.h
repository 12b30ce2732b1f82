#pragma once

#include "unwrittenallocator.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// A summary tree over `count` items: level 0 are the items themselves (not stored), every entry of
// level l + 1 summarises 16 entries of level l (the last one what is left), up to a level of one
// entry. Node is any summary with merge(const Node&).
//
// The queries take the entries as (level, index) pairs and leave their meaning to the caller: an
// entry of level 0 is item `index`, any other entry is node(level, index).
template <class Node> class MinMaxPyramid {
public:
    static constexpr std::uint64_t kFanout = 16;
    // The entries of one level, left as the memory came until the build writes every one of them.
    using Level = LoadedArray<Node>;

    // Builds the levels from the summaries of the items: leaf(first, last) gives the node of
    // items first..last - 1 (at most 16 of them).
    template <class Leaf> void build(std::uint32_t count, Leaf leaf) {
        Level level(count <= 1 ? 0 : firstLevelSize(count));
        for (std::uint64_t k = 0; k < level.size(); ++k)
            level[k] =
                leaf(static_cast<std::uint32_t>(k * kFanout),
                     static_cast<std::uint32_t>(std::min<std::uint64_t>((k + 1) * kFanout, count)));
        build(count, std::move(level));
    }

    // The entries of level 1, firstLevelSize(count) of them: what the leaves would give. Builds
    // the levels above them.
    void build(std::uint32_t count, Level level) {
        count_ = count;
        levels_.clear();
        if (count <= 1)
            return;
        levels_.push_back(std::move(level));
        while (levels_.back().size() > 1) {
            const Level& below = levels_.back();
            Level above((below.size() + kFanout - 1) / kFanout);
            for (std::uint64_t k = 0; k < below.size(); ++k) {
                if (k % kFanout == 0)
                    above[k / kFanout] = below[k];
                else
                    above[k / kFanout].merge(below[k]);
            }
            levels_.push_back(std::move(above));
        }
    }

    static std::uint64_t firstLevelSize(std::uint32_t count) {
        return (count + kFanout - 1) / kFanout;
    }

    std::uint32_t count() const { return count_; }
    int levels() const { return static_cast<int>(levels_.size()); }
    const Node& node(int level, std::uint64_t k) const { return levels_[level - 1][k]; }
    std::uint64_t bytes() const {
        std::uint64_t total = 0;
        for (const Level& level : levels_)
            total += level.capacity() * sizeof(Node);
        return total;
    }

    // Calls visit(level, k) for entries that together cover items a..b - 1 exactly once.
    template <class Visit> void cover(std::uint64_t a, std::uint64_t b, Visit visit) const {
        int level = 0;
        while (a < b) {
            if (level == levels()) {
                for (; a < b; ++a)
                    visit(level, a);
                return;
            }
            for (; a < b && a % kFanout != 0; ++a)
                visit(level, a);
            for (; a < b && b % kFanout != 0 && b != size(level); --b)
                visit(level, b - 1);
            if (a == b)
                return;
            a /= kFanout;
            b = (b + kFanout - 1) / kFanout;
            ++level;
        }
    }

    // The first item in a..b - 1 that has the property, b when none has it. has(level, k) tells
    // whether entry k of the level holds an item with it; it must be exact.
    // As findLast, an entry's parent may pass over a stretch of entries that lack the property.
    template <class Has> std::uint64_t findFirst(std::uint64_t a, std::uint64_t b, Has has) const {
        int level = 0;
        std::uint64_t k = a;
        int triedLevel = -1;
        std::uint64_t triedParent = 0;
        while (start(level, k) < b) {
            const std::uint64_t parent = k / kFanout;
            if (level < levels() && k % kFanout == 0 && end(level + 1, parent) <= b) {
                k = parent;
                ++level;
            } else if (level < levels() && (triedLevel != level || triedParent != parent)) {
                triedLevel = level;
                triedParent = parent;
                if (!has(level + 1, parent)) {
                    if (end(level + 1, parent) >= b)
                        return b;
                    k = (parent + 1) * kFanout;
                }
            } else if (end(level, k) <= b) {
                if (has(level, k))
                    return firstBelow(level, k, has);
                ++k;
            } else {
                --level;
                k *= kFanout;
            }
        }
        return b;
    }

    // The last item in a..b - 1 that has the property, b when none has it.
    // An entry's parent also covers entries beyond b; when even it lacks the property, none of
    // its entries before k has it, which passes over a stretch of them at once.
    template <class Has> std::uint64_t findLast(std::uint64_t a, std::uint64_t b, Has has) const {
        int level = 0;
        std::uint64_t k = b; // entries k and beyond are done
        int triedLevel = -1;
        std::uint64_t triedParent = 0;
        while (k > 0 && end(level, k - 1) > a) {
            const std::uint64_t parent = (k - 1) / kFanout;
            if (level < levels() && (k % kFanout == 0 || k == size(level)) &&
                start(level + 1, parent) >= a) {
                k = parent + 1;
                ++level;
            } else if (level < levels() && (triedLevel != level || triedParent != parent)) {
                triedLevel = level;
                triedParent = parent;
                if (!has(level + 1, parent)) {
                    if (start(level + 1, parent) <= a)
                        return b;
                    k = parent * kFanout;
                }
            } else if (start(level, k - 1) >= a) {
                if (has(level, k - 1))
                    return lastBelow(level, k - 1, has);
                --k;
            } else {
                --level;
                k = std::min(k * kFanout, size(level));
            }
        }
        return b;
    }

private:
    std::uint64_t size(int level) const { return level == 0 ? count_ : levels_[level - 1].size(); }
    static std::uint64_t span(int level) {
        std::uint64_t items = 1;
        for (int i = 0; i < level; ++i)
            items *= kFanout;
        return items;
    }
    std::uint64_t start(int level, std::uint64_t k) const { return k * span(level); }
    std::uint64_t end(int level, std::uint64_t k) const {
        return std::min<std::uint64_t>((k + 1) * span(level), count_);
    }

    template <class Has> std::uint64_t firstBelow(int level, std::uint64_t k, Has has) const {
        while (level > 0) {
            --level;
            k *= kFanout;
            const std::uint64_t last = std::min(k + kFanout, size(level)) - 1;
            while (k < last && !has(level, k))
                ++k;
        }
        return k;
    }
    template <class Has> std::uint64_t lastBelow(int level, std::uint64_t k, Has has) const {
        while (level > 0) {
            --level;
            const std::uint64_t first = k * kFanout;
            k = std::min(first + kFanout, size(level)) - 1;
            while (k > first && !has(level, k))
                --k;
        }
        return k;
    }

    std::uint32_t count_ = 0;
    std::vector<Level> levels_;
};
