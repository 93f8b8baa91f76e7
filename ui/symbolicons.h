#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The interface names its icons with symbol names ("cpu.fill", "arrow.clockwise",
// the category symbols of the data model). This is the one place that decides
// which drawn icon stands for which name.

// Resource path of the SVG drawn for `symbol`, or an empty string when the name
// is not known.
[[nodiscard]] QString symbolIconPath(QStringView symbol);

// Every symbol name the table knows, in table order.
[[nodiscard]] QStringList knownSymbolNames();
