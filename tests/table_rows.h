// Tables written one row to a line, for tests whose rows outgrow a line of
// code.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace kova_test {

// The rows of a table written one to a line (blank lines skipped, leading
// spaces dropped), each cut into its fields at " | ".
inline std::vector<std::vector<std::string>> tableRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    size_t start = 0;
    for (size_t end; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        if (line.find_first_not_of(' ') == std::string::npos) continue;
        line.erase(0, line.find_first_not_of(' '));
        rows.emplace_back();
        for (size_t at = 0, bar = 0; bar != std::string::npos; at = bar + 3) {
            bar = line.find(" | ", at);
            rows.back().push_back(line.substr(at, bar == std::string::npos ? bar : bar - at));
        }
    }
    return rows;
}

}  // namespace kova_test
