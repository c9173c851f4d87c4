#pragma once
// A pop-up window for the animator's tests: it records every call as a line
// of text, runs each animation on a real thread, and can freeze an animation
// inside a chosen move (as SetWindowPos blocks while the UI thread is busy).

#include "core/PopupAnimator.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FakePopupWindow : public IPopupWindow {
  public:
    ~FakePopupWindow() override {
        Release();
        std::vector<std::thread> threads;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            threads.swap(m_threads);
        }
        for (std::thread& thread : threads)
            thread.join();
    }

    void MoveWindow(const WindowStep& step, bool bringToTop) override {
        Touch();
        std::function<void()> probe;
        std::unique_lock<std::mutex> lock(m_lock);
        probe = m_probe;
        m_events.push_back(StepText(bringToTop ? "top" : "move", step));
        m_movers.push_back(std::this_thread::get_id());
        m_rect = {step.x, step.y, step.x + step.cx, step.y + step.cy};
        if (++m_moves == m_holdAt) {
            m_held = true;
            m_changed.notify_all();
            // A generous limit, so that a failed test cannot hang forever.
            m_changed.wait_for(lock, std::chrono::seconds(30), [this] { return !m_held; });
            m_held = false;
        }
        lock.unlock();
        if (probe)
            probe();
    }
    void MoveWindowOrigin() override {
        Touch();
        std::lock_guard<std::mutex> lock(m_lock);
        m_events.push_back("origin");
        m_rect = {0, 0, m_rect.Width(), m_rect.Height()};
    }
    Rect GetWindowRect() override {
        Touch();
        std::lock_guard<std::mutex> lock(m_lock);
        return m_rect;
    }
    void StartHideTimer() override { Record("timer+"); }
    void StopHideTimer() override { Record("timer-"); }
    void Pause(int milliseconds) override {
        Touch();
        if (m_pauseSleeps)
            std::this_thread::sleep_for(std::chrono::microseconds(10 * milliseconds));
    }
    int64_t Now() override {
        Touch();
        return m_clock;
    }
    bool LaunchThread(std::function<void()> routine) override {
        Touch();
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_failLaunches)
            return false;
        ++m_running;
        m_threads.emplace_back([this, routine = std::move(routine)] {
            routine();
            std::lock_guard<std::mutex> done(m_lock);
            --m_running;
            m_changed.notify_all();
        });
        return true;
    }

    // Test controls, called from the test's thread (the UI thread).
    void SetClock(int64_t milliseconds) { m_clock = milliseconds; }
    void AdvanceClock(int64_t milliseconds) { m_clock += milliseconds; }
    void FailLaunches(bool fail) {
        std::lock_guard<std::mutex> lock(m_lock);
        m_failLaunches = fail;
    }
    void PauseSleeps(bool sleeps) { m_pauseSleeps = sleeps; }
    void SetProbe(std::function<void()> probe) {
        std::lock_guard<std::mutex> lock(m_lock);
        m_probe = std::move(probe);
    }
    // The `count`-th move from now blocks until Release.
    void HoldAfterMoves(size_t count) {
        std::lock_guard<std::mutex> lock(m_lock);
        m_holdAt = m_moves + count;
    }
    bool WaitHeld() {
        std::unique_lock<std::mutex> lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(10), [this] { return m_held; });
    }
    void Release() {
        std::lock_guard<std::mutex> lock(m_lock);
        m_held = false;
        m_holdAt = 0;
        m_changed.notify_all();
    }
    // Every launched thread has ended.
    bool WaitQuiet() {
        std::unique_lock<std::mutex> lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(20),
                                  [this] { return m_running == 0; });
    }
    // From now on any call counts as a touch after close.
    void Close() { m_closed = true; }
    int TouchesAfterClose() const { return m_touchesAfterClose; }

    std::vector<std::string> Events() const {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_events;
    }
    std::vector<std::string> EventsSince(size_t mark) const {
        std::lock_guard<std::mutex> lock(m_lock);
        return std::vector<std::string>(m_events.begin() + std::min(mark, m_events.size()),
                                        m_events.end());
    }
    size_t EventCount() const {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_events.size();
    }
    Rect CurrentRect() const {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_rect;
    }
    // True when the moves of each thread form one unbroken run: no two
    // animations ever moved the window in turns.
    bool MovesWereSerialised() const {
        std::lock_guard<std::mutex> lock(m_lock);
        std::vector<std::thread::id> finished;
        for (size_t i = 1; i < m_movers.size(); ++i) {
            if (m_movers[i] == m_movers[i - 1])
                continue;
            if (std::find(finished.begin(), finished.end(), m_movers[i]) != finished.end())
                return false;
            finished.push_back(m_movers[i - 1]);
        }
        return true;
    }

    static std::string StepText(const char* kind, const WindowStep& s) {
        return std::string(kind) + " " + std::to_string(s.x) + "," + std::to_string(s.y) + "," +
               std::to_string(s.cx) + "," + std::to_string(s.cy);
    }

  private:
    void Touch() {
        if (m_closed)
            ++m_touchesAfterClose;
    }
    void Record(const char* event) {
        Touch();
        std::lock_guard<std::mutex> lock(m_lock);
        m_events.push_back(event);
    }

    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<std::string> m_events;
    std::vector<std::thread::id> m_movers;
    std::vector<std::thread> m_threads;
    std::function<void()> m_probe;
    Rect m_rect;
    size_t m_moves = 0, m_holdAt = 0;
    bool m_held = false, m_failLaunches = false;
    int m_running = 0;
    std::atomic<bool> m_pauseSleeps{false}, m_closed{false};
    std::atomic<int> m_touchesAfterClose{0};
    std::atomic<int64_t> m_clock{1000};
};
