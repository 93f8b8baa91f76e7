#pragma once

// The core library is QtCore only, so its types are declared to QML here.
// With them the window's properties are typed, which lets qmlcachegen compile
// the bindings and qmllint check every property and call against the C++.

#include "browser/browsermodel.h"

#include <QtQml/qqmlregistration.h>

struct BrowserModelForeign {
    Q_GADGET
    QML_FOREIGN(BrowserModel)
    QML_NAMED_ELEMENT(BrowserModel)
    QML_UNCREATABLE("Provided by the window host")
};

// The browser's sidebar and list models are plain item models to QML.
struct ItemModelForeign {
    Q_GADGET
    QML_FOREIGN(QAbstractItemModel)
    QML_ANONYMOUS
};
