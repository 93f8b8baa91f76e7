#pragma once

#include "model/hardwareitem.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringView>

// Items of the text printed by `dmidecode -q`: "Key: Value" facts whose key is
// useful, filed by category, with the record title (and the last "Handle " line,
// when the text has one) as detail. Never fails; unknown lines are skipped.
[[nodiscard]] QList<HardwareItem> parseClassicDMIDecode(QStringView output,
                                                        const QSet<QString> &usefulKeys);
