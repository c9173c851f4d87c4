// Any title of up to 300 bytes under any lead-byte table: the text helpers
// never crash, never add a CR, never grow the text, and cut on boundaries.

#include "core/LyricsQuery.h"
#include "core/MediaText.h"
#include "core/WinampTitle.h"

#include "FuzzLeadBytes.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

size_t CountOf(const std::string& text, char c) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), c));
}

// A cut length is a character boundary: walking characters from the start
// lands on it exactly.
bool IsBoundary(const std::string& text, size_t length) {
    size_t pos = 0;
    while (pos < length)
        pos += CharLength(text, pos, FuzzLeadByte);
    return pos == length;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TakeLeadTable(data, size);
    const std::string raw(reinterpret_cast<const char*>(data), std::min<size_t>(size, 300));

    const std::string title = CutText(raw, kTitleBufferBytes - 1, FuzzLeadByte);
    Check(title.size() <= kTitleBufferBytes - 1);
    Check(raw.compare(0, title.size(), title) == 0);
    Check(IsBoundary(raw, title.size()));
    Check(title.size() == raw.size() || title.size() + 2 > kTitleBufferBytes - 1);

    IsWinampTitleRejected(title, FuzzLeadByte);
    const std::string kept = CutWinampTitle(raw, FuzzLeadByte);
    Check(kept.size() <= kTitleBufferBytes - 1);
    Check(raw.size() > kTitleBufferBytes - 1 || kept == raw);
    const std::string track = WinampTitleToTrack(title, FuzzLeadByte);
    Check(track.size() <= title.size());
    Check(CountOf(track, '\r') <= CountOf(title, '\r'));

    const std::string query = BuildLyricsQuery(track, FuzzLeadByte);
    Check(query.empty() == (FindLastMbcs(track, "\n", FuzzLeadByte) == std::string::npos));
    Check(query.size() <= 3 * track.size() + 9);

    const size_t half = title.size() / 2;
    const std::string media = ComposeMediaText(std::string_view(title).substr(0, half),
                                               std::string_view(title).substr(half), FuzzLeadByte);
    Check(media.size() <= kTitleBufferBytes - 1);
    Check(CountOf(media, '\r') <= CountOf(title, '\r'));
    return 0;
}
