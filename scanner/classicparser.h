#pragma once

#include "model/hardwareitem.h"
#include "scanner/runfacts.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringView>

// The facts of the text printed by `dmidecode -q`: "Key: Value" lines whose key
// is useful, with the record title (and the last "Handle " line, when the text
// has one) as detail. Never fails; unknown lines are skipped.
[[nodiscard]] RunFacts parseClassicFacts(QString output, const QSet<QString> &usefulKeys);

// The same facts as items, filed by category, in the order of their lines.
[[nodiscard]] QList<HardwareItem> parseClassicDMIDecode(QStringView output,
                                                        const QSet<QString> &usefulKeys);
