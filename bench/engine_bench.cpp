// Sweeps per second of the learning engine against a straightforward transcription of its
// loops (classic record layout, 16-bit loop counters), for both rules at three sizes, next
// to this machine's memory bandwidth, and whole new runs at the same sizes; then the engine
// on one worker against the engine on every core and on the workers it chooses, side by side
// in wall time, at four sizes. Before timing anything it checks that the engine (on one
// worker and on all) and the transcription end with the same weights and changes and the
// same total SSE at every sweep, bit for bit, and exits with status 1 if they do not.
// scripts/bench-against.sh runs this beside the same benchmark of an earlier commit.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "learning/engine.h"
#include "learning/sweep_workspace.h"

namespace {

using corvel::PublicStuff;

struct Case {
  int in, out, pat;
  int engineSweeps;  // sweeps per timed run
  int transcriptionSweeps;
};

const Case kCases[] = {{16, 16, 8, 100, 100}, {256, 256, 64, 20, 2}, {2048, 2048, 128, 5, 1}};
// The sizes the workers are timed at; the last is too large to transcribe in reasonable time,
// so there the workers are checked against the engine on one worker only.
const Case kWorkerCases[] = {
    {16, 16, 8, 20000, 0}, {256, 256, 64, 40, 0}, {2048, 2048, 128, 4, 0}, {8192, 8192, 16, 4, 0}};
const int kAllCores = static_cast<int>(std::max(2u, std::thread::hardware_concurrency()));
const char* const kRules[] = {"Hebb", "Delta"};

std::string CaseName(const Case& c) {
  return std::to_string(c.in) + "x" + std::to_string(c.out) + "x" + std::to_string(c.pat);
}

// ---- The transcription: the algorithm's loops as written, over records. ----
namespace transcription {

struct ConnectionRecord {
  double Weight;
  double WeightChange;
  double Spare;
  std::int16_t Flag;
};
struct UnitRecord {
  double NetInput, Activation, Error;
};

struct Network {
  std::int16_t NumIn, NumOut, NumPat;
  std::vector<ConnectionRecord> Connections;  // (output j, input i) at j * (NumIn + 1) + i
  std::vector<UnitRecord> InputUnits, OutputUnits;
  std::vector<double> InputPatterns;   // (i, p) at i * (NumPat + 1) + p
  std::vector<double> DesiredOutputs;  // (j, p) at j * (NumPat + 1) + p
  bool Hebb;
  double LearningRate;
  std::int32_t SweepCount = 0;
  double TotalSSE = 0;
  std::vector<double> SweepSSE;  // every sweep's total, for the check

  ConnectionRecord& Conn(int j, int i) { return Connections[j * (NumIn + 1) + i]; }
  double Input(int i, int p) const { return InputPatterns[i * (NumPat + 1) + p]; }
  double Desired(int j, int p) const { return DesiredOutputs[j * (NumPat + 1) + p]; }
};

void ComputeResponse(Network& n, std::int16_t p) {
  for (std::int16_t i = 1; i <= n.NumIn; i++) n.InputUnits[i].Activation = n.Input(i, p);
  for (std::int16_t j = 1; j <= n.NumOut; j++) n.OutputUnits[j].NetInput = 0;
  for (std::int16_t i = 1; i <= n.NumIn; i++)
    for (std::int16_t j = 1; j <= n.NumOut; j++)
      n.OutputUnits[j].NetInput =
          n.Conn(j, i).Weight * n.InputUnits[i].Activation + n.OutputUnits[j].NetInput;
  for (std::int16_t j = 1; j <= n.NumOut; j++) {
    n.OutputUnits[j].Activation = n.OutputUnits[j].NetInput;
    n.OutputUnits[j].Error = n.Desired(j, p) - n.OutputUnits[j].Activation;
  }
}

double PatternSSE(const Network& n) {
  double sum = 0;
  for (std::int16_t j = 1; j <= n.NumOut; j++)
    sum = sum + n.OutputUnits[j].Error * n.OutputUnits[j].Error;
  return sum;
}

void ChangeWeights(Network& n) {
  for (std::int16_t i = 1; i <= n.NumIn; i++)
    for (std::int16_t j = 1; j <= n.NumOut; j++)
      n.Conn(j, i).WeightChange =
          (n.LearningRate * n.InputUnits[i].Activation) * n.OutputUnits[j].Activation;
  for (std::int16_t i = 1; i <= n.NumIn; i++)
    for (std::int16_t j = 1; j <= n.NumOut; j++)
      n.Conn(j, i).Weight = n.Conn(j, i).Weight + n.Conn(j, i).WeightChange;
}

void ApplyHebbRule(Network& n, std::int16_t p) {
  for (std::int16_t i = 1; i <= n.NumIn; i++) n.InputUnits[i].Activation = n.Input(i, p);
  for (std::int16_t j = 1; j <= n.NumOut; j++) n.OutputUnits[j].Activation = n.Desired(j, p);
  ChangeWeights(n);
}

void ApplyDeltaRule(Network& n, std::int16_t p) {
  ComputeResponse(n, p);
  for (std::int16_t j = 1; j <= n.NumOut; j++) n.OutputUnits[j].Activation = n.OutputUnits[j].Error;
  ChangeWeights(n);
}

// The sweep loop of a run that continues from the current weights.
void RunSweeps(Network& n, std::int32_t sweeps) {
  for (std::int32_t k = 0; k < sweeps; k++) {
    n.SweepCount = n.SweepCount + 1;
    n.TotalSSE = 0;
    for (std::int16_t p = 1; p <= n.NumPat; p++) {
      if (n.Hebb)
        ApplyHebbRule(n, p);
      else
        ApplyDeltaRule(n, p);
      ComputeResponse(n, p);
      n.TotalSSE = n.TotalSSE + PatternSSE(n);
    }
    n.SweepSSE.push_back(n.TotalSSE);
  }
}

void ClearConnections(Network& n) {
  for (ConnectionRecord& c : n.Connections) c = ConnectionRecord{0, 0, 0, 0};
}

}  // namespace transcription

// ---- One training set, loaded both ways. ----

struct TrainingSet {
  int in, out, pat;
  std::vector<double> x, d;  // x[(p-1)*in + (i-1)], d[(p-1)*out + (j-1)]
};

TrainingSet MakeSet(const Case& c) {
  std::mt19937_64 rng(static_cast<std::uint64_t>(c.in) * 7919 + static_cast<std::uint64_t>(c.pat));
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  TrainingSet t{c.in, c.out, c.pat, {}, {}};
  t.x.resize(static_cast<std::size_t>(c.in) * c.pat);
  t.d.resize(static_cast<std::size_t>(c.out) * c.pat);
  for (double& v : t.x) v = value(rng);
  for (double& v : t.d) v = value(rng);
  return t;
}

double Rate(const TrainingSet& t) { return 1.0 / t.in; }

PublicStuff MakeState(const TrainingSet& t, const char* rule) {
  PublicStuff s;
  s.NumInputUnits = t.in;
  s.NumOutputUnits = t.out;
  s.NumPatterns = t.pat;
  s.InputPatterns = corvel::Array2D<double>(t.in, t.pat);
  s.DesiredOutputs = corvel::Array2D<double>(t.out, t.pat);
  for (int p = 1; p <= t.pat; ++p) {
    for (int i = 1; i <= t.in; ++i) s.InputPatterns(i, p) = t.x[(p - 1) * t.in + (i - 1)];
    for (int j = 1; j <= t.out; ++j) s.DesiredOutputs(j, p) = t.d[(p - 1) * t.out + (j - 1)];
  }
  s.AllocateNetwork();
  s.LearningRule = rule;
  s.LearningRate = Rate(t);
  s.StopAtMaxSweeps = 1;
  return s;
}

transcription::Network MakeNetwork(const TrainingSet& t, const char* rule) {
  transcription::Network n;
  n.NumIn = static_cast<std::int16_t>(t.in);
  n.NumOut = static_cast<std::int16_t>(t.out);
  n.NumPat = static_cast<std::int16_t>(t.pat);
  n.Connections.assign(static_cast<std::size_t>(t.out + 1) * (t.in + 1), {0, 0, 0, 0});
  n.InputUnits.assign(t.in + 1, {0, 0, 0});
  n.OutputUnits.assign(t.out + 1, {0, 0, 0});
  n.InputPatterns.assign(static_cast<std::size_t>(t.in + 1) * (t.pat + 1), 0.0);
  n.DesiredOutputs.assign(static_cast<std::size_t>(t.out + 1) * (t.pat + 1), 0.0);
  for (int p = 1; p <= t.pat; ++p) {
    for (int i = 1; i <= t.in; ++i)
      n.InputPatterns[i * (t.pat + 1) + p] = t.x[(p - 1) * t.in + (i - 1)];
    for (int j = 1; j <= t.out; ++j)
      n.DesiredOutputs[j * (t.pat + 1) + p] = t.d[(p - 1) * t.out + (j - 1)];
  }
  n.Hebb = std::strcmp(rule, "Hebb") == 0;
  n.LearningRate = Rate(t);
  return n;
}

// Makes the state continue from zero weights for `sweeps` sweeps: SweepCount 1 skips the
// sweep-0 row, so a timed run is sweeps only.
void PrepareContinuedRun(PublicStuff& s, int sweeps) {
  corvel::ClearConnections(s);
  s.NewRun = 0;
  s.SweepCount = 1;
  s.MaxSweeps = 1 + sweeps;
  s.PrintSweeps = 0;
}

struct SweepRecorder : corvel::TrainingObserver {
  std::vector<double> sse;
  void Printout(const corvel::TrainingProgress& p) override { sse.push_back(p.TotalSSE); }
};

// ---- The check: same weights and same SSE at every sweep. ----

// The engine on every core against the engine on one worker: weights, changes and the SSE
// of every sweep, bit for bit.
bool CheckWorkers(const Case& c, const char* rule, int sweeps) {
  const TrainingSet t = MakeSet(c);
  PublicStuff one = MakeState(t, rule), all = one;
  SweepRecorder oneSSE, allSSE;
  for (auto [s, recorder, workers] : {std::tuple{&one, &oneSSE, 1}, {&all, &allSSE, kAllCores}}) {
    PrepareContinuedRun(*s, sweeps);
    s->PrintSweeps = 1;
    if (corvel::RunTraining(*s, *recorder, workers)) return false;
  }
  const auto sameBits = [](const corvel::Array2D<double>& a, const corvel::Array2D<double>& b) {
    const std::size_t bytes = a.stride() * static_cast<std::size_t>(a.upperB() + 1) * 8;
    return std::memcmp(a.data(), b.data(), bytes) == 0;
  };
  const bool same = oneSSE.sse == allSSE.sse &&
                    sameBits(one.Connections.Weight, all.Connections.Weight) &&
                    sameBits(one.Connections.WeightChange, all.Connections.WeightChange);
  std::printf("check %-13s %-5s %d sweep(s) on %d workers: %s\n", CaseName(c).c_str(), rule, sweeps,
              kAllCores, same ? "identical" : "DIFFERENT");
  return same;
}

bool CheckCase(const Case& c, const char* rule) {
  const TrainingSet t = MakeSet(c);
  PublicStuff s = MakeState(t, rule);
  const int sweeps = c.transcriptionSweeps;
  PrepareContinuedRun(s, sweeps);
  s.PrintSweeps = 1;
  SweepRecorder recorder;
  const auto failure = corvel::RunTraining(s, recorder, 1);

  transcription::Network n = MakeNetwork(t, rule);
  transcription::RunSweeps(n, sweeps);

  bool same = !failure && recorder.sse == n.SweepSSE;
  for (int j = 1; same && j <= c.out; ++j) {
    for (int i = 1; same && i <= c.in; ++i) {
      same = std::memcmp(&s.Connections.Weight(j, i), &n.Conn(j, i).Weight, sizeof(double)) == 0 &&
             std::memcmp(&s.Connections.WeightChange(j, i), &n.Conn(j, i).WeightChange,
                         sizeof(double)) == 0;
    }
  }
  std::printf("check %-13s %-5s %d sweep(s): %s\n", CaseName(c).c_str(), rule, sweeps,
              same ? "identical" : "DIFFERENT");
  return same && CheckWorkers(c, rule, sweeps);
}

// ---- Timings. ----

struct Timing {
  double engineSweepsPerSecond = 0, transcriptionSweepsPerSecond = 0;
};
std::map<std::string, Timing> g_timings;
std::map<std::string, double> g_workerTimings;  // sweeps per second of wall time
double g_bandwidth = 0;

// Processor time of this process. Other jobs share the machine's two cores, so wall time
// would count their time slices too; the benchmark runs on one thread.
double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Times `run` only (manual time), after `prepare` reset what it works on.
template <class Prepare, class Run>
double TimeRuns(benchmark::State& state, int sweepsPerRun, Prepare&& prepare, Run&& run) {
  double seconds = 0;
  std::int64_t sweeps = 0;
  for (auto _ : state) {
    prepare();
    const double start = CpuSeconds();
    run();
    const double took = CpuSeconds() - start;
    state.SetIterationTime(took);
    seconds += took;
    sweeps += sweepsPerRun;
  }
  return static_cast<double>(sweeps) / seconds;
}

void SetCounters(benchmark::State& state, const Case& c, double sweepsPerSecond) {
  const double updates = static_cast<double>(c.in) * c.out * c.pat;
  state.counters["sweeps/s"] = sweepsPerSecond;
  state.counters["ns/update"] = 1e9 / (sweepsPerSecond * updates);
}

void BM_Engine(benchmark::State& state, Case c, const char* rule) {
  PublicStuff s = MakeState(MakeSet(c), rule);
  corvel::TrainingObserver quiet;
  // The first run after the network is made also takes the engine's scratch pages from the
  // system (about 0.1 s at 2048 units); the timed runs show the steady state.
  PrepareContinuedRun(s, 1);
  if (corvel::RunTraining(s, quiet)) state.SkipWithError("run failed");
  const double rate = TimeRuns(
      state, c.engineSweeps, [&] { PrepareContinuedRun(s, c.engineSweeps); },
      [&] {
        if (corvel::RunTraining(s, quiet)) state.SkipWithError("run failed");
      });
  SetCounters(state, c, rate);
  g_timings[CaseName(c) + " " + rule].engineSweepsPerSecond = rate;
}

// A whole run as the set-up page's Start Training makes it: from cleared weights, the
// response to them (sweep 0), the sweeps, and the results written back.
void BM_NewRun(benchmark::State& state, Case c, const char* rule) {
  PublicStuff s = MakeState(MakeSet(c), rule);
  corvel::TrainingObserver quiet;
  const auto prepare = [&] {
    corvel::ClearConnections(s);
    s.NewRun = 1;
    s.MaxSweeps = c.engineSweeps;
    s.PrintSweeps = 0;
  };
  prepare();
  if (corvel::RunTraining(s, quiet)) state.SkipWithError("run failed");
  const double rate = TimeRuns(state, c.engineSweeps, prepare, [&] {
    if (corvel::RunTraining(s, quiet)) state.SkipWithError("run failed");
  });
  SetCounters(state, c, rate);
}

void BM_Transcription(benchmark::State& state, Case c, const char* rule) {
  transcription::Network n = MakeNetwork(MakeSet(c), rule);
  const double rate = TimeRuns(
      state, c.transcriptionSweeps,
      [&] {
        transcription::ClearConnections(n);
        n.SweepSSE.clear();
      },
      [&] { transcription::RunSweeps(n, c.transcriptionSweeps); });
  SetCounters(state, c, rate);
  g_timings[CaseName(c) + " " + rule].transcriptionSweepsPerSecond = rate;
}

int Chosen(const Case& c) {
  return corvel::detail::AutomaticWorkers(c.in, c.out, c.pat, corvel::detail::BestKernelSet());
}

// One worker, every core, and what the engine chooses when that is neither.
std::vector<int> WorkerCounts(const Case& c) {
  std::vector<int> counts{1, kAllCores};
  if (Chosen(c) != 1 && Chosen(c) != kAllCores) counts.push_back(Chosen(c));
  return counts;
}

// Wall time of `sweepsPerRun` sweeps on `workers` workers (processor time would add the
// workers' times up).
void BM_Workers(benchmark::State& state, Case c, const char* rule, int workers) {
  PublicStuff s = MakeState(MakeSet(c), rule);
  corvel::TrainingObserver quiet;
  PrepareContinuedRun(s, 1);
  if (corvel::RunTraining(s, quiet, workers)) state.SkipWithError("run failed");
  double seconds = 0;
  std::int64_t sweeps = 0;
  for (auto _ : state) {
    PrepareContinuedRun(s, c.engineSweeps);
    const auto start = std::chrono::steady_clock::now();
    if (corvel::RunTraining(s, quiet, workers)) state.SkipWithError("run failed");
    const double took =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(took);
    seconds += took;
    sweeps += c.engineSweeps;
  }
  const double rate = static_cast<double>(sweeps) / seconds;
  SetCounters(state, c, rate);
  g_workerTimings[CaseName(c) + " " + rule + " " + std::to_string(workers)] = rate;
}

// Memory traffic of a large copy: bytes read plus bytes written per second.
void BM_MemoryCopy(benchmark::State& state) {
  const std::size_t bytes = std::size_t{256} << 20;
  std::vector<char> from(bytes, 1), to(bytes, 0);
  const double copiesPerSecond = TimeRuns(
      state, 1, [] {},
      [&] {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
      });
  g_bandwidth = copiesPerSecond * 2.0 * static_cast<double>(bytes);
  state.counters["GB/s"] = g_bandwidth / 1e9;
}

void PrintSummary() {
  if (g_bandwidth > 0)
    std::printf("\nmemory bandwidth (copy, read + write): %.1f GB/s\n", g_bandwidth / 1e9);
  std::printf("\nsweeps per second of processor time, one thread\n");
  std::printf("\n%-13s %-5s %14s %14s %10s %12s\n", "case", "rule", "engine sw/s", "transcr. sw/s",
              "speed-up", "ns/update");
  for (const Case& c : kCases) {
    for (const char* rule : kRules) {
      const Timing& t = g_timings[CaseName(c) + " " + rule];
      if (t.engineSweepsPerSecond == 0 || t.transcriptionSweepsPerSecond == 0) continue;
      const double updates = static_cast<double>(c.in) * c.out * c.pat;
      std::printf("%-13s %-5s %14.2f %14.4f %9.1fx %12.4f\n", CaseName(c).c_str(), rule,
                  t.engineSweepsPerSecond, t.transcriptionSweepsPerSecond,
                  t.engineSweepsPerSecond / t.transcriptionSweepsPerSecond,
                  1e9 / (t.engineSweepsPerSecond * updates));
    }
  }
  std::printf(
      "\nsweeps per second of wall time: one worker, %d, and the number the engine chooses\n\n"
      "%-15s %-5s %14s %14s %10s %8s %10s\n",
      kAllCores, "case", "rule", "1 worker sw/s", "all sw/s", "speed-up", "chosen", "speed-up");
  for (const Case& c : kWorkerCases) {
    for (const char* rule : kRules) {
      const std::string key = CaseName(c) + " " + rule + " ";
      const double one = g_workerTimings[key + "1"],
                   all = g_workerTimings[key + std::to_string(kAllCores)],
                   chosen = g_workerTimings[key + std::to_string(Chosen(c))];
      if (one == 0 || all == 0 || chosen == 0) continue;
      std::printf("%-15s %-5s %14.2f %14.2f %9.2fx %8d %9.2fx\n", CaseName(c).c_str(), rule, one,
                  all, all / one, Chosen(c), chosen / one);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool allSame = true;
  for (const Case& c : kCases)
    for (const char* rule : kRules) allSame = CheckCase(c, rule) && allSame;
  if (!allSame) {
    std::fprintf(stderr, "engine and transcription DIFFER: timings would mean nothing\n");
    return 1;
  }

  benchmark::RegisterBenchmark("MemoryCopy", BM_MemoryCopy)
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
  for (const Case& c : kCases) {
    for (const char* rule : kRules) {
      const std::string name = CaseName(c) + "/" + rule;
      benchmark::RegisterBenchmark(("Engine/" + name).c_str(), BM_Engine, c, rule)
          ->UseManualTime()
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(("NewRun/" + name).c_str(), BM_NewRun, c, rule)
          ->UseManualTime()
          ->Unit(benchmark::kMillisecond);
      auto* t = benchmark::RegisterBenchmark(("Transcription/" + name).c_str(), BM_Transcription, c,
                                             rule);
      t->UseManualTime()->Unit(benchmark::kMillisecond);
      if (c.in >= 2048) t->Iterations(1);  // about 14 s a sweep: one sweep, scaled
    }
  }
  for (const Case& c : kWorkerCases) {
    for (const char* rule : kRules) {
      if (c.in > 2048 && !CheckWorkers(c, rule, 2)) allSame = false;
      for (int workers : WorkerCounts(c)) {
        const std::string name =
            "Workers/" + CaseName(c) + "/" + rule + "/" + std::to_string(workers);
        benchmark::RegisterBenchmark(name.c_str(), BM_Workers, c, rule, workers)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
      }
    }
  }
  if (!allSame) {
    std::fprintf(stderr, "one worker and all workers DIFFER: timings would mean nothing\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintSummary();
  return 0;
}
