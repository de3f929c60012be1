// The result table of a fault matrix: one row per protocol and fault, printed
// when the test program ends, whether the cells passed or not.
#pragma once

#include <string>
#include <vector>

namespace kvlink::test {

class MatrixTable {
 public:
  explicit MatrixTable(std::vector<std::string> columns) : columns_(std::move(columns)) {}

  void addRow(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }
  // The table in Markdown, columns padded to their widest cell.
  std::string text() const;

 private:
  std::vector<std::string> columns_;
  std::vector<std::vector<std::string>> rows_;
};

// Registers `table` to be printed to stdout at the end of the test program.
void printAtExit(const MatrixTable& table, std::string title);

}  // namespace kvlink::test
