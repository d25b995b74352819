// The ramp rebuilds that run on every slider notification, each beside a plain copy of the 768
// entries measured in the same run. The display is a counting stand-in, so only the arithmetic
// and the hand-over are measured.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>

#include "display/gamma_ramp.h"
#include "platform/gamma_device.h"

namespace {

using lumenor::display::GammaAdjuster;
using lumenor::display::GammaRamp;
using lumenor::display::RampIndex;

class CountingDisplay final : public lumenor::platform::GammaDevice {
 public:
  bool ReadRamp(GammaRamp&) override { return false; }
  bool WriteRamp(const GammaRamp& ramp) override {
    benchmark::DoNotOptimize(ramp.data());
    ++writes;
    return true;
  }
  std::int64_t writes = 0;
};

// A calibrated display's ramp: a gamma curve per channel with a slightly different white point,
// so every entry differs and half of them lie above 0x8000.
GammaRamp CalibratedRamp() {
  GammaRamp ramp{};
  const std::array<double, 3> exponent{1.10, 1.00, 0.92};
  const std::array<double, 3> white{1.00, 0.97, 0.93};
  for (int i = 0; i < lumenor::display::kRampLevels; ++i) {
    for (int c = 0; c < lumenor::display::kRampChannels; ++c) {
      ramp[RampIndex(i, c)] = static_cast<std::uint16_t>(
          std::lround(65535.0 * white[c] * std::pow(i / 255.0, exponent[c])));
    }
  }
  return ramp;
}

void BM_CopyRamp(benchmark::State& state) {
  const GammaRamp source = CalibratedRamp();
  GammaRamp target{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(source.data());
    target = source;
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyRamp);

void BM_ApplyBrightness(benchmark::State& state) {
  CountingDisplay display;
  GammaAdjuster adjuster(display);
  adjuster.SavedRamp() = CalibratedRamp();
  const auto brightness = static_cast<std::int16_t>(state.range(0));
  for (auto _ : state) {
    adjuster.ApplyBrightness(brightness);
    benchmark::DoNotOptimize(adjuster.WorkingRamp().data());
  }
  state.counters["writes_per_op"] =
      benchmark::Counter(static_cast<double>(display.writes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ApplyBrightness)->Arg(-30)->Arg(30);

void BM_ApplyContrast(benchmark::State& state) {
  CountingDisplay display;
  GammaAdjuster adjuster(display);
  adjuster.SavedRamp() = CalibratedRamp();
  const auto contrast = static_cast<std::int16_t>(state.range(0));
  for (auto _ : state) {
    adjuster.ApplyContrast(contrast);
    benchmark::DoNotOptimize(adjuster.WorkingRamp().data());
  }
  state.counters["writes_per_op"] =
      benchmark::Counter(static_cast<double>(display.writes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ApplyContrast)->Arg(60)->Arg(150);

void BM_ApplyColours(benchmark::State& state) {
  CountingDisplay display;
  GammaAdjuster adjuster(display);
  adjuster.SavedRamp() = CalibratedRamp();
  for (auto _ : state) {
    adjuster.ApplyColours({-20, 10, 35});
    benchmark::DoNotOptimize(adjuster.WorkingRamp().data());
  }
  state.counters["writes_per_op"] =
      benchmark::Counter(static_cast<double>(display.writes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ApplyColours);

}  // namespace
