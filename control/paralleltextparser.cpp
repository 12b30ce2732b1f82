#include "paralleltextparser.h"

#include "cutbuilder.h"
#include "moveindexbuilder.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>
#include <new>
#include <system_error>
#include <thread>

namespace {

// Runs work(k) for k = 0..count - 1 on as many threads; the first exception is thrown again
// once every thread has ended.
template <typename Work> void runEach(std::size_t count, Work work) {
    if (count == 0)
        return;
    std::vector<std::exception_ptr> failures(count);
    std::vector<std::thread> threads;
    const auto guarded = [&](std::size_t k) {
        try {
            work(k);
        } catch (...) {
            failures[k] = std::current_exception();
        }
    };
    try {
        for (std::size_t k = 1; k < count; ++k)
            threads.emplace_back(guarded, k);
    } catch (const std::system_error&) {
        failures[0] = std::make_exception_ptr(std::bad_alloc());
    }
    if (!failures[0])
        guarded(0);
    for (std::thread& thread : threads)
        thread.join();
    if (threads.size() + 1 < count && !failures[0])
        failures[0] = std::make_exception_ptr(std::bad_alloc());
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

// Copies the fields of modal word `word` from `from` into `to`.
void copyWord(int word, const CutRecord& from, CutRecord& to) {
    switch (1u << word) {
    case kToolWord:
        to.toolNo = from.toolNo;
        break;
    case kXWord:
        to.x = from.x;
        break;
    case kYWord:
        to.y = from.y;
        break;
    case kZWord:
        to.z = from.z;
        break;
    case kOrgFeedWord:
        to.orgFeed = from.orgFeed;
        break;
    case kRemovalWord:
        to.removalKind = from.removalKind;
        to.removal = from.removal;
        break;
    default:
        to.optFeed = from.optFeed;
        break;
    }
}

} // namespace

// Stores a part's records in their slots, with the step of each block in totalDistance.
class ParallelTextParser::PartSink {
public:
    PartSink(Part& part, CutDataSet& data) : part_(part), data_(data) {}

    void add(const TextState& state, float dx, float dy, float dz) {
        const std::uint32_t i = part_.count++;
        data_.records[part_.first + i] = state.record;
        if (const unsigned newly = state.known & ~seen_) {
            for (int word = 0; word < kWordCount; ++word)
                if (newly & (1u << word))
                    part_.firstKnown[word] = i;
            seen_ |= newly;
        }
        float& step = data_.totalDistance[part_.first + i];
        if (state.unknownMoves) {
            part_.pending.push_back({i, {dx, dy, dz}, state.unknownMoves});
            step = 0.0f;
        } else {
            step = StepLength(dx, dy, dz);
        }
    }

private:
    Part& part_;
    CutDataSet& data_;
    unsigned seen_ = 0;
};

ParallelTextParser::ParallelTextParser(char* text, char* end, unsigned parts, LoadMonitor* monitor)
    : monitor_(monitor) {
    split(text, end, parts);
}

// Every 64Ki lines of a part: the monitor's share moves on by the records read, and a request to
// stop ends the read.
void ParallelTextParser::lineDone(const Part& part, std::uint32_t& lines, std::uint32_t& counted) {
    if (!monitor_ || ++lines % 65536 != 0)
        return;
    const std::size_t total = recordsRead_ += part.count - counted;
    counted = part.count;
    monitor_->permille = static_cast<int>(400 + 550 * total / (slots_ + 1));
    if (monitor_->cancelled)
        throw Cancelled();
}

// Cuts the text at the line starts nearest to equal shares; an empty text is one empty part.
void ParallelTextParser::split(char* text, char* end, unsigned parts) {
    const std::size_t size = static_cast<std::size_t>(end - text);
    char* begin = text;
    for (unsigned k = 1; k <= parts && (begin < end || parts_.empty()); ++k) {
        char* cut = k == parts ? end : text + size * k / parts;
        if (cut < begin)
            cut = begin;
        if (cut < end) {
            auto* feed =
                static_cast<char*>(std::memchr(cut, '\n', static_cast<std::size_t>(end - cut)));
            cut = feed ? feed + 1 : end;
        }
        Part part;
        part.begin = begin;
        part.end = cut;
        part.state.known = parts_.empty() ? unsigned{kAllWords} : 0u;
        parts_.push_back(std::move(part));
        begin = cut;
    }
}

void ParallelTextParser::allocate(std::size_t slots) {
    ReserveCutData(data_, slots);
    data_.records.resize(slots);
    data_.totalDistance.resize(slots);
    data_.cutDistance.resize(slots);
    data_.blockNos.resize(slots);
}

void ParallelTextParser::read(Part& part) {
    part.firstKnown.fill(std::numeric_limits<std::uint32_t>::max());
    PartSink sink(part, data_);
    std::uint32_t lines = 0;
    std::uint32_t counted = 0;
    cuttext::forEachLine(part.begin, part.end, [&](const char* line) {
        cuttext::readLine(line, part.state, sink);
        lineDone(part, lines, counted);
    });
    for (std::uint32_t& first : part.firstKnown)
        first = std::min(first, part.count);
}

// Moves every part's records and steps down to follow the part before without a gap: block lines
// without ")" left their slots empty.
void ParallelTextParser::closeGaps() {
    std::size_t next = 0;
    for (Part& part : parts_) {
        if (part.first != next) {
            std::memmove(&data_.records[next], &data_.records[part.first],
                         part.count * sizeof(CutRecord));
            std::memmove(&data_.totalDistance[next], &data_.totalDistance[part.first],
                         part.count * sizeof(float));
            part.first = next;
        }
        next += part.count;
    }
    data_.count = static_cast<std::uint32_t>(next);
    if (next == data_.records.size())
        return;
    data_.records.resize(next);
    data_.totalDistance.resize(next);
    data_.cutDistance.resize(next);
    data_.blockNos.resize(next);
    data_.records.shrink_to_fit();
    data_.totalDistance.shrink_to_fit();
    data_.cutDistance.shrink_to_fit();
    data_.blockNos.shrink_to_fit();
}

void ParallelTextParser::takeEarlierWords(const Part& part, const CutRecord& before) {
    for (int word = 0; word < kWordCount; ++word)
        for (std::uint32_t i = 0; i < part.firstKnown[word]; ++i)
            copyWord(word, before, data_.records[part.first + i]);
}

// Fills in what the part could not know, given the state before it, and takes what the records
// give: steps, block numbers and maxima.
void ParallelTextParser::complete(Part& part, const CutRecord& before) {
    takeEarlierWords(part, before);
    for (const PendingStep& pending : part.pending) {
        const CutRecord& record = data_.records[part.first + pending.record];
        std::array<float, 3> delta = pending.delta;
        const float moved[3] = {record.x - before.x, record.y - before.y, record.z - before.z};
        for (int axis = 0; axis < 3; ++axis)
            if (pending.axes & (kXWord << axis))
                delta[axis] = moved[axis];
        data_.totalDistance[part.first + pending.record] = StepLength(delta[0], delta[1], delta[2]);
    }
    for (std::size_t i = part.first; i < part.first + part.count; ++i) {
        const CutRecord& record = data_.records[i];
        data_.blockNos[i] = record.blockNo;
        data_.cutDistance[i] = record.motionCode == 0 ? 0.0f : data_.totalDistance[i];
        CutBuilder::raiseMaxima(part.maxima, record);
    }
}

// The move index from every record's step, as the sequential reader builds it record by record.
void ParallelTextParser::indexMoves() {
    MoveIndexBuilder moves;
    for (std::size_t i = 0; i < data_.records.size(); ++i)
        moves.add(data_.records[i], i > 0 ? &data_.records[i - 1] : nullptr,
                  data_.totalDistance[i]);
    data_.moves = moves.take();
}

// The steps in `distances` become their running sum, in record order.
void ParallelTextParser::sumDistances(std::vector<float>& distances) {
    float sum = 0.0f;
    for (float& distance : distances) {
        sum = CutBuilder::addStep(sum, distance);
        distance = sum;
    }
}

CutDataSet ParallelTextParser::parse() {
    runEach(parts_.size(), [&](std::size_t k) {
        parts_[k].slots = cuttext::countBlockLines(parts_[k].begin, parts_[k].end);
    });
    std::size_t slots = 0;
    for (Part& part : parts_) {
        part.first = slots;
        slots += part.slots;
    }
    slots_ = slots;
    allocate(slots);
    runEach(parts_.size(), [&](std::size_t k) { read(parts_[k]); });
    closeGaps();
    // The state before each part: the one before the part before, with what that part set.
    std::vector<CutRecord> before(parts_.size());
    for (std::size_t k = 1; k < parts_.size(); ++k) {
        before[k] = parts_[k - 1].state.record;
        for (int word = 0; word < kWordCount; ++word)
            if (!(parts_[k - 1].state.known & (1u << word)))
                copyWord(word, before[k - 1], before[k]);
    }
    runEach(parts_.size(), [&](std::size_t k) { complete(parts_[k], before[k]); });
    for (const Part& part : parts_)
        for (int series = 0; series < kMaximaCount; ++series)
            CutBuilder::raiseMaximum(data_.maxima[series], part.maxima[series]);
    // The move index takes the steps, which the total distance then replaces by their sum.
    runEach(2, [&](std::size_t k) {
        if (k == 0)
            indexMoves();
        else
            sumDistances(data_.cutDistance);
    });
    sumDistances(data_.totalDistance);
    data_.index = CutIndex::build(data_);
    return std::move(data_);
}
