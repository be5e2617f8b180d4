#pragma once
// The texts of the set-up page's four progress boxes, shared by the page and the batch
// program so both say exactly the same thing.

#include <cstdint>
#include <string>

#include "report/formats.h"

namespace corvel {

std::string TrainingFileText(const std::string& trainingFileName);      // "Training: " + name
std::string EpochsText(std::int32_t sweepCount);                        // "Epochs: 10"
std::string TotalSSEText(double totalSSE, const RegionalSettings& rs);  // "Total SSE: 1,234.50"
std::string SSEChangeText(double sseChange,
                          const RegionalSettings& rs);  // "Change in SSE: -1.23E-04"

}  // namespace corvel
