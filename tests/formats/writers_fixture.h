// Shared set-up of the writer tests: a fresh state, scripted requesters and a
// temporary folder, plus small helpers to build fonts and read files back.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/editor.h"
#include "core/fontstore.h"
#include "core/state.h"
#include "formats/writers.h"
#include "platform/requesters.h"

// Scripted requesters that also keep what each save requester and message
// box was shown with.
class RecordingRequesters : public platform::ScriptedRequesters {
public:
    struct SaveCall {
        std::string Title, Start, Filter;
        int Position;
    };
    std::vector<SaveCall> SaveCalls;
    std::vector<platform::MessageButtons> Buttons;

    std::string SaveFile(const std::string& title, const std::string& start, const std::string& filter,
                         int filterPosition) override
    {
        SaveCalls.push_back({title, start, filter, filterPosition});
        return ScriptedRequesters::SaveFile(title, start, filter, filterPosition);
    }
    platform::MessageResult Message(const std::string& title, const std::string& text,
                                    platform::MessageButtons buttons) override
    {
        Buttons.push_back(buttons);
        return ScriptedRequesters::Message(title, text, buttons);
    }
};

class WritersTest : public ::testing::Test {
protected:
    State s;
    RecordingRequesters* ask = nullptr;
    std::filesystem::path dir;

    void SetUp() override
    {
        auto requesters = std::make_unique<RecordingRequesters>();
        ask = requesters.get();
        platform::UseRequesters(std::move(requesters));
        std::string pattern = (std::filesystem::temp_directory_path() / "glyphery-writers-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }

    void TearDown() override
    {
        platform::UseRequesters(std::make_unique<platform::ScriptedRequesters>());
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    std::string PathOf(const std::string& name) const { return (dir / name).string(); }

    // A glyph text of the given bytes.
    static std::string Glyph(const std::vector<int>& bytes)
    {
        static const char* digits = "0123456789ABCDEF";
        std::string text;
        for (int b : bytes) {
            text += "0x";
            text += digits[(b >> 4) & 15];
            text += digits[b & 15];
            text += ',';
        }
        return text;
    }

    // Byte i of the test glyph of code c.
    static int PatternByte(int c, int i) { return (c * 7 + i * 13 + 1) & 255; }

    // A font of w x h pixels, codes start to start + count - 1, each glyph
    // filled from PatternByte; labels from MakeCharLabels; no preamble.
    void MakeFont(int w, int h, int start, int count)
    {
        s.FontWidth = w;
        s.FontHeight = h;
        s.FontStart = start;
        s.FontCount = count;
        s.CharData.assign(CharTableRows, CharRow{});
        MakeCharLabels(s);
        s.FileInfo.clear();
        int perGlyph = w * h / 8;
        for (int c = start; c < start + count; ++c) {
            std::vector<int> bytes;
            for (int i = 0; i < perGlyph; ++i) {
                bytes.push_back(PatternByte(c, i));
            }
            s.CharData[c][1] = Glyph(bytes);
        }
        s.Grid.Create(w + 2, h + 2);
        s.CurrentChar = -1;
        s.Modified = 0;
    }

    // The font's bytes as the 8-bit array holds them: header and glyphs.
    std::vector<int> FontBytes() const
    {
        std::vector<int> bytes = {s.FontWidth, s.FontHeight, s.FontStart, s.FontCount};
        int perGlyph = s.FontWidth * s.FontHeight / 8;
        for (int c = s.FontStart; c < s.FontStart + s.FontCount; ++c) {
            for (int i = 0; i < perGlyph; ++i) {
                bytes.push_back(PatternByte(c, i));
            }
        }
        return bytes;
    }

    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static void WriteFile(const std::string& path, const std::string& text)
    {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }

    // The lines of a text, split at CR LF (the text must end in CR LF).
    static std::vector<std::string> Lines(const std::string& text)
    {
        std::vector<std::string> lines;
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find("\r\n", start);
            if (end == std::string::npos) {
                lines.push_back(text.substr(start) + "<no CR LF>");
                break;
            }
            lines.push_back(text.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }

    // Saves with `save`, answering the requester with `name` in the folder
    // (and Yes when it asks to replace a file of that name).
    template <typename Save>
    std::string SaveAs(Save save, const std::string& name)
    {
        ask->SaveAnswers.push_back(PathOf(name));
        ask->MessageAnswers.push_back(platform::MessageResult::Yes);
        save(s);
        ask->MessageAnswers.clear();
        return s.SavePath.empty() ? std::string("<cancelled>") : ReadFile(s.SavePath);
    }
};
