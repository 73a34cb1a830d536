// Shared set-up of the writer tests: a fresh state, scripted requesters and a
// temporary folder, plus small helpers to build fonts and read files back.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
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
#include "formats/basfont.h"
#include "formats/cfont.h"
#include "formats/fontwords.h"
#include "formats/guibitmap.h"
#include "formats/savesequence.h"
#include "formats/sheetimage.h"
#include "platform/requesters.h"

using platform::MessageResult;

// Scripted requesters that also keep what each file requester and message
// box was shown with.
class RecordingRequesters : public platform::ScriptedRequesters {
public:
    struct SaveCall {
        std::string Title, Start, Filter;
        int Position;
    };
    std::vector<SaveCall> SaveCalls;
    std::vector<SaveCall> OpenCalls;
    std::vector<platform::MessageButtons> Buttons;

    std::string OpenFile(const std::string& title, const std::string& start, const std::string& filter,
                         int position) override
    {
        OpenCalls.push_back({title, start, filter, position});
        return ScriptedRequesters::OpenFile(title, start, filter, position);
    }

    std::string SaveFile(const std::string& title, const std::string& start, const std::string& filter,
                         int position) override
    {
        SaveCalls.push_back({title, start, filter, position});
        return ScriptedRequesters::SaveFile(title, start, filter, position);
    }
    MessageResult Message(const std::string& title, const std::string& text, platform::MessageButtons buttons) override
    {
        Buttons.push_back(buttons);
        return ScriptedRequesters::Message(title, text, buttons);
    }
};

class WritersTest : public ::testing::Test {
protected:
    State s;
    RecordingRequesters* ask = new RecordingRequesters;
    std::filesystem::path dir;

    void SetUp() override
    {
        platform::UseRequesters(std::unique_ptr<RecordingRequesters>(ask));
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
        std::string text;
        char token[8];
        for (int b : bytes) {
            std::snprintf(token, sizeof token, "0x%02X,", b & 255);
            text += token;
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
        for (int c = start; c < start + count; ++c) {
            std::vector<int> bytes;
            for (int i = 0; i < w * h / 8; ++i)
                bytes.push_back(PatternByte(c, i));
            s.CharData[c][1] = Glyph(bytes);
        }
        s.Grid.Create(w + 2, h + 2);
        s.CurrentChar = -1;
        s.Modified = 0;
    }

    static std::string ReadFile(const std::string& path)
    {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }
    static void WriteFile(const std::string& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }

    // The lines of a text, split at CR LF (the text must end in CR LF).
    static std::vector<std::string> Lines(const std::string& text)
    {
        std::vector<std::string> lines;
        for (size_t start = 0; start < text.size();) {
            const size_t end = text.find("\r\n", start);
            lines.push_back(end == std::string::npos ? text.substr(start) + "<no CR LF>"
                                                     : text.substr(start, end - start));
            start = end == std::string::npos ? text.size() : end + 2;
        }
        return lines;
    }

    // Saves with `save`, answering the requester with `name` in the folder
    // (and Yes when it asks to replace a file of that name).
    template <typename Save>
    std::string SaveAs(Save save, const std::string& name)
    {
        ask->SaveAnswers.push_back(PathOf(name));
        ask->MessageAnswers.push_back(MessageResult::Yes);
        save(s);
        ask->MessageAnswers.clear();
        return s.SavePath.empty() ? std::string("<cancelled>") : ReadFile(s.SavePath);
    }

    // The titles and texts of the message boxes shown, one "Title|Text" each.
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> out;
        for (const auto& m : ask->Messages)
            out.push_back(m.Title + "|" + m.Text);
        return out;
    }
};
