// Sweeps per second of the learning engine on one thread, as one plain program that builds
// natively and as WebAssembly alike, so that wasm_against_native.py can run the two side by
// side. For each case, rule and set of sweep loops this processor runs (the widest first:
// the one the engine uses) it times runs from cleared weights and prints
//   <case> <rule> <loops> <sweeps per second> <fingerprint>
// where the fingerprint hashes the bits of the weights and the last total SSE: every build
// and every set of loops must print the same one, or their speeds would not compare the
// same work.
//
//   engine_speed [REPEATS]     (the best of REPEATS timed runs, 5 by default)
//
// Time is the process's processor time, as engine_bench counts it: other jobs share this
// machine's cores, and wall time would count their time slices too. Under node it is the
// time of node's whole process, its compiler and collector threads included.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>

#include "learning/engine.h"
#include "learning/sweep_workspace.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

// node's own count, in seconds: Emscripten has no processor-time clock.
EM_JS(double, ProcessSeconds, (), {
  const used = process.cpuUsage();
  return (used.user + used.system) / 1e6;
});
#else
double ProcessSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}
#endif

namespace {

struct Case {
  int in, out, pat;
  int sweeps;  // per timed run: tens of milliseconds, natively, on the widest loops
};

const Case kCases[] = {{16, 16, 8, 100000}, {256, 256, 64, 100}, {1024, 1024, 64, 5}};

// Values in [-1, 1) made from the generator's words by exact arithmetic, so that every C++
// library gives the same set (the standard distributions may differ between them).
corvel::PublicStuff MakeState(const Case& c, const char* rule) {
  std::mt19937 words(2003);
  const auto value = [&words] { return static_cast<double>(words()) / 2147483648.0 - 1.0; };
  corvel::PublicStuff s;
  s.NumInputUnits = c.in;
  s.NumOutputUnits = c.out;
  s.NumPatterns = c.pat;
  s.InputPatterns = corvel::Array2D<double>(c.in, c.pat);
  s.DesiredOutputs = corvel::Array2D<double>(c.out, c.pat);
  for (int p = 1; p <= c.pat; ++p) {
    for (int i = 1; i <= c.in; ++i) s.InputPatterns(i, p) = value();
    for (int j = 1; j <= c.out; ++j) s.DesiredOutputs(j, p) = value();
  }
  s.AllocateNetwork();
  s.LearningRule = rule;
  s.LearningRate = 1.0 / c.in;
  s.StopAtMaxSweeps = 1;
  return s;
}

// From cleared weights, `sweeps` sweeps only: SweepCount 1 skips the sweep-0 row.
bool Run(corvel::PublicStuff& s, const corvel::detail::KernelSet& loops, int sweeps) {
  corvel::ClearConnections(s);
  s.NewRun = 0;
  s.SweepCount = 1;
  s.MaxSweeps = 1 + sweeps;
  s.PrintSweeps = 0;
  corvel::TrainingObserver quiet;
  return !corvel::detail::RunTrainingWith(s, quiet, loops, 1);
}

// FNV-1a over the bits of every weight and of the total SSE.
std::uint64_t Fingerprint(const corvel::PublicStuff& s) {
  std::uint64_t hash = 14695981039346656037u;
  const auto add = [&hash](double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int k = 0; k < 8; ++k, bits >>= 8) hash = (hash ^ (bits & 0xFF)) * 1099511628211u;
  };
  for (int i = 1; i <= s.NumInputUnits; ++i)
    for (int j = 1; j <= s.NumOutputUnits; ++j) add(s.Connections.Weight(j, i));
  add(s.TotalSSE);
  return hash;
}

}  // namespace

int main(int argc, char** argv) {
  const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  for (const Case& c : kCases) {
    for (const char* rule : {"Hebb", "Delta"}) {
      for (const corvel::detail::KernelSet* loops : corvel::detail::SupportedKernelSets()) {
        corvel::PublicStuff s = MakeState(c, rule);
        if (!Run(s, *loops, 1)) return 1;  // takes the engine's scratch from the system once
        double best = 0;
        for (int k = 0; k < repeats; ++k) {
          const double start = ProcessSeconds();
          if (!Run(s, *loops, c.sweeps)) return 1;
          const double took = ProcessSeconds() - start;
          if (k == 0 || took < best) best = took;
        }
        std::printf("%dx%dx%d %s %s %.3f %016llx\n", c.in, c.out, c.pat, rule, loops->name,
                    c.sweeps / best, static_cast<unsigned long long>(Fingerprint(s)));
        std::fflush(stdout);
      }
    }
  }
  return 0;
}
