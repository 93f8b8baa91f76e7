#pragma once

class QQuickWindow;

// Start-up measurement hook: when the environment sets
// KESTRIN_REPORT_FIRST_FRAME=1, prints the wall-clock time of the window's
// first presented frame ("first-frame-epoch-us=<microseconds since the epoch>")
// and keeps running (scripts/startup-bench, which also measures memory after
// the scan); KESTRIN_EXIT_AFTER_FIRST_FRAME=1 prints it and quits (profiling
// the start-up alone). Otherwise does nothing.
void installFirstFrameProbe(QQuickWindow *window);
