// Timings of the commands that touch every pixel of a large font: the Font
// View sheet, every whole-font command, and the editor repaint. Runs the
// real program's start-up, so the drawing goes to real (offscreen) windows.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
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

// The first run of a command in a fresh process, where nothing it allocates
// is warm yet: the benchmark starts itself again for each run, with
// --fresh=NAME, and reads the time that run measured.
const char* const FreshCommands[] = {"ViewFont", "DoubleSizeFont"};

void RunFresh(State& s, const std::string& name)
{
    LoadFont(s, 128, 128, Font128());
    const auto start = std::chrono::steady_clock::now();
    if (name == "ViewFont")
        ViewFont(s);
    else
        DoubleSizeFont(s);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.9f\n", seconds);
}

void BM_FreshProcess(benchmark::State& state)
{
    const std::string name = FreshCommands[state.range(0)];
    state.SetLabel(name);
    for (auto _ : state) {
        const std::string command = "/proc/" + std::to_string(getpid()) + "/exe --fresh=" + name;
        FILE* child = popen(command.c_str(), "r");
        double seconds = -1;
        if (!child || std::fscanf(child, "%lf", &seconds) != 1 || pclose(child) != 0 || seconds < 0) {
            state.SkipWithError("the fresh run failed");
            break;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_FreshProcess)->DenseRange(0, 1)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

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
    // Offscreen, on a screen as large as a big desktop's, so that the sheet
    // of the largest font shows one to one.
    const char* platformName = std::getenv("QT_QPA_PLATFORM");
    std::string config;
    if (!platformName || std::string(platformName) == "offscreen") {
        config = "/tmp/glyphery-bench-screen-" + std::to_string(getpid()) + ".json";
        if (FILE* f = std::fopen(config.c_str(), "w")) {
            std::fputs(R"({"screens":[{"name":"desktop","x":0,"y":0,"width":3840,"height":2160,"logicalDpi":96}]})", f);
            std::fclose(f);
        }
        setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).c_str(), 1);
    }
    std::string fresh;
    if (argc == 2 && std::string(argv[1]).rfind("--fresh=", 0) == 0) {
        fresh = argv[1] + 8;
    } else {
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    }

    platform::UseRequesters(std::make_unique<platform::ScriptedRequesters>());
    State s;
    Program = &s;
    if (!platform::InitGui() || !ProgramStart(s)) {
        std::fprintf(stderr, "glyphery-bench: the main window could not be opened\n");
        return 1;
    }
    if (!fresh.empty()) {
        RunFresh(s, fresh);
    } else {
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }
    platform::EndGui();
    if (!config.empty())
        std::remove(config.c_str());
    return 0;
}
