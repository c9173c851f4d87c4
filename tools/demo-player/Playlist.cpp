#include "Playlist.h"

namespace demo {
namespace {

// Made-up artists and songs. One of each kind the pop-up must cope with: an
// ampersand (which a menu or label would take for a mnemonic), a title too
// long for one line, dots inside a name, and names in other scripts.
const Track kTracks[] = {
    {L"Velvet Thunder Llamas", L"Grazing on the Moon"},
    {L"The Quiet Kettles", L"Boiling Point Ballad"},
    // Japanese: "Robot by the Sea" - "Dawn Radio".
    {L"\u6D77\u8FBA\u306E\u30ED\u30DC\u30C3\u30C8", L"\u591C\u660E\u3051\u306E\u30E9\u30B8\u30AA"},
    {L"Salt & Static", L"Quartz Radio"},
    {L"DJ Toaster", L"Crumbs in the Machine"},
    {L"Marzipan Motorcade", L"Sugar-Coated Traffic Jam"},
    // Russian: "Balalaika Beat" - "Night Tram".
    {L"\u0411\u0430\u043B\u0430\u043B\u0430\u0439\u043A\u0430 \u0411\u0438\u0442",
     L"\u041D\u043E\u0447\u043D\u043E\u0439 \u0442\u0440\u0430\u043C\u0432\u0430\u0439"},
    {L"Professor Fuzzbucket", L"Theory of Everything (Kazoo Version)"},
    {L"Neon Walrus Collective", L"Tusk Till Dawn"},
    // Greek: "The Postmen" - "Summer at the Harbour".
    {L"\u039F\u03B9 \u03A4\u03B1\u03C7\u03C5\u03B4\u03C1\u03CC\u03BC\u03BF\u03B9",
     L"\u039A\u03B1\u03BB\u03BF\u03BA\u03B1\u03AF\u03C1\u03B9 \u03C3\u03C4\u03BF "
     L"\u03BB\u03B9\u03BC\u03AC\u03BD\u03B9"},
    {L"Dr. Pixel and the Sprites", L"Ctrl Alt Delight"},
    {L"The Lighthouse Keepers' Union",
     L"The Unreasonably Long Ballad of the Keeper Who Counted Every Single Wave Between the "
     L"Harbour Wall and the Horizon (Extended Ferry Mix)"},
    {L"Captain Umbrella", L"Forecast: Mostly Sonic"},
    {L"Mildred & The Modems", L"Dial-Up Serenade"},
    {L"Glass Harmonica Hooligans", L"Bubble Wrap Symphony"},
};

constexpr std::size_t kTrackCount = sizeof kTracks / sizeof kTracks[0];

} // namespace

std::size_t Playlist::Size() {
    return kTrackCount;
}

const Track& Playlist::At(std::size_t index) {
    return kTracks[index % kTrackCount];
}

void Playlist::Next() {
    m_current = (m_current + 1) % kTrackCount;
}

void Playlist::Previous() {
    m_current = (m_current + kTrackCount - 1) % kTrackCount;
}

std::wstring Playlist::WindowTitle(bool paused) const {
    const Track& track = CurrentTrack();
    std::wstring title =
        std::to_wstring(m_current + 1) + L". " + track.artist + L" - " + track.title + L" - Winamp";
    if (paused) {
        title += L" [Paused]";
    }
    return title;
}

} // namespace demo
