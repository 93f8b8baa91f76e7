#pragma once

class QGuiApplication;

// Just before the application ends (last window closed or quit requested),
// asks every tool process that is still running to stop, without waiting.
void installQuitHook(QGuiApplication &app);
