#include "state/public_stuff.h"

#include <new>

#include "state/memory_budget.h"

namespace corvel {

void PublicStuff::AllocateNetwork() {
  InputUnits.assign(static_cast<std::size_t>(NumInputUnits) + 1, UnitRecord{});
  OutputUnits.assign(static_cast<std::size_t>(NumOutputUnits) + 1, UnitRecord{});
  Connections = ConnectionArray(NumOutputUnits, NumInputUnits);
  EngineScratch = {};
}

bool PublicStuff::TryAllocateNetwork() {
  try {
    if (!CanAllocate(NetworkBytes(NumInputUnits, NumOutputUnits))) throw std::bad_alloc();
    AllocateNetwork();
    return true;
  } catch (const std::bad_alloc&) {
    InputUnits.clear();
    OutputUnits.clear();
    Connections = ConnectionArray();
    return false;
  }
}

std::uint64_t PublicStuff::NetworkBytes(std::int32_t numInputs, std::int32_t numOutputs) {
  const auto inputs = static_cast<std::uint64_t>(numInputs) + 1;
  const auto outputs = static_cast<std::uint64_t>(numOutputs) + 1;
  return 2 * outputs * inputs * sizeof(double) + (inputs + outputs) * sizeof(UnitRecord);
}

bool PublicStuff::NetworkFitsTrainingSet() const {
  return InputUnits.size() == static_cast<std::size_t>(NumInputUnits) + 1 &&
         OutputUnits.size() == static_cast<std::size_t>(NumOutputUnits) + 1 &&
         Connections.Weight.upperA() == NumOutputUnits &&
         Connections.Weight.upperB() == NumInputUnits && InputPatterns.upperA() == NumInputUnits &&
         DesiredOutputs.upperA() == NumOutputUnits && InputPatterns.upperB() == NumPatterns &&
         DesiredOutputs.upperB() == NumPatterns;
}

}  // namespace corvel
