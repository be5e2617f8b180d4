#pragma once
// The learning engine: a single-layer linear associator trained with the Hebb or the Delta
// rule. Every routine works on the shared network state and keeps the exact order of
// floating-point operations written in its comment, because the report prints the last
// bits of the results.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "learning/observer.h"
#include "state/public_stuff.h"

namespace corvel {

// ComputeResponse: presents pattern p.
//   InputUnits(i).Activation = InputPatterns(i, p)
//   NetInput(j) = 0; for i ascending: NetInput(j) = Weight(j, i) * Activation(input i) +
//   NetInput(j) Activation(j) = NetInput(j); Error(j) = DesiredOutputs(j, p) - Activation(j)
void ComputeResponse(PublicStuff& s, int p);

// NetInputs: the NetInput every output unit has for every pattern, as ComputeResponse makes
// it, bit for bit: net(j, p) at [(p - 1) * NumOutputUnits + j - 1]. The units are left as
// they are. Each weight is read once, where presenting the patterns one by one reads every
// weight once per pattern.
std::vector<double> NetInputs(const PublicStuff& s);

// AddNetInputs: adds input units firstInput .. endInput - 1 to the net inputs of the
// `patterns` patterns from firstPattern, net(j, p) at
// nets[(p - firstPattern) * NumOutputUnits + j - 1], each as ComputeResponse adds it. Called
// over consecutive slices of the inputs, from 1 to NumInputUnits, on sums that start at 0, it
// leaves the net inputs of NetInputs bit for bit, so a caller can spread the work over time.
void AddNetInputs(const PublicStuff& s, int firstPattern, int patterns, int firstInput,
                  int endInput, double* nets);

// PatternSSE: 0.0 + Error(1)*Error(1) + ... + Error(n)*Error(n), in ascending j, for the
// pattern last presented.
double PatternSSE(const PublicStuff& s);

// ApplyHebbRule: clamps inputs to pattern p and outputs to its desired values, then
//   WeightChange(j, i) = (LearningRate * Activation(input i)) * Activation(output j)
//   Weight(j, i) = Weight(j, i) + WeightChange(j, i)
// with every change computed before any is added.
void ApplyHebbRule(PublicStuff& s, int p);

// ApplyDeltaRule: ComputeResponse(p), then Activation(output j) = Error(j), then the same two
// steps as the Hebb rule, so the change is LearningRate * input * (desired - response).
void ApplyDeltaRule(PublicStuff& s, int p);

// ClearConnections: sets every field of Connections(j, i), j = 1..outputs, i = 1..inputs, to 0.
void ClearConnections(PublicStuff& s);

// A run-time fault that ended a run. Code follows the classic run-time error numbers the
// failure report distinguishes: 6 overflow (also an invalid result or a count out of range),
// 7 out of memory, 9 subscript out of range (an array whose bounds do not match its count).
struct RunFailure {
  int Code = 6;
  std::string Description;
  friend bool operator==(const RunFailure&, const RunFailure&) = default;
};

constexpr int kOverflowCode = 6;
constexpr int kOutOfMemoryCode = 7;
constexpr int kSubscriptCode = 9;

// RunTraining: one training run with the parameters held in the state (LearningRule,
// LearningRate, StopAtMaxSweeps, StopAtMinSSE, MaxSweeps, MinSSE, PrintSweeps, NewRun),
// driven to its end in one call (learning/training_run.h drives it a few sweeps at a time).
//  - NewRun = 1 resets SweepCount; with SweepCount 0 the history restarts at row 1, which
//    holds sweep 0 and the total SSE of the starting weights.
//  - Each sweep applies the rule to every pattern in file order, measures each pattern's SSE
//    right after its own weight step, and sums them into TotalSSE.
//  - Every PrintSweeps-th sweep of the run is a printout: the observer is told, and a history
//    row is added while fewer than 2000 rows exist.
//  - The run ends when SweepCount = MaxSweeps (StopAtMaxSweeps = 1), when TotalSSE < MinSSE
//    (StopAtMinSSE = 1), or when the observer asks to stop; then RunEnded is called.
//  - In a continued run (NewRun = 0) the first change in SSE is taken against the TotalSSE
//    the earlier run left.
// An overflow or invalid result, a count above 32767 or a sweep count beyond the 32-bit
// range ends the run at once and is returned; nothing is rolled back and RunEnded is not
// called. SweepCount, TotalSSE (the sum up to the pattern whose step failed) and the history
// are as the loops above leave them; the weights hold the whole failing sweep, WeightChange
// the step of its last pattern, and the units the failing pattern's response to those
// weights.
//
// Arrays whose bounds do not match the counts fail as subscript out of range, before the
// run starts.
//
// Speed: the run trains the weights in cache-sized blocks of output units kept in the
// storage of WeightChange (every step rewrites all changes; the last step's are made again
// when the run ends), with the training set copied into s.EngineScratch before the first
// sweep (growing the scratch may fail as out of memory), so nothing is allocated while
// sweeps run and a network needs little room beyond its weights and changes. The weights
// go back into the state when the run ends: Connections, WeightChange (the last step's
// change) and the unit records (the last pattern's response) are not updated while the run
// goes on, and WeightChange meanwhile holds the blocks; only at a printout whose observer
// wants them (WantsCurrentWeights) are the current weights copied into Weight. The results
// are bit for bit those of the routines above.
//
// Threads: `workers` shares each sweep among that many threads (each taking whole blocks of
// output units), with the same results bit for bit; 1 runs on the calling thread alone, and
// 0 chooses from the size of the sweep and the cores the process may use (small memories
// stay on one). The browser build has no threads and always runs on the calling thread.
std::optional<RunFailure> RunTraining(PublicStuff& s, TrainingObserver& observer, int workers = 0);

// Bytes of scratch a run takes beyond the network for these counts: the most that any of the
// sweep loops this processor runs needs, for checks made before a run, such as the loader's.
std::uint64_t RunWorkspaceBytes(std::int32_t numInputs, std::int32_t numOutputs,
                              std::int32_t numPatterns);

}  // namespace corvel
