// The TrueType import: ProcessTtfSelection for codes 32 to 126 of "Arial"
// at heights 20 and 64, beside the toolkit rendering the same 95 characters
// of that face at the same size on its own (no measuring, grabbing,
// reduction or thresholding).
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_program.h"
#include "capture/codepage.h"
#include "capture/ttfobjects.h"
#include "capture/ttfraster.h"
#include "capture/ttfview.h"
#include "core/state.h"
#include "platform/gui.h"
#include "platform/image.h"
#include "platform/requesters.h"
#include "platform/text.h"

namespace {

constexpr int BaselineFont = 7;
constexpr int BaselineImage = 2000;

// The view open with "Arial" chosen and 32 to 126 marked.
void OpenView(State& s, int height)
{
    auto& ask = static_cast<platform::ScriptedRequesters&>(platform::Ask());
    s.Modified = 0;
    ImportTtfFont(s);
    ask.FontAnswers = {platform::FontChoice{true, "Arial", 16, 0}};
    ChooseTtfFont(s);
    s.ChartFirst = 32;
    s.ChartLast = 126;
    platform::SetText(obj::TtfHeightField, platform::Str(height));
}

void BM_ProcessTtfSelection(benchmark::State& state)
{
    State& s = BenchProgram();
    const int height = int(state.range(0));
    OpenView(s, height);
    for (auto _ : state) {
        ProcessTtfSelection(s);
        s.ViewFontRequest = ViewFontNone;
    }
    if (s.FontCount != 95 || s.FontHeight != height)
        state.SkipWithError("the font was not rendered");
    platform::CloseWindow(obj::TtfViewWindow);
}
BENCHMARK(BM_ProcessTtfSelection)->ArgName("height")->Arg(20)->Arg(64)->Unit(benchmark::kMillisecond);

// The same 95 characters, antialiased at the size the import draws them
// (scale x (height - 2) pixels), one after the other on one image.
void BM_ToolkitBaseline(benchmark::State& state)
{
    const int height = int(state.range(0));
    const double size = double(RenderScale(height)) * (height - 2.0);
    platform::LoadFont(BaselineFont, "Arial", 16, 0);
    platform::CreateImage(BaselineImage, 1024, 1024, platform::RGB(255, 255, 255));
    for (auto _ : state) {
        platform::StartVectorDrawing(BaselineImage);
        platform::VectorFont(BaselineFont, size);
        platform::VectorColour(0xFF000000u);
        for (int k = 32; k <= 126; ++k) {
            platform::MovePathCursor(10, 1);
            platform::DrawVectorText(CodePointText(k));
        }
        platform::StopVectorDrawing();
    }
    platform::FreeImage(BaselineImage);
    platform::FreeFont(BaselineFont);
}
BENCHMARK(BM_ToolkitBaseline)->ArgName("height")->Arg(20)->Arg(64)->Unit(benchmark::kMillisecond);

}  // namespace
