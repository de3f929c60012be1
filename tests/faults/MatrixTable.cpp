#include "MatrixTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace kvlink::test {

std::string MatrixTable::text() const {
  std::vector<std::size_t> width(columns_.size());
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    width[c] = columns_[c].size();
    for (const auto& row : rows_) {
      if (c < row.size()) width[c] = std::max(width[c], row[c].size());
    }
  }
  const auto line = [&](const std::vector<std::string>& cells) {
    std::string out = "|";
    for (std::size_t c = 0; c < columns_.size(); ++c) {
      const std::string cell = c < cells.size() ? cells[c] : "";
      out += " " + cell + std::string(width[c] - cell.size(), ' ') + " |";
    }
    return out + "\n";
  };
  std::string out = line(columns_) + "|";
  for (std::size_t w : width) out += std::string(w + 2, '-') + "|";
  out += "\n";
  for (const auto& row : rows_) out += line(row);
  return out;
}

namespace {

class PrintTable : public ::testing::Environment {
 public:
  PrintTable(const MatrixTable& table, std::string title)
      : table_(table), title_(std::move(title)) {}
  void TearDown() override {
    std::printf("\n%s\n\n%s\n", title_.c_str(), table_.text().c_str());
    std::fflush(stdout);
  }

 private:
  const MatrixTable& table_;
  std::string title_;
};

}  // namespace

void printAtExit(const MatrixTable& table, std::string title) {
  ::testing::AddGlobalTestEnvironment(new PrintTable(table, std::move(title)));
}

}  // namespace kvlink::test
