#include "ui/helptext.h"

QString dmidecodeMaintainer()
{
    return QStringLiteral("Jean Delvare");
}

QStringList dmidecodeOriginalAuthors()
{
    return {QStringLiteral("Alan Cox"), QStringLiteral("Jean Delvare")};
}

QString kestrinContactAddress()
{
    return QStringLiteral("kestrin@example.org");
}

QString kestrinAttribution()
{
    return QStringLiteral("Made by the Kestrin developers.");
}

QStringList helpTextLines()
{
    const QString authors = dmidecodeOriginalAuthors().join(QStringLiteral(" and "));
    return {
        QStringLiteral("Kestrin Help"),
        QString(),
        QStringLiteral(
            "Kestrin is a local macOS utility that runs the bundled dmidecode command and "
            "shows the useful hardware information in a clean, filtered list."),
        QString(),
        QStringLiteral("Main features:"),
        QStringLiteral(u"• Reads macOS hardware information exposed by dmidecode."),
        QStringLiteral(u"• Filters noisy values such as Unknown, Not Specified, empty values, and "
                       u"default OEM placeholders."),
        QStringLiteral(u"• Groups useful data into categories such as Platform, BIOS, Baseboard, "
                       u"CPU, Memory, PCI, GPU, Network, Storage, Audio, USB, Battery, Firmware, "
                       u"and Other."),
        QStringLiteral(u"• Provides search, category filtering, raw output viewing, report copy, "
                       u"and report export."),
        QString(),
        QStringLiteral("Performance and privacy:"),
        QStringLiteral(u"• Scanning runs outside the main UI thread."),
        QStringLiteral(u"• The visible list is loaded incrementally to keep scrolling light."),
        QStringLiteral(u"• Search is debounced to avoid unnecessary UI updates."),
        QStringLiteral(u"• The app does not upload, transmit, or sell data."),
        QStringLiteral(u"• The app does not install background agents, login items, kernel "
                       u"extensions, or system services."),
        QStringLiteral(u"• Reports are saved only when you manually choose Save Report."),
        QString(),
        QStringLiteral("Buttons:"),
        QStringLiteral(u"• Refresh: Runs dmidecode again and rebuilds the filtered list."),
        QStringLiteral(u"• Raw Output: Shows the full unfiltered dmidecode output."),
        QStringLiteral(
            u"• Save Report: Saves the currently visible filtered report to a text file."),
        QStringLiteral(u"• Copy Visible: Copies the currently visible filtered report to the "
                       u"clipboard."),
        QString(),
        QStringLiteral("Quit:"),
        QStringLiteral("Use Command + Q or the Quit menu item to close the app completely."),
        QString(),
        QStringLiteral("Third-party credits:"),
        QStringLiteral(u"• Bundled dmidecode is developed and maintained by ") +
            dmidecodeMaintainer() + QLatin1Char('.'),
        QStringLiteral(u"• Original dmidecode authors: ") + authors + QLatin1Char('.'),
        QStringLiteral(u"• macOS/Apple-specific dmidecode support is based on the Acidanthera "
                       u"dmidecode fork."),
        QStringLiteral(u"• dmidecode is distributed under the GNU GPL version 2."),
        QStringLiteral(
            u"• ThirdPartyNotices.txt, dmidecode-AUTHORS.txt, and "
            u"dmidecode-GPLv2-LICENSE.txt are included with the app resources/source for "
            u"release attribution."),
        QString(),
        QStringLiteral("Contact:"),
        kestrinContactAddress(),
    };
}

QString helpText()
{
    return helpTextLines().join(QLatin1Char('\n'));
}

QString aboutDmidecodeCredits()
{
    return QStringLiteral("\n\nBundled dmidecode credits:\n") +
           QStringLiteral("dmidecode is developed and maintained by ") + dmidecodeMaintainer() +
           QStringLiteral(".\n") + QStringLiteral("Original authors: ") +
           dmidecodeOriginalAuthors().join(QStringLiteral(" and ")) + QStringLiteral(".\n") +
           QStringLiteral("macOS/Apple-specific dmidecode support: Acidanthera dmidecode fork.\n") +
           QStringLiteral("License: GNU GPL version 2. See ThirdPartyNotices.txt, "
                          "dmidecode-AUTHORS.txt, and dmidecode-GPLv2-LICENSE.txt in the app "
                          "resources/source.\n");
}
