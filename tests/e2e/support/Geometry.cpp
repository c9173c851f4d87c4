#include "support/Geometry.h"

#include "support/Wait.h"

#include <ostream>
#include <sstream>

namespace e2e {

bool operator==(const Box& a, const Box& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

bool operator!=(const Box& a, const Box& b) {
    return !(a == b);
}

std::ostream& operator<<(std::ostream& out, const Box& box) {
    return out << "(" << box.x << ", " << box.y << ") " << box.width << " x " << box.height;
}

Box WindowBox(HWND window) {
    RECT rect = {};
    if (!GetWindowRect(window, &rect)) {
        return Box{};
    }
    return Box{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

std::string Describe(const std::vector<Box>& boxes) {
    std::ostringstream out;
    for (const Box& box : boxes) {
        out << "  " << box << "\n";
    }
    return out.str();
}

GeometryTrace::GeometryTrace(HWND window) : m_window(window) {}

void GeometryTrace::Sample() {
    const Box box = WindowBox(m_window);
    if (m_boxes.empty() || m_boxes.back() != box) {
        m_boxes.push_back(box);
    }
}

bool GeometryTrace::RecordUntil(const std::function<bool(const Box&)>& done, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        Sample();
        if (done(m_boxes.back())) {
            return true;
        }
        if (GetTickCount64() >= end) {
            return false;
        }
        PumpMessages();
        // About a millisecond: most 4 ms animation steps are seen one by
        // one, and the sampler leaves the (shared) processor to the program.
        Sleep(1);
    }
}

void GeometryTrace::RecordFor(DWORD ms) {
    RecordUntil([](const Box&) { return false; }, ms);
}

void GeometryTrace::Clear() {
    m_boxes.clear();
}

} // namespace e2e
