#pragma once
// Chat lines travel as rich text (RTF), as RichEdit writes it. We write a
// small document ourselves and read any RichEdit output back to plain text.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarmacia::chat {

struct RtfColour {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// A picture embedded in the text: written as a "\pict" group at `position`
// (a character index into the plain text).
struct RtfPicture {
    std::size_t position = 0;
    std::string bytes; // the picture file's bytes, written as hexadecimal
};

// A RichEdit-style document for `plain` (UTF-8; written in code page 1252
// with "\'xx" escapes): font table, a colour table whose one colour comes
// before the first "\fs", the font size in half-points, "\par" for line
// breaks, pictures as "{\pict ...}" groups.
std::string writeRtf(std::string_view plain, RtfColour colour, int halfPoints = 20,
                     const std::vector<RtfPicture>& pictures = {});

// The plain text of a rich-text document (UTF-8): groups of destinations
// ("\*", font and colour tables, "\pict", ...) are skipped, "\par" and
// "\line" become "\r\n", "\'xx" is read in code page 1252, "\uN" as Unicode.
// Garbage never throws: what cannot be read is dropped.
std::string rtfToText(std::string_view rtf);

} // namespace tarmacia::chat
