#pragma once

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The golden table of the curve, made independently by golden/make_curve_golden.py (the path
// in LUMENO_CURVE_GOLDEN): one line per b.
struct GoldenLine {
    std::uint32_t bits = 0; // b's single-precision bits
    std::string decimal;
    std::vector<std::string> entries; // an output, "F" or "O" for components 0..255
};

inline const std::vector<GoldenLine>& golden() {
    static const std::vector<GoldenLine> lines = [] {
        std::vector<GoldenLine> result;
        std::ifstream file(LUMENO_CURVE_GOLDEN);
        for (std::string text; std::getline(file, text);) {
            if (text.empty() || text.front() == '#')
                continue;
            std::istringstream fields(text);
            std::string bits;
            GoldenLine line;
            fields >> bits >> line.decimal;
            line.bits = static_cast<std::uint32_t>(std::stoul(bits, nullptr, 16));
            for (std::string entry; fields >> entry;)
                line.entries.push_back(entry);
            result.push_back(std::move(line));
        }
        return result;
    }();
    return lines;
}
