#pragma once
// Rows of a committed reference CSV in the test data folder, after its header line. Numbers
// are parsed independently of the locale; an empty or text cell reads as NaN and keeps its text.

#include <charconv>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

struct CsvRow {
    std::vector<double> numbers;
    std::vector<std::string> texts;
    double operator[](std::size_t column) const { return numbers[column]; }
};

inline std::vector<CsvRow> readCsv(const std::string& name) {
    std::ifstream in(std::string(KOLV_TEST_DATA_DIR) + "/" + name);
    std::vector<CsvRow> rows;
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        CsvRow row;
        std::size_t start = 0;
        while (start <= line.size()) {
            std::size_t end = line.find(',', start);
            if (end == std::string::npos) end = line.size();
            const std::string cell = line.substr(start, end - start);
            double value = std::nan("");
            const auto [rest, error] =
                std::from_chars(cell.data(), cell.data() + cell.size(), value);
            if (error != std::errc() || rest != cell.data() + cell.size()) value = std::nan("");
            row.texts.push_back(cell);
            row.numbers.push_back(value);
            start = end + 1;
        }
        rows.push_back(row);
    }
    return rows;
}
