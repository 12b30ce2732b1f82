#include "changeruns.h"

#include "machiningtime.h"
#include "movesums.h"
#include "runeach.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace {

// The sign of a record's change: -1 slower, 1 faster, 0 for a record no change run holds (a G00
// move, a feed not above 0, equal feeds).
int changeSign(const CutRecord& record) {
    if (record.motionCode == 0 || record.orgFeed <= 0 || record.optFeed <= 0)
        return 0;
    return record.optFeed < record.orgFeed ? -1 : (record.optFeed > record.orgFeed ? 1 : 0);
}

// Whether record i (i > 0) continues the change run of record i - 1.
bool continues(const CutDataSet& data, std::uint32_t i) {
    const CutRecord& record = data.records[i];
    const CutRecord& previous = data.records[i - 1];
    const int sign = changeSign(record);
    return sign != 0 && sign == changeSign(previous) && record.toolNo == previous.toolNo;
}

// Whether `a` comes before `b` in the list of `kind`: the larger cost first, then the earlier run.
bool ranksBefore(ChangeKind kind, const ChangeRun& a, const ChangeRun& b) {
    const double costA = kind == ChangeKind::Slower ? a.difference() : -a.difference();
    const double costB = kind == ChangeKind::Slower ? b.difference() : -b.difference();
    if (costA != costB)
        return costA > costB;
    return a.first < b.first;
}

// The `top` runs of one kind met so far, as a heap whose front is the one that ranks last.
class TopRuns {
public:
    TopRuns(ChangeKind kind, std::uint32_t top) : kind_(kind), top_(top) {}

    void offer(const ChangeRun& run) {
        const auto later = [this](const ChangeRun& a, const ChangeRun& b) {
            return ranksBefore(kind_, a, b);
        };
        if (runs_.size() < top_) {
            runs_.push_back(run);
            std::push_heap(runs_.begin(), runs_.end(), later);
        } else if (top_ > 0 && ranksBefore(kind_, run, runs_.front())) {
            std::pop_heap(runs_.begin(), runs_.end(), later);
            runs_.back() = run;
            std::push_heap(runs_.begin(), runs_.end(), later);
        }
    }
    std::vector<ChangeRun>& runs() { return runs_; }

private:
    ChangeKind kind_;
    std::uint32_t top_;
    std::vector<ChangeRun> runs_;
};

struct PartLists {
    TopRuns slower;
    TopRuns faster;
};

// The change run that begins at record `first`.
ChangeRun runFrom(const CutDataSet& data, std::uint32_t first) {
    MoveLengthWalk lengths(data, first);
    ChangeRun run;
    run.first = first;
    run.toolNo = data.records[first].toolNo;
    std::uint32_t i = first;
    do {
        const CutRecord& record = data.records[i];
        const double length = lengths.at(i);
        if (length > 0.0 && std::isfinite(length)) {
            run.length += length;
            run.programmed += movesums::kSecondsPerMinute * length / record.orgFeed;
            run.optimised += movesums::kSecondsPerMinute * length / record.optFeed;
        }
        ++i;
    } while (i < data.count && continues(data, i));
    run.last = i - 1;
    run.firstBlock = data.blockNos[run.first];
    run.lastBlock = data.blockNos[run.last];
    return run;
}

// Offers every change run that begins in records begin..end-1; the last one may go on beyond.
void findRuns(const CutDataSet& data, std::uint32_t begin, std::uint32_t end, PartLists& lists) {
    std::uint32_t i = begin;
    while (i < end && i > 0 && continues(data, i))
        ++i;
    while (i < end) {
        const int sign = changeSign(data.records[i]);
        if (sign == 0) {
            ++i;
            continue;
        }
        const ChangeRun run = runFrom(data, i);
        (sign < 0 ? lists.slower : lists.faster).offer(run);
        i = run.last + 1;
    }
}

std::vector<ChangeRun> ranked(ChangeKind kind, std::vector<ChangeRun> runs, std::uint32_t top) {
    std::sort(runs.begin(), runs.end(),
              [kind](const ChangeRun& a, const ChangeRun& b) { return ranksBefore(kind, a, b); });
    if (runs.size() > top)
        runs.resize(top);
    return runs;
}

constexpr std::uint32_t kRecordsPerThread = 1u << 20;
constexpr unsigned kMaxThreads = 8;

unsigned threadsFor(std::uint32_t count, unsigned threads) {
    if (threads > 0)
        return threads;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return std::clamp(count / kRecordsPerThread, 1u, std::min(cores, kMaxThreads));
}

} // namespace

ChangeLists LargestChangeRuns(const CutDataSet& data, std::uint32_t top, unsigned threads) {
    ChangeLists lists;
    if (data.count == 0 || data.moves.records != data.count || data.records.size() != data.count)
        return lists;
    const unsigned used = threadsFor(data.count, threads);
    const std::uint32_t partCount =
        used == 1 ? 1 : std::min<std::uint32_t>(data.count, used * kPiecesPerThread);
    std::vector<PartLists> parts(
        partCount, PartLists{TopRuns(ChangeKind::Slower, top), TopRuns(ChangeKind::Faster, top)});
    const auto bound = [&](std::uint32_t k) {
        return static_cast<std::uint32_t>(std::uint64_t{data.count} * k / partCount);
    };
    runShared(partCount, used, [&](std::size_t k) {
        const auto part = static_cast<std::uint32_t>(k);
        findRuns(data, bound(part), bound(part + 1), parts[k]);
    });
    for (PartLists& part : parts) {
        lists.slower.insert(lists.slower.end(), part.slower.runs().begin(),
                            part.slower.runs().end());
        lists.faster.insert(lists.faster.end(), part.faster.runs().begin(),
                            part.faster.runs().end());
    }
    lists.slower = ranked(ChangeKind::Slower, std::move(lists.slower), top);
    lists.faster = ranked(ChangeKind::Faster, std::move(lists.faster), top);
    return lists;
}

std::vector<ChangeRun> ChangeRunCache::runs(const CutDataSet& data, ChangeKind kind,
                                            std::uint32_t top) {
    const bool same = data_ == &data && serial_ == data.index.serial() && count_ == data.count;
    if (!same || top > top_) {
        top_ = std::max(top, kDefaultTop);
        lists_ = LargestChangeRuns(data, top_);
        data_ = &data;
        serial_ = data.index.serial();
        count_ = data.count;
    }
    const std::vector<ChangeRun>& all = lists_.of(kind);
    return {all.begin(), all.begin() + std::min<std::size_t>(top, all.size())};
}
