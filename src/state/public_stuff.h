#pragma once
// The network state: the one shared record of the program. It holds the loaded training set,
// the units and connections of the associative memory, the learning parameters, the progress
// of the current run with its SSE history, and the report's file name. Pages read and write
// its fields directly; the routines that compute on it live in learning/ and trainingset/.
//
// Index conventions: units and patterns are numbered from 1; every array has lower bound 0
// and upper bound equal to its count, and index 0 is never used. Pattern arrays are indexed
// (unit, pattern), the connections (output unit, input unit).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "state/array2d.h"

namespace corvel {

struct UnitRecord {
  double NetInput = 0.0;    // weighted sum of the inputs (output units only)
  double Activation = 0.0;  // presented input, or response; during a rule step the rule's factor
  double Error = 0.0;       // desired output minus Activation (output units only)
  friend bool operator==(const UnitRecord&, const UnitRecord&) = default;
};

// The connection array keeps each field of the connection record in its own plane, so the
// learning loops stream through contiguous weights. Element (j, i) is the connection from
// input unit i to output unit j.
struct ConnectionArray {
  Array2D<double> Weight;        // connection weight
  Array2D<double> WeightChange;  // change added to Weight by the most recent learning step

  ConnectionArray() = default;
  ConnectionArray(std::int32_t numOutputs, std::int32_t numInputs)
      : Weight(numOutputs, numInputs), WeightChange(numOutputs, numInputs) {}
  friend bool operator==(const ConnectionArray&, const ConnectionArray&) = default;
};

// SSE history: rows 0..2000, columns 0..2. Row r (1..SSEHistoryCount) holds the sweep number
// in column 1 and the total SSE of that sweep in column 2.
constexpr int kSSEHistoryRows = 2000;
using SSEHistoryTable = std::array<std::array<double, 3>, kSSEHistoryRows + 1>;

// Largest count of units or patterns: every loop over them runs on a 16-bit signed counter.
constexpr std::int32_t kMaxCount = 32767;

struct PublicStuff {
  // Training set, written by LoadTrainingFile.
  std::string TrainingFileName;  // file name as the file list shows it, no directory
  std::int32_t NumOutputUnits = 0;
  std::int32_t NumInputUnits = 0;
  std::int32_t NumPatterns = 0;
  Array2D<double> InputPatterns;   // (input unit, pattern)
  Array2D<double> DesiredOutputs;  // (output unit, pattern)

  // Network, allocated by the set-up page.
  std::vector<UnitRecord> InputUnits;   // 0..NumInputUnits
  std::vector<UnitRecord> OutputUnits;  // 0..NumOutputUnits
  ConnectionArray Connections;          // (output unit, input unit)

  // Learning parameters, written when a run is started or continued.
  std::string LearningRule;  // "Hebb" selects the Hebb rule; anything else the Delta rule
  double LearningRate = 0.0;
  std::int16_t StopAtMaxSweeps = 0;  // 1: end once SweepCount reaches MaxSweeps
  std::int16_t StopAtMinSSE = 0;     // 1: end as soon as TotalSSE < MinSSE
  std::int32_t MaxSweeps = 0;        // absolute sweep count of the run
  double MinSSE = 0.0;
  std::int32_t PrintSweeps = 0;  // sweeps between printouts

  // Run progress, written by RunTraining (NewRun by the pages).
  std::int16_t NewRun = 0;  // 1: the next run starts from scratch; 0: it continues
  std::int32_t SweepCount = 0;
  double TotalSSE = 0.0;
  std::int16_t SSEHistoryCount = 0;
  SSEHistoryTable SSEHistory{};

  // Report.
  std::string ResultsFileName;  // full path of the results file; empty until chosen

  // Memory the learning engine works in during a run, kept between runs because fresh pages
  // from the system cost more than a short run. Its contents mean nothing outside a run.
  std::vector<double> EngineScratch;

  // Re-creates InputUnits, OutputUnits and Connections for the current counts, all zero, and
  // releases EngineScratch (the next run sizes it for the new counts).
  void AllocateNetwork();
  // AllocateNetwork when the arrays fit in the memory available (CanAllocate). Otherwise, or
  // when making them fails, leaves no arrays (NetworkFitsTrainingSet is false) and returns
  // false, so the caller can report "Out of memory" and the process lives on.
  bool TryAllocateNetwork();
  // Bytes AllocateNetwork takes for these counts (counted in 64 bits: on a 32-bit target
  // they may be more than the address space holds).
  static std::uint64_t NetworkBytes(std::int32_t numInputs, std::int32_t numOutputs);

  // True when the unit and connection arrays have the bounds the loaded counts call for, so
  // a pattern can be presented. False before the set-up page has made them for the current
  // training file (a new file was loaded since, or they could not be made).
  bool NetworkFitsTrainingSet() const;
};

}  // namespace corvel
