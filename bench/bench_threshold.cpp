// Timings of the threshold of Character from Image: the pass on its own on
// the result canvas of the largest glyph of the doubling commands (128 x 128,
// a 256 x 256 canvas) and of the largest glyph at all (1024 x 1024, 2048 x
// 2048), with the smallest (window 0.9) and the largest (window 0.0) square
// side by side; and the redraw of the window on a key, on the real canvas.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/bench_program.h"
#include "capture/imagecapture.h"
#include "capture/threshold.h"
#include "platform/gui.h"
#include "platform/image.h"
#include "platform/requesters.h"

namespace {

// Grey levels that follow no pattern, the same every run.
platform::Image Noise(int side)
{
    platform::Image image(side, side);
    uint32_t seed = 12345;
    for (uint32_t& pixel : image.Pixels) {
        seed = seed * 1103515245u + 12345u;
        const int v = int(seed >> 16 & 255);
        pixel = 0xFF000000u | platform::RGB(v, v, v);
    }
    return image;
}

// Arguments: the canvas side, the window factor in hundredths, the mode.
void BM_ThresholdImage(benchmark::State& state)
{
    const platform::Image noise = Noise(int(state.range(0)));
    const float window = float(state.range(1)) / 100.0f;
    const int32_t mode = int32_t(state.range(2));
    platform::Image output;
    for (auto _ : state) {
        state.PauseTiming();
        output = noise;
        state.ResumeTiming();
        ThresholdImage(output, 0.02f, window, mode);
        benchmark::DoNotOptimize(output.Pixels.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * noise.Width * noise.Height);
}
BENCHMARK(BM_ThresholdImage)
    ->ArgNames({"side", "window", "mode"})
    ->Args({256, 90, 1})
    ->Args({256, 0, 1})
    ->Args({256, 90, 0})
    ->Args({2048, 90, 1})
    ->Args({2048, 0, 1})
    ->Args({2048, 90, 0})
    ->Unit(benchmark::kMillisecond);

// What one key of window 81 costs for a 128 x 128 glyph: the picture drawn
// onto the 256 x 256 result canvas, thresholded and enlarged.
void BM_ShowThreshold(benchmark::State& state)
{
    State& s = BenchProgram();
    const int32_t w = s.FontWidth, h = s.FontHeight;
    s.FontWidth = s.FontHeight = 128;
    const std::string path = (std::filesystem::temp_directory_path() / "glyphery-bench-picture.png").string();
    platform::SavePng(Noise(300), path);
    auto ask = std::make_unique<platform::ScriptedRequesters>();
    ask->OpenAnswers.push_back(path);
    platform::UseRequesters(std::move(ask));
    LoadCharacterImage(s);
    std::filesystem::remove(path);
    if (!platform::IsWindow(81))
        state.SkipWithError("the threshold window did not open");
    for (auto _ : state)
        ShowThreshold(s, s.ThresholdLevel, float(state.range(0)) / 100.0f, 1);
    CloseThresholdWindow(s);
    platform::UseRequesters(std::make_unique<platform::ScriptedRequesters>());
    s.FontWidth = w;
    s.FontHeight = h;
}
BENCHMARK(BM_ShowThreshold)->ArgName("window")->Arg(90)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
