#pragma once

#include "browser/services.h"

// First version of the save location question: there is no dialog yet, so
// every request is answered as cancelled and nothing is written. The window
// host takes any SaveLocationProvider, so the real dialog replaces this
// without touching the model or the QML.
class UnavailableSaveLocationProvider : public SaveLocationProvider {
public:
    void askSaveLocation(const QString &suggestedFileName, const QStringList &nameFilters,
                         std::function<void(std::optional<QString>)> done) override;
};
