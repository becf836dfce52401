#pragma once
// The one reader of the committed reference CSVs in a test folder's data/ (see its README).
// A missing or empty file fails the calling test: a test must never pass with its data gone.
// Numbers are parsed independently of the locale; a cell that is no number reads as NaN and
// keeps its text.

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

struct CsvRow {
    std::vector<double> numbers;
    std::vector<std::string> texts;
    double operator[](std::size_t column) const { return numbers.at(column); }
};

// The rows after the header line of `name` in KOLV_TEST_DATA_DIR.
inline std::vector<CsvRow> readCsv(const std::string& name) {
    std::ifstream in(std::string(KOLV_TEST_DATA_DIR) + "/" + name);
    std::vector<CsvRow> rows;
    std::string line;
    if (!std::getline(in, line)) {
        ADD_FAILURE() << "reference data " << name << " is missing or empty";
        return rows;
    }
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
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
    if (rows.empty()) ADD_FAILURE() << "reference data " << name << " has no rows";
    return rows;
}
