// One column of a Companies-Act statement as a builder returns it: its rows and the
// figure it hands to the next statement (the cost of products manufactured, the
// SG&A total, the net profit), absent when the statement has no such line.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "trial/Shisan.h"

namespace kivo {

struct KaisyahouStatementRows {
  std::vector<Shisan> rows;
  std::optional<int64_t> handedOn;
};

}  // namespace kivo
