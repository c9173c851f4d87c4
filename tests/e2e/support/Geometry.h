// Window rectangles as the tests compare them, and traces of them over time.
#pragma once

#include <windows.h>

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace e2e {

// A window's screen rectangle as position and size.
struct Box {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    constexpr int Right() const { return x + width; }
    constexpr int Bottom() const { return y + height; }
};

bool operator==(const Box& a, const Box& b);
bool operator!=(const Box& a, const Box& b);
std::ostream& operator<<(std::ostream& out, const Box& box);

// GetWindowRect of a window as a Box (all zero when the window is gone).
Box WindowBox(HWND window);

// The boxes of a trace, one per line, for failure messages.
std::string Describe(const std::vector<Box>& boxes);

// Samples a window's rectangle as fast as it can while messages keep being
// dispatched, and keeps each rectangle that differs from the one before it:
// an animation shows up as the sequence of distinct steps the sampler saw.
// (A fast animation may move twice between two samples, so traces are for
// checking shapes — direction, end points, monotony — not step counts.)
class GeometryTrace {
  public:
    explicit GeometryTrace(HWND window);

    // Takes one sample now.
    void Sample();
    // Samples until `done` holds for the latest box or the time is up;
    // returns whether `done` was reached.
    bool RecordUntil(const std::function<bool(const Box&)>& done, DWORD timeoutMs);
    // Samples for the given time.
    void RecordFor(DWORD ms);

    const std::vector<Box>& Boxes() const { return m_boxes; }
    const Box& Last() const { return m_boxes.back(); }
    void Clear();

  private:
    HWND m_window;
    std::vector<Box> m_boxes;
};

} // namespace e2e
