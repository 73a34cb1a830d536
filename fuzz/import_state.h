// For the fuzz targets of the font imports: scripted requesters installed
// once, whose record of message boxes each run clears, and a small font that
// an import refusing its input must leave as it was.
#pragma once

#include <memory>

#include "core/state.h"
#include "platform/requesters.h"

inline platform::ScriptedRequesters& FuzzRequesters()
{
    static platform::ScriptedRequesters* kept = [] {
        auto requesters = std::make_unique<platform::ScriptedRequesters>();
        platform::ScriptedRequesters* made = requesters.get();
        platform::UseRequesters(std::move(requesters));
        return made;
    }();
    kept->Messages.clear();
    kept->Titles.clear();
    return *kept;
}

// One glyph of 8 x 2 at code 65.
inline void MakeSmallFont(State& s)
{
    s.FontWidth = 8;
    s.FontHeight = 2;
    s.FontStart = 65;
    s.FontCount = 1;
    s.CharData[65][1] = "0x12,0x34,";
}

inline bool SmallFontKept(const State& s)
{
    return s.FontWidth == 8 && s.FontHeight == 2 && s.FontStart == 65 && s.FontCount == 1 &&
           s.CharData[65][1] == "0x12,0x34,";
}
