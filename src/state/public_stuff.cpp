#include "state/public_stuff.h"

namespace corvel {

void PublicStuff::AllocateNetwork() {
  InputUnits.assign(static_cast<std::size_t>(NumInputUnits) + 1, UnitRecord{});
  OutputUnits.assign(static_cast<std::size_t>(NumOutputUnits) + 1, UnitRecord{});
  Connections = ConnectionArray(NumOutputUnits, NumInputUnits);
  EngineScratch = {};
}

}  // namespace corvel
