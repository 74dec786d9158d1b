// Runs a fuzz target without libFuzzer: seeded random inputs, many of them mutations of
// well-formed frames or of the target's seed corpus, so that the deeper paths are reached.
// Used by the test build (GCC); with clang, the same target links against libFuzzer instead.
//
// Usage: <target> [runs] [corpus folder]

#include "Frames.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::uint8_t> wellFormedStream(std::mt19937& random) {
    std::vector<std::uint8_t> bytes;
    const int frames = int(random() % 5);
    for (int i = 0; i < frames; ++i) {
        std::vector<std::uint8_t> frame(32);
        for (auto& byte : frame)
            byte = std::uint8_t(random() % 100);
        frame[0] = tessaly::frame::Start;
        frame[1] = random() % 2 ? tessaly::frame::RecordAnswer : tessaly::frame::Record;
        frame[2] = std::uint8_t(frames);
        frame[3] = std::uint8_t(i + 1);
        frame[31] = tessaly::frame::End;
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    const std::uint8_t shortFrames[][4] = {{0xFE, 0x65, 0x01, 0xFF},
                                           {0xFE, 0x01, 0x00, 0xFF},
                                           {0xFE, 0x07, 0x00, 0xFF},
                                           {0xFE, 0x04, 0x02, 0xFF}};
    const auto& extra = shortFrames[random() % 4];
    bytes.insert(bytes.begin() + long(random() % (bytes.size() + 1)), extra, extra + 4);
    return bytes;
}

void mutate(std::vector<std::uint8_t>& bytes, std::mt19937& random) {
    const int changes = int(random() % 6);
    for (int i = 0; i < changes && !bytes.empty(); ++i) {
        const std::size_t at = random() % bytes.size();
        switch (random() % 3) {
        case 0:
            bytes[at] = std::uint8_t(random());
            break;
        case 1:
            bytes.erase(bytes.begin() + long(at));
            break;
        default:
            bytes.insert(bytes.begin() + long(at), std::uint8_t(random()));
        }
    }
}

std::vector<std::vector<std::uint8_t>> readSeeds(const char* folder) {
    std::vector<std::vector<std::uint8_t>> seeds;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream file(entry.path(), std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    return seeds;
}

} // namespace

int main(int argc, char** argv) {
    const long runs = argc > 1 ? std::atol(argv[1]) : 20000;
    const auto seeds = argc > 2 ? readSeeds(argv[2]) : std::vector<std::vector<std::uint8_t>>{};
    for (const auto& seed : seeds)
        LLVMFuzzerTestOneInput(seed.data(), seed.size());
    std::mt19937 random(20261210);
    for (long run = 0; run < runs; ++run) {
        std::vector<std::uint8_t> input;
        if (run % 3 == 1 && !seeds.empty()) {
            input = seeds[random() % seeds.size()];
            mutate(input, random);
        } else if (run % 3 == 0) {
            input.resize(random() % 300);
            for (auto& byte : input)
                byte = std::uint8_t(random());
        } else {
            input = wellFormedStream(random);
            mutate(input, random);
        }
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("%zu seeds and %ld inputs run\n", seeds.size(), runs);
    return 0;
}
