// For the font reader targets: opens a file through the Open command on a
// fresh font, as the user would, and checks what any reader must leave: no
// glyph outside codes 0 to 255, a font that describes only codes the store
// holds (never a count below 0), a glyph size New would accept (never 0
// pixels), the editor set up for it, and after "Error reading file" the
// geometry and codes the font had.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/state.h"
#include "formats/openfont.h"
#include "formats/readfont.h"
#include "platform/requesters.h"

// Aborts (a finding) unless what a reader found keeps to the store's limits.
inline void CheckFontRead(const FontRead& read)
{
    int64_t previous = -1;
    for (const FontRead::Glyph& glyph : read.Glyphs) {
        if (glyph.Code < 0 || glyph.Code > LastFontCode || glyph.Code <= previous)
            std::abort();
        previous = glyph.Code;
    }
    if (read.Start && (*read.Start < 0 || *read.Start > LastFontCode))
        std::abort();
    if (read.Start && read.Count && int64_t(*read.Start) + *read.Count - 1 > LastFontCode)
        std::abort();
    if ((read.Width && (*read.Width < 1 || *read.Width > 1024)) || (read.Height && (*read.Height < 1 || *read.Height > 1024)))
        std::abort();
    if (read.Count && *read.Count < 0)
        std::abort();
    if (read.ErrorReading && (read.Width || read.Height || read.Start || read.Count || read.Header))
        std::abort();
}

// Scripted requesters with no answers (every message box is answered
// Cancel), emptied of the messages of the last input.
inline platform::ScriptedRequesters& FreshRequesters()
{
    static platform::ScriptedRequesters* ask = [] {
        auto requesters = std::make_unique<platform::ScriptedRequesters>();
        platform::ScriptedRequesters* raw = requesters.get();
        platform::UseRequesters(std::move(requesters));
        return raw;
    }();
    ask->Messages.clear();
    ask->Titles.clear();
    return *ask;
}

// Opens `path` with OpenFontFile on a fresh font and checks the result.
inline void CheckOpen(const std::string& path)
{
    platform::ScriptedRequesters* ask = &FreshRequesters();

    State s;
    s.FontWidth = 16;
    s.FontHeight = 24;
    s.FontStart = 32;
    s.FontCount = 0;
    s.Grid.Create(18, 26);
    OpenFontFile(s, path);

    // Only codes 0 to 255 hold glyphs, and the font describes no others.
    if (!s.CharData[256][1].empty())
        std::abort();
    if (s.FontCount < 0 || (s.FontCount > 0 && (s.FontStart < 0 || int64_t(s.FontStart) + s.FontCount - 1 > LastFontCode)))
        std::abort();
    if (s.FontWidth < 1 || s.FontWidth > 1024 || s.FontHeight < 1 || s.FontHeight > 1024)
        std::abort();
    if (s.Grid.Columns != s.FontWidth + 2 || s.Grid.Rows != s.FontHeight + 2)
        std::abort();
    if (s.Modified != 0 || s.RecentFiles.size() != 1 || ask->Messages.size() > 2)
        std::abort();
    for (const platform::ScriptedRequesters::Shown& shown : ask->Messages)
        if (shown.Text.starts_with("Error reading file") &&
            (s.FontWidth != 16 || s.FontHeight != 24 || s.FontStart != 32 || s.FontCount != 0 || !s.FontHeader.empty()))
            std::abort();
}
