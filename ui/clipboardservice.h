#pragma once

#include "browser/services.h"

// The system clipboard of the running GUI application.
class GuiClipboardService : public ClipboardService {
public:
    void setPlainText(const QString &text) override;
};
