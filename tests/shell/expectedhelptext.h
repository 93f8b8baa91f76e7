#pragma once

#include <QString>
#include <QStringList>

using namespace Qt::Literals::StringLiterals;

// The help text, line by line, as the Help window must show it.
inline const QStringList expectedHelpLines = {
    u"Kestrin Help"_s,
    u""_s,
    u"Kestrin is a local macOS utility that runs the bundled dmidecode command and shows the useful hardware information in a clean, filtered list."_s,
    u""_s,
    u"Main features:"_s,
    u"• Reads macOS hardware information exposed by dmidecode."_s,
    u"• Filters noisy values such as Unknown, Not Specified, empty values, and default OEM placeholders."_s,
    u"• Groups useful data into categories such as Platform, BIOS, Baseboard, CPU, Memory, PCI, GPU, Network, Storage, Audio, USB, Battery, Firmware, and Other."_s,
    u"• Provides search, category filtering, raw output viewing, report copy, and report export."_s,
    u""_s,
    u"Performance and privacy:"_s,
    u"• Scanning runs outside the main UI thread."_s,
    u"• The visible list is loaded incrementally to keep scrolling light."_s,
    u"• Search is debounced to avoid unnecessary UI updates."_s,
    u"• The app does not upload, transmit, or sell data."_s,
    u"• The app does not install background agents, login items, kernel extensions, or system services."_s,
    u"• Reports are saved only when you manually choose Save Report."_s,
    u""_s,
    u"Buttons:"_s,
    u"• Refresh: Runs dmidecode again and rebuilds the filtered list."_s,
    u"• Raw Output: Shows the full unfiltered dmidecode output."_s,
    u"• Save Report: Saves the currently visible filtered report to a text file."_s,
    u"• Copy Visible: Copies the currently visible filtered report to the clipboard."_s,
    u""_s,
    u"Quit:"_s,
    u"Use Command + Q or the Quit menu item to close the app completely."_s,
    u""_s,
    u"Third-party credits:"_s,
    u"• Bundled dmidecode is developed and maintained by Jean Delvare."_s,
    u"• Original dmidecode authors: Alan Cox and Jean Delvare."_s,
    u"• macOS/Apple-specific dmidecode support is based on the Acidanthera dmidecode fork."_s,
    u"• dmidecode is distributed under the GNU GPL version 2."_s,
    u"• ThirdPartyNotices.txt, dmidecode-AUTHORS.txt, and dmidecode-GPLv2-LICENSE.txt are included with the app resources/source for release attribution."_s,
    u""_s,
    u"Contact:"_s,
    u"kestrin@example.org"_s,
};
