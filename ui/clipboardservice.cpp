#include "ui/clipboardservice.h"

#include <QClipboard>
#include <QGuiApplication>

void GuiClipboardService::setPlainText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    // Clearing first drops every other format a previous owner offered, so
    // paste targets cannot pick up a stale rich-text version.
    clipboard->clear();
    clipboard->setText(text);
}
