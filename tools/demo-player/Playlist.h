// The demo player's built-in playlist and the window titles it shows for it,
// in the form Winamp uses: "N. Artist - Title - Winamp", with " [Paused]"
// appended while paused. UTF-16, so tracks in any script keep their names.
#pragma once

#include <cstddef>
#include <string>

namespace demo {

struct Track {
    const wchar_t* artist;
    const wchar_t* title;
};

class Playlist {
  public:
    static std::size_t Size();
    static const Track& At(std::size_t index);

    std::size_t Current() const { return m_current; }
    const Track& CurrentTrack() const { return At(m_current); }
    // Both wrap around the ends of the list, as a repeating playlist does.
    void Next();
    void Previous();

    // The title of the player's window for the current track.
    std::wstring WindowTitle(bool paused) const;

  private:
    std::size_t m_current = 0;
};

} // namespace demo
