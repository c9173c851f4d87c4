#include "Playlist.h"

namespace demo {
namespace {

// Made-up artists and songs. One of each kind the pop-up must cope with: an
// ampersand (which a menu or label would take for a mnemonic), a title too
// long for one line, and dots inside a name.
const Track kTracks[] = {
    {"Velvet Thunder Llamas", "Grazing on the Moon"},
    {"The Quiet Kettles", "Boiling Point Ballad"},
    {"Salt & Static", "Quartz Radio"},
    {"DJ Toaster", "Crumbs in the Machine"},
    {"Marzipan Motorcade", "Sugar-Coated Traffic Jam"},
    {"Professor Fuzzbucket", "Theory of Everything (Kazoo Version)"},
    {"Neon Walrus Collective", "Tusk Till Dawn"},
    {"The Lighthouse Keepers' Union",
     "The Unreasonably Long Ballad of the Keeper Who Counted Every Single Wave Between the "
     "Harbour Wall and the Horizon (Extended Ferry Mix)"},
    {"Captain Umbrella", "Forecast: Mostly Sonic"},
    {"Mildred & The Modems", "Dial-Up Serenade"},
    {"Glass Harmonica Hooligans", "Bubble Wrap Symphony"},
    {"Dr. Pixel and the Sprites", "Ctrl Alt Delight"},
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

std::string Playlist::WindowTitle(bool paused) const {
    const Track& track = CurrentTrack();
    std::string title =
        std::to_string(m_current + 1) + ". " + track.artist + " - " + track.title + " - Winamp";
    if (paused) {
        title += " [Paused]";
    }
    return title;
}

} // namespace demo
