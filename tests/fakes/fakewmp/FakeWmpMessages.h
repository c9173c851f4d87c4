// How a test makes the fake media player control announce something, as the
// real player does when its state or media change: it sends a registered
// message to the control's window (the "Fake media player" child of the
// hosting window), which the control handles on the host's UI thread.
#pragma once

// wParam: the DISPID of a _WMPOCXEvents event to fire (5101 PlayStateChange
// with the state file's play state, 5806 CurrentItemChange and 5802
// MediaChange with its media, any other without arguments). Returns how many
// connected sinks it reached.
constexpr char kFakeWmpFireMessage[] = "TrackglowFakeWmpFire";
// Returns how many times the play state was read so far.
constexpr char kFakeWmpReadsMessage[] = "TrackglowFakeWmpReads";
// The control window's title.
constexpr char kFakeWmpWindowTitle[] = "Fake media player";
