#include "report/progress_text.h"

namespace corvel {

std::string TrainingFileText(const std::string& trainingFileName) {
  return "Training: " + trainingFileName;
}

std::string EpochsText(std::int32_t sweepCount) { return "Epochs: " + IntegerText(sweepCount); }

std::string TotalSSEText(double totalSSE, const RegionalSettings& rs) {
  return "Total SSE: " + FormatStandard(totalSSE, rs);
}

std::string SSEChangeText(double sseChange, const RegionalSettings& rs) {
  return "Change in SSE: " + FormatScientific(sseChange, rs);
}

}  // namespace corvel
