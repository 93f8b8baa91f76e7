#pragma once

class QQuickWindow;

// Start-up measurement hook for bench/ui_startup.sh: when the environment sets
// KESTRIN_EXIT_AFTER_FIRST_FRAME=1, prints the wall-clock time of the window's
// first presented frame ("first-frame-epoch-us=<microseconds since the epoch>")
// and quits; KESTRIN_REPORT_FIRST_FRAME=1 prints the same line and keeps
// running (scripts/startup-bench, which also measures memory after the scan).
// Otherwise does nothing.
void installFirstFrameProbe(QQuickWindow *window);
