#include "cutbinaryscan.h"

#include "runeach.h"

#include <algorithm>
#include <limits>

namespace cutbinary {
namespace {

enum class Step { Fits, EndsData, Truncated };

// The first field of the entry at `pos` that runs past `size`.
std::size_t firstFieldPast(std::uint16_t flags, std::size_t pos, std::size_t size) {
    std::size_t field = pos + 2;
    for (std::size_t bit = 0; bit < kFieldSizes.size(); ++bit) {
        if (!(flags & (1u << bit)))
            continue;
        if (field + kFieldSizes[bit] > size)
            break;
        field += kFieldSizes[bit];
    }
    return field;
}

// Steps over the entry at `pos`, or tells why there is none: the data ends there, or the entry
// does not fit and `truncatedAt` names the first of its bytes missing.
Step stepOver(const unsigned char* bytes, std::size_t size, std::size_t& pos,
              std::size_t& truncatedAt) {
    if (pos >= size || bytes[pos] == 0)
        return Step::EndsData;
    if (pos + 2 > size) {
        truncatedAt = pos;
        return Step::Truncated;
    }
    const std::uint16_t flags = flagsAt(bytes + pos);
    const std::size_t end = pos + 2 + kEntrySizes[flags & 0x3FF];
    if (end > size) {
        truncatedAt = firstFieldPast(flags, pos, size);
        return Step::Truncated;
    }
    pos = end;
    return Step::Fits;
}

// A run of entries that a walk from inside the file followed: its heads walk.heads[first] up to
// walk.heads[last - 1]. A run that stopped is closed, and how it stopped is known; the last run of
// a walk may be open, to be walked on.
struct Run {
    std::size_t first = 0;
    std::size_t last = 0;
    bool open = false;
    Step end = Step::EndsData;
    std::size_t truncatedAt = 0;
};

// A walk over the flag words from where a share of the file begins.
struct Walk {
    std::size_t from = 0;
    // The entries that walks from `from` found, in runs; none for the first walk, which starts at
    // the first entry.
    std::vector<std::size_t> heads;
    std::vector<Run> runs;
    // From the first entry of the open run (the first walk: of the file), walked on until it
    // stopped: the entries stepped over, and the later walk and head it met or how it stopped.
    std::size_t steps = 0;
    // Where it crossed the bounds of the pieces on its way: the entries stepped over and the
    // offset.
    std::vector<EntryCut> marks;
    bool met = false;
    std::size_t metWalk = 0;
    std::size_t metHead = 0;
    Step end = Step::EndsData;
    std::size_t truncatedAt = 0;

    bool hasOpenRun() const { return !runs.empty() && runs.back().open; }
    // The run of a head.
    const Run& runOf(std::size_t head) const {
        return *std::find_if(runs.begin(), runs.end(),
                             [head](const Run& run) { return head < run.last; });
    }
};

// The runs of walks from `from` on, each as if an entry started where it begins: a run that stops
// before `settling` entries is closed, and the next begins a byte after where it stopped, until
// one runs `settling` entries, the file ends, or the runs hold 4 * `settling` entries, too many
// to keep. The last run, unless closed, stays open.
void findRuns(const unsigned char* bytes, std::size_t size, std::size_t settling, Walk& walk) {
    std::size_t pos = walk.from;
    Run run;
    while (pos < size && walk.heads.size() < 4 * settling) {
        const std::size_t head = pos;
        const Step step = stepOver(bytes, size, pos, run.truncatedAt);
        if (step == Step::Fits) {
            walk.heads.push_back(head);
            if (walk.heads.size() - run.first < settling)
                continue;
            run.last = walk.heads.size();
            run.open = true;
            walk.runs.push_back(run);
            return;
        }
        run.last = walk.heads.size();
        run.end = step;
        if (run.last > run.first)
            walk.runs.push_back(run);
        run = Run{walk.heads.size(), walk.heads.size()};
        pos = head + 1;
    }
    // A run cut short by the file's end or by the limit goes on from where it is.
    if (walk.heads.size() > run.first) {
        run.last = walk.heads.size();
        run.open = true;
        walk.runs.push_back(run);
    }
}

constexpr std::size_t kNever = std::numeric_limits<std::size_t>::max();

// The later walks that a walk may meet: the one to look for next, from which position on, and the
// first of its heads not passed yet. A walk looks for a later walk only from `settled`, its own
// last head, on: the walk before may join it at any of its heads, and must find the entries
// between there and the meeting in front of it.
class LaterWalks {
public:
    LaterWalks(const std::vector<Walk>& walks, std::size_t k, std::size_t settled)
        : walks_(walks), settled_(settled), target_(k + 1), from_(meetFrom()) {}

    // Whether an entry at `pos` is a head of a later walk. A later walk whose heads lie behind
    // `pos`, none of them met, is left behind for the next one.
    bool meets(std::size_t pos) { return pos >= from_ && looksAt(pos); }
    std::size_t walk() const { return target_; }
    std::size_t head() const { return head_; }

private:
    bool looksAt(std::size_t pos) {
        while (pos >= from_) {
            const std::vector<std::size_t>& heads = walks_[target_].heads;
            while (head_ < heads.size() && heads[head_] < pos)
                ++head_;
            if (head_ < heads.size())
                return heads[head_] == pos;
            ++target_;
            head_ = 0;
            from_ = meetFrom();
        }
        return false;
    }

    std::size_t meetFrom() const {
        return target_ < walks_.size() ? std::max(walks_[target_].from, settled_) : kNever;
    }

    const std::vector<Walk>& walks_;
    std::size_t settled_;
    std::size_t target_;
    std::size_t from_;
    std::size_t head_ = 0;
};

// The bounds of `pieces` equal pieces of `size` bytes, from the first one after `pos` on.
class PieceBounds {
public:
    PieceBounds(std::size_t size, std::size_t pieces, std::size_t pos)
        : size_(size), pieces_(pieces) {
        passTo(pos);
    }

    // Whether the entry at `entry` is the first from a bound on; the bounds up to it are passed.
    bool crossedAt(std::size_t entry) {
        if (entry < next_)
            return false;
        passTo(entry);
        return true;
    }

private:
    std::size_t bound() const { return piece_ < pieces_ ? size_ * piece_ / pieces_ : kNever; }
    void passTo(std::size_t pos) {
        while (bound() <= pos)
            ++piece_;
        next_ = bound();
    }

    std::size_t size_;
    std::size_t pieces_;
    std::size_t piece_ = 1;
    std::size_t next_ = 0;
};

// Walks on from the first entry of walk k until it meets a later walk, whose head it steps on, or
// the data ends. On its way it marks the first entry from each bound of `pieces` equal pieces of
// the file on.
void walkOn(const unsigned char* bytes, std::size_t size, std::size_t pieces,
            std::vector<Walk>& walks, std::size_t k) {
    Walk& walk = walks[k];
    std::size_t pos = k == 0 ? kHeaderSize : walk.heads[walk.runs.back().first];
    LaterWalks later(walks, k, k == 0 ? kHeaderSize : walk.heads.back());
    PieceBounds bounds(size, pieces, pos);
    for (std::size_t steps = 0;; ++steps) {
        if (later.meets(pos)) {
            walk.steps = steps;
            walk.met = true;
            walk.metWalk = later.walk();
            walk.metHead = later.head();
            return;
        }
        const std::size_t entry = pos;
        std::size_t missing = 0;
        if (const Step step = stepOver(bytes, size, pos, missing); step != Step::Fits) {
            walk.steps = steps;
            walk.end = step;
            walk.truncatedAt = missing;
            return;
        }
        if (bounds.crossedAt(entry))
            walk.marks.push_back({steps, entry});
    }
}

// Adds a cut after the last one; a part left empty before it is dropped.
void addCut(EntryScan& scan, const EntryCut& cut) {
    if (cut.entry == scan.cuts.back().entry)
        scan.cuts.back() = cut;
    else
        scan.cuts.push_back(cut);
}

// The scan that the walk from the first entry gives, following each walk into the one it met, and
// cutting where the walks met and where they crossed the bounds of the pieces after being joined.
EntryScan joinWalks(const std::vector<Walk>& walks) {
    EntryScan scan;
    scan.cuts.push_back({0, kHeaderSize});
    const Walk* walk = &walks[0];
    std::size_t joined = 0; // the entries of the walk before the head where it was joined
    Step end = Step::EndsData;
    std::size_t truncatedAt = 0;
    for (;;) {
        const std::size_t before = scan.entries;
        for (const EntryCut& mark : walk->marks)
            if (mark.entry > joined)
                addCut(scan, {before + mark.entry - joined, mark.offset});
        scan.entries = before + walk->steps - joined;
        end = walk->end;
        truncatedAt = walk->truncatedAt;
        if (!walk->met)
            break;
        const Walk& next = walks[walk->metWalk];
        const std::size_t head = walk->metHead;
        addCut(scan, {scan.entries, next.heads[head]});
        const Run& run = next.runOf(head);
        if (!run.open) {
            scan.entries += run.last - head;
            end = run.end;
            truncatedAt = run.truncatedAt;
            break;
        }
        joined = head - run.first;
        walk = &next;
    }
    if (end == Step::Truncated) {
        scan.complete = false;
        scan.truncatedAt = truncatedAt;
    }
    return scan;
}

} // namespace

EntryScan ScanEntries(std::span<const unsigned char> file, unsigned walkCount, unsigned pieces,
                      std::size_t settling) {
    const unsigned char* bytes = file.data();
    const std::size_t size = file.size();
    std::vector<Walk> walks(std::max(walkCount, 1u));
    for (std::size_t k = 1; k < walks.size(); ++k)
        walks[k].from = std::max(kHeaderSize, size * k / walks.size());
    runEach(walks.size() - 1,
            [&](std::size_t k) { findRuns(bytes, size, settling, walks[k + 1]); });
    runEach(walks.size(), [&](std::size_t k) {
        if (k == 0 || walks[k].hasOpenRun())
            walkOn(bytes, size, std::max(pieces, 1u), walks, k);
    });
    return joinWalks(walks);
}

} // namespace cutbinary
