// Timings of the commands that touch every pixel of a large font: the Font
// View sheet, every whole-font command, and the editor repaint. Runs the
// real program's start-up, so the drawing goes to real (offscreen) windows.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/fontview.h"
#include "app/program.h"
#include "bench/bench_program.h"
#include "core/commands.h"
#include "core/editor.h"
#include "core/state.h"
#include "platform/gui.h"
#include "platform/requesters.h"

namespace {

State* Program = nullptr;

}  // namespace

State& BenchProgram()
{
    return *Program;
}

namespace {

// Glyph texts of `count` glyphs of w x h pixels, about a third of them set.
std::vector<CharRow> RandomFont(int w, int h, int start, int count, uint32_t seed)
{
    static const char digits[] = "0123456789ABCDEF";
    std::vector<CharRow> data(CharTableRows);
    for (int c = start; c < start + count; ++c) {
        std::string text;
        text.reserve(size_t(w) * size_t(h) / 8 * 5);
        for (int i = 0; i < w * h / 8; ++i) {
            int value = 0;
            for (int b = 0; b < 8; ++b) {
                seed = seed * 1103515245u + 12345u;
                if ((seed >> 16) % 3 == 0) value |= 1 << b;
            }
            text += "0x";
            text += digits[value >> 4];
            text += digits[value & 15];
            text += ",";
        }
        data[size_t(c)][1] = std::move(text);
    }
    return data;
}

// Puts a font into the program as a reader would: geometry, glyph texts,
// character list, grid, and the first character selected.
void LoadFont(State& s, int w, int h, const std::vector<CharRow>& data)
{
    s.FontWidth = w;
    s.FontHeight = h;
    s.FontStart = 32;
    s.FontCount = 224;
    for (int c = 0; c < CharTableRows; ++c) s.CharData[size_t(c)][1] = data[size_t(c)][1];
    s.CurrentChar = -1;
    platform::ClearItems(12);
    for (int c = 32; c < 256; ++c) platform::AddItem(12, -1, "Chr$(" + std::to_string(c) + ")");
    SetupGrid(s);
    platform::SetState(12, 0);
    SelectCharacter(s);
}

const std::vector<CharRow>& Font128()
{
    static const std::vector<CharRow> font = RandomFont(128, 128, 32, 224, 1);
    return font;
}

const std::vector<CharRow>& Font64()
{
    static const std::vector<CharRow> font = RandomFont(64, 64, 32, 224, 2);
    return font;
}

void BM_ViewFont(benchmark::State& state)
{
    State& s = *Program;
    LoadFont(s, 128, 128, Font128());
    for (auto _ : state) ViewFont(s);
    platform::CloseWindow(69);
}
BENCHMARK(BM_ViewFont)->Unit(benchmark::kMillisecond);

// Centre font alone (Font View closed), then with the open window rebuilt.
void BM_CentreFont(benchmark::State& state)
{
    State& s = *Program;
    LoadFont(s, 128, 128, Font128());
    if (state.range(0)) ViewFont(s);
    for (auto _ : state) {
        state.PauseTiming();
        for (int c = 32; c < 256; ++c) s.CharData[size_t(c)][1] = Font128()[size_t(c)][1];
        state.ResumeTiming();
        CentreFont(s);
        ApplyViewFontRequest(s);
    }
    platform::CloseWindow(69);
}
BENCHMARK(BM_CentreFont)->ArgName("with_view")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Double Size font from 64 x 64 (to 128 x 128) and from 128 x 128, the
// largest size the command accepts (to 256 x 256).
void BM_DoubleSizeFont(benchmark::State& state)
{
    State& s = *Program;
    const int size = int(state.range(0));
    const std::vector<CharRow>& font = size == 64 ? Font64() : Font128();
    for (auto _ : state) {
        state.PauseTiming();
        LoadFont(s, size, size, font);
        state.ResumeTiming();
        DoubleSizeFont(s);
        state.PauseTiming();
        if (s.FontWidth != 2 * size) state.SkipWithError("the font was not doubled");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DoubleSizeFont)->ArgName("from")->Arg(64)->Arg(128)->Unit(benchmark::kMillisecond);

// The other whole-font commands on 224 glyphs of 128 x 128.
struct WholeFontCommand {
    const char* Name;
    void (*Run)(State& s, platform::ScriptedRequesters& ask);
};

const WholeFontCommand WholeFontCommands[] = {
    {"LeftAlignFont", [](State& s, platform::ScriptedRequesters&) { LeftAlignFont(s); }},
    {"ShiftFont", [](State& s, platform::ScriptedRequesters&) { ShiftFont(s, 1, 0); }},
    {"DoubleWidthFont", [](State& s, platform::ScriptedRequesters&) { DoubleWidthFont(s); }},
    {"ResizeFont 128 to 256",
     [](State& s, platform::ScriptedRequesters& ask) {
         ask.InputAnswers = {"256 x 256"};
         ResizeFont(s);
     }},
};

void BM_WholeFont(benchmark::State& state)
{
    State& s = *Program;
    auto& ask = static_cast<platform::ScriptedRequesters&>(platform::Ask());
    const WholeFontCommand& command = WholeFontCommands[state.range(0)];
    state.SetLabel(command.Name);
    for (auto _ : state) {
        state.PauseTiming();
        LoadFont(s, 128, 128, Font128());
        state.ResumeTiming();
        command.Run(s, ask);
    }
}
BENCHMARK(BM_WholeFont)->DenseRange(0, int(std::size(WholeFontCommands)) - 1)->Unit(benchmark::kMillisecond);

// Adding a character at the end of a font of 1024 x 1024 pixels: the glyph
// in the editor is stored back, the new one shown blank.
void BM_AddCharacter1024(benchmark::State& state)
{
    State& s = *Program;
    static const std::vector<CharRow> font = RandomFont(1024, 1024, 32, 2, 3);
    for (auto _ : state) {
        state.PauseTiming();
        LoadFont(s, 1024, 1024, font);
        s.FontCount = 2;
        platform::ClearItems(12);
        platform::AddItem(12, -1, "Chr$(32)");
        platform::AddItem(12, -1, "Chr$(33)");
        platform::SetState(12, 1);
        SelectCharacter(s);
        state.ResumeTiming();
        AddCharacter(s, 1);
    }
}
BENCHMARK(BM_AddCharacter1024)->Unit(benchmark::kMillisecond);

void BM_PaintGrid(benchmark::State& state)
{
    State& s = *Program;
    LoadFont(s, 128, 128, Font128());
    for (auto _ : state) PaintGrid(s);
}
BENCHMARK(BM_PaintGrid)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    platform::UseRequesters(std::make_unique<platform::ScriptedRequesters>());
    State s;
    Program = &s;
    if (!platform::InitGui() || !ProgramStart(s)) {
        std::fprintf(stderr, "glyphery-bench: the main window could not be opened\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    platform::EndGui();
    return 0;
}
