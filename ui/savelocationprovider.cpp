#include "ui/savelocationprovider.h"

void UnavailableSaveLocationProvider::askSaveLocation(
    const QString &suggestedFileName, const QStringList &nameFilters,
    std::function<void(std::optional<QString>)> done)
{
    Q_UNUSED(suggestedFileName);
    Q_UNUSED(nameFilters);
    if (done) {
        done(std::nullopt);
    }
}
