#include "cutsynthesizer.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr std::int32_t kSafeZ = 50000;     // um above the part
constexpr std::int32_t kApproachZ = 2000;  // um, end of the rapid approach
constexpr std::int32_t kFieldHalf = 80000; // um, half the width of the machined field
constexpr std::int16_t kToolCount = 6;

} // namespace

CutSynthesizer::CutSynthesizer(std::uint64_t seed, const SynthOptions& options)
    : random_(seed), options_(options) {}

// splitmix64: small, fast and the same on every platform.
std::uint64_t CutSynthesizer::next() {
    std::uint64_t z = (random_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::int32_t CutSynthesizer::uniform(std::int32_t low, std::int32_t high) {
    const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low + 1);
    return static_cast<std::int32_t>(low + static_cast<std::int64_t>(next() % span));
}

void CutSynthesizer::generate(std::int64_t blocks, CutWriter& writer) {
    begin(blocks, writer);
    while (!done()) {
        changeTool(writer);
        const std::int32_t startX = uniform(-kFieldHalf, kFieldHalf);
        const std::int32_t startY = uniform(-kFieldHalf, kFieldHalf);
        rapidTo(startX, startY, kSafeZ, writer);
        rapidTo(startX, startY, kApproachZ, writer);
        const std::int32_t passes = uniform(2, 12);
        for (std::int32_t pass = 0; pass < passes && !done(); ++pass) {
            const std::int32_t depth = -uniform(200, 3000) * (pass + 1) / 2;
            cut(1, current_.x, current_.y, depth, writer);
            const std::int32_t moves = uniform(10, 120);
            for (std::int32_t move = 0; move < moves && !done(); ++move) {
                const std::int32_t x =
                    std::clamp(current_.x + uniform(-options_.largestMove, options_.largestMove),
                               -kFieldHalf, kFieldHalf);
                const std::int32_t y =
                    std::clamp(current_.y + uniform(-options_.largestMove, options_.largestMove),
                               -kFieldHalf, kFieldHalf);
                const std::int32_t roll = uniform(0, 9);
                const std::uint8_t code = roll < 6 ? 1 : roll < 8 ? 2 : 3;
                cut(code, x, y, depth + uniform(-50, 50), writer);
            }
        }
        rapidTo(current_.x, current_.y, kSafeZ, writer);
        writer.remark("M09");
    }
    end(writer);
}

void CutSynthesizer::begin(std::int64_t blocks, CutWriter& writer) {
    blocks_ = blocks;
    written_ = 0;
    toolLeft_ = 0;
    current_ = SynthBlock{};
    current_.motionCode = 255; // as the loaders start
    current_.z = kSafeZ;
    previous_ = current_;
    writer.remark("%");
    std::string programNumber = "O";
    programNumber += std::to_string(uniform(1000, 9999));
    writer.remark(programNumber);
    writer.remark("(MONITORING DATA, SEED-GENERATED)");
    writer.remark("");
    writer.start(current_.x, current_.y, current_.z);
}

void CutSynthesizer::end(CutWriter& writer) {
    writer.remark("M30");
    writer.remark("%");
}

void CutSynthesizer::changeTool(CutWriter& writer) {
    const auto tool = static_cast<std::int16_t>(current_.toolNo % kToolCount + 1);
    writer.remark("(TOOL CHANGE)");
    writer.toolChange(tool);
    writer.remark("M06");
    current_.toolNo = tool;
    programmedFeed_ = uniform(4, 30) * 50;
}

void CutSynthesizer::rapidTo(std::int32_t x, std::int32_t y, std::int32_t z, CutWriter& writer) {
    if (done())
        return;
    current_.motionCode = 0;
    current_.x = x;
    current_.y = y;
    current_.z = z;
    current_.removalKind = 0;
    current_.removal = 0;
    current_.removalNaN = false;
    mixIntoRapid();
    writeBlock(writer);
}

// A cutting block. The removal kinds stand for air cutting (N), then increasing engagement; the
// optimised feed rises where little is removed and falls where much is.
void CutSynthesizer::cut(std::uint8_t motionCode, std::int32_t x, std::int32_t y, std::int32_t z,
                         CutWriter& writer) {
    if (done())
        return;
    const std::int32_t roll = uniform(0, 19);
    const auto kind = static_cast<std::uint8_t>(roll < 2 ? 0 : 1 + roll % 4);
    cutRemoving(motionCode, x, y, z, kind, kind == 0 ? 0 : uniform(50, 2500) * kind, writer);
}

void CutSynthesizer::cutRemoving(std::uint8_t motionCode, std::int32_t x, std::int32_t y,
                                 std::int32_t z, std::uint8_t removalKind, std::int32_t removal,
                                 CutWriter& writer) {
    if (done())
        return;
    current_.motionCode = motionCode;
    current_.x = x;
    current_.y = y;
    current_.z = z;
    current_.orgFeed = programmedFeed_;
    current_.removalKind = removalKind;
    current_.removal = removal;
    const double load = current_.removal / 10000.0;
    const double factor = std::clamp(1.6 - load * 0.6, 0.5, 1.5);
    current_.optFeed = static_cast<std::int32_t>(std::lround(programmedFeed_ * factor));
    current_.removalNaN = false;
    mixIntoCut();
    writeBlock(writer);
}

void CutSynthesizer::writeBlock(CutWriter& writer) {
    mixIntoEmit(writer);
    current_.blockNo = nextBlockNo();
    writer.block(current_, previous_);
    previous_ = current_;
    ++written_;
}

bool CutSynthesizer::chance(int perMille) {
    return perMille > 0 && uniform(0, 999) < perMille;
}

// A cutting block that stands still, spikes, has a NaN removal or a feed of 0 or below.
void CutSynthesizer::mixIntoCut() {
    if (chance(options_.standingStill)) {
        current_.x = previous_.x;
        current_.y = previous_.y;
        current_.z = previous_.z;
    }
    if (chance(options_.spikes)) {
        current_.removalKind = 2;
        current_.removal =
            uniform(0, 3) == 0 ? -uniform(1, 50) * 10000 : uniform(100, 1000) * 10000;
    }
    if (chance(options_.nanRemoval)) {
        current_.removalKind = 2;
        current_.removalNaN = true;
    }
    if (chance(options_.feedsNotPositive)) {
        if (uniform(0, 1) == 0)
            current_.orgFeed = uniform(0, 1) == 0 ? 0 : -250;
        else
            current_.optFeed = uniform(0, 1) == 0 ? 0 : -1;
    }
}

// A rapid move that removes material.
void CutSynthesizer::mixIntoRapid() {
    if (chance(options_.rapidRemoval)) {
        current_.removalKind = 2;
        current_.removal = uniform(50, 2500);
    }
}

// Before a block: a new tool every few blocks, or a G92 preset, which moves the position the
// loaders keep without a block.
void CutSynthesizer::mixIntoEmit(CutWriter& writer) {
    if (options_.toolRun > 0 && --toolLeft_ <= 0) {
        toolLeft_ = uniform(1, options_.toolRun);
        current_.toolNo = static_cast<std::int16_t>(uniform(0, 5));
        writer.toolChange(current_.toolNo);
    }
    if (chance(options_.presets)) {
        previous_.x = uniform(-kFieldHalf, kFieldHalf);
        previous_.y = uniform(-kFieldHalf, kFieldHalf);
        previous_.z = uniform(-kFieldHalf, kFieldHalf);
        writer.preset(previous_.x, previous_.y, previous_.z);
    }
}

std::int32_t CutSynthesizer::nextBlockNo() {
    if (!options_.blockNumbersRestart)
        return current_.blockNo + 1;
    return chance(3) ? current_.blockNo / 3 : current_.blockNo + uniform(1, 3);
}
