// What a TrueType or OpenType font's own tables say of one face: the name of
// the family of up to four faces that bold and italic tell apart ("DejaVu
// Sans Light"), and whether the face is that family's bold or italic one.
// The tables are read as they come, from any font file: whatever they hold,
// the answer is a name or nothing.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Family name (name 1) of a "name" table, as UTF-8: the Windows record in US
// English first, then any other Windows record, a Unicode one, and last a
// Macintosh Roman one in plain ASCII. Empty when there is none.
std::string FaceFamilyName(std::string_view nameTable);

// StyleBold and StyleItalic (platform/requesters.h) as the "OS/2" table
// marks the face, or else the "head" table; 0 when neither says.
int FaceStyleBits(std::string_view os2Table, std::string_view headTable);

}  // namespace platform
