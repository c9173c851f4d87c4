// Any bytes under the UTF-8 rule: every step is a whole sequence or one
// malformed byte, searches and cuts land on those steps, and from valid
// UTF-8 no cut, title edit, lyrics query or media text makes invalid UTF-8.

#include "core/LyricsQuery.h"
#include "core/MediaText.h"
#include "core/WinampTitle.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

const CharRule kUtf8 = CharRule::Utf8();

// The character boundaries of the text, its end included.
std::vector<size_t> Boundaries(const std::string& text) {
    std::vector<size_t> boundaries{0};
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = CharLength(text, pos, kUtf8);
        const size_t sequence = Utf8SequenceLength(text, pos);
        Check(length >= 1 && length <= 4);
        Check(length == (sequence == 0 ? 1 : sequence));
        pos += length;
        boundaries.push_back(pos);
    }
    Check(boundaries.back() == text.size());
    return boundaries;
}

bool IsBoundary(const std::vector<size_t>& boundaries, size_t pos) {
    return std::binary_search(boundaries.begin(), boundaries.end(), pos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string raw(reinterpret_cast<const char*>(data), std::min<size_t>(size, 700));
    const bool valid = IsValidUtf8(raw);
    const std::vector<size_t> boundaries = Boundaries(raw);
    // Valid text is made of its sequences alone.
    if (valid) {
        for (size_t i = 0; i + 1 < boundaries.size(); ++i)
            Check(Utf8SequenceLength(raw, boundaries[i]) == boundaries[i + 1] - boundaries[i]);
    }

    for (size_t max : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, raw.size() / 2, size_t{255}}) {
        const std::string cut = CutText(raw, max, kUtf8);
        Check(cut.size() <= max && IsBoundary(boundaries, cut.size()));
        Check(cut.size() == raw.size() || cut.size() + 4 > max);
        Check(!valid || IsValidUtf8(cut));
    }

    for (const char* needle : {" - ", "\n", "\x97", "\xE6\x97\xA5", "="}) {
        const size_t found = FindMbcs(raw, needle, kUtf8);
        Check(found == std::string::npos || IsBoundary(boundaries, found));
        const size_t last = FindLastMbcs(raw, needle, kUtf8);
        Check((found == std::string::npos) == (last == std::string::npos));
        Check(last == std::string::npos || (IsBoundary(boundaries, last) && last >= found));
    }
    const std::string folder = DirectoryOf(raw, kUtf8);
    Check(IsBoundary(boundaries, folder.size()));

    const std::string title = CutWinampTitle(raw, kUtf8);
    Check(title.size() <= kTitleBufferBytes - 1);
    const std::string track = WinampTitleToTrack(title, kUtf8);
    const std::string query = BuildLyricsQuery(track, kUtf8);
    const size_t half = boundaries[boundaries.size() / 2];
    const std::string media = ComposeMediaText(std::string_view(raw).substr(0, half),
                                               std::string_view(raw).substr(half), kUtf8);
    Check(media.size() <= kTitleBufferBytes - 1);
    const std::string playerLine = std::string("\n") + kMediaPlayerName;
    Check(media.size() >= playerLine.size() &&
          media.compare(media.size() - playerLine.size(), playerLine.size(), playerLine) == 0);
    if (valid) {
        Check(IsValidUtf8(title) && IsValidUtf8(track) && IsValidUtf8(query));
        Check(IsValidUtf8(folder) && IsValidUtf8(media));
    }
    return 0;
}
