#pragma once

#include <QPalette>

// Colours for the desktop dialogs Kestrin opens itself (save, error), so that
// Qt's own dialogs match the dark window when no native dialog is available.
[[nodiscard]] QPalette darkDialogPalette();
