#pragma once

#include "cutsynthesizer.h"
#include "cutwriter.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

// The one generator of the tests' monitoring data: CutSynthesizer with the rare cases a test needs
// (SynthOptions), recorded block by block as it writes them through a real file writer. The test
// loads the writer's bytes as the program does and checks them against figures it works out itself
// from the recorded blocks. Presets belong to the text format: ask for them only with a text.
class SynthRecorder : public CutWriter {
public:
    // A block as the loaders see it: where it starts (after any preset before it) and ends, in mm
    // as floats.
    struct Block {
        SynthBlock block;
        double from[3] = {0.0, 0.0, 0.0};
        double to[3] = {0.0, 0.0, 0.0};
        float removal() const {
            return block.removalNaN ? std::numeric_limits<float>::quiet_NaN()
                                    : static_cast<float>(block.removal / 10000.0);
        }
        double length() const {
            const double d[3] = {to[0] - from[0], to[1] - from[1], to[2] - from[2]};
            return std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        }
    };

    explicit SynthRecorder(CutWriter& file) : file_(file) {}

    // `blocks` blocks of seed `seed` with `options`, into the file writer and the record.
    static std::vector<Block> generate(std::uint64_t seed, std::int64_t blocks,
                                       const SynthOptions& options, CutWriter& file) {
        SynthRecorder recorder(file);
        CutSynthesizer(seed, options).generate(blocks, recorder);
        return recorder.blocks_;
    }

    void start(std::int32_t x, std::int32_t y, std::int32_t z) override {
        file_.start(x, y, z);
        moveTo(x, y, z);
    }
    void preset(std::int32_t x, std::int32_t y, std::int32_t z) override {
        file_.preset(x, y, z);
        moveTo(x, y, z);
    }
    void remark(const std::string& line) override { file_.remark(line); }
    void toolChange(std::int16_t toolNo) override { file_.toolChange(toolNo); }
    void block(const SynthBlock& current, const SynthBlock& previous) override {
        file_.block(current, previous);
        Block block{current};
        std::copy(position_, position_ + 3, block.from);
        moveTo(current.x, current.y, current.z);
        std::copy(position_, position_ + 3, block.to);
        blocks_.push_back(block);
    }
    const std::string& contents() const override { return file_.contents(); }

private:
    // The coordinates as the loaders keep them: floats.
    void moveTo(std::int32_t x, std::int32_t y, std::int32_t z) {
        position_[0] = static_cast<float>(x / 1000.0);
        position_[1] = static_cast<float>(y / 1000.0);
        position_[2] = static_cast<float>(z / 1000.0);
    }

    CutWriter& file_;
    // Kept as floats: GCC 12 at -O3 dropped the rounding of a double narrowed to float and
    // widened again for two of the three axes, so the reference kept digits the file does not.
    float position_[3] = {0.0f, 0.0f, 0.0f};
    std::vector<Block> blocks_;
};
