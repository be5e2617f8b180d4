#include "state/public_stuff.h"

namespace corvel {

void PublicStuff::AllocateNetwork() {
  InputUnits.assign(static_cast<std::size_t>(NumInputUnits) + 1, UnitRecord{});
  OutputUnits.assign(static_cast<std::size_t>(NumOutputUnits) + 1, UnitRecord{});
  Connections = ConnectionArray(NumOutputUnits, NumInputUnits);
  EngineScratch = {};
}

bool PublicStuff::NetworkFitsTrainingSet() const {
  return InputUnits.size() == static_cast<std::size_t>(NumInputUnits) + 1 &&
         OutputUnits.size() == static_cast<std::size_t>(NumOutputUnits) + 1 &&
         Connections.Weight.upperA() == NumOutputUnits &&
         Connections.Weight.upperB() == NumInputUnits &&
         InputPatterns.upperA() == NumInputUnits && DesiredOutputs.upperA() == NumOutputUnits &&
         InputPatterns.upperB() == NumPatterns && DesiredOutputs.upperB() == NumPatterns;
}

}  // namespace corvel
