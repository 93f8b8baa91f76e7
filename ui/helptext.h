#pragma once

#include <QString>
#include <QStringList>

// The fixed text of the Help window and the credits of the About panel. They
// live here, in one place, so the windows and the tests read the same words.

// Name of the person who develops and maintains dmidecode (its AUTHORS file).
[[nodiscard]] QString dmidecodeMaintainer();
// The two original authors of dmidecode, in the order of its AUTHORS file.
[[nodiscard]] QStringList dmidecodeOriginalAuthors();
// Where users reach the makers of Kestrin.
[[nodiscard]] QString kestrinContactAddress();
// One line naming who made Kestrin.
[[nodiscard]] QString kestrinAttribution();

// The Help window's lines, in order; blank lines are empty strings.
[[nodiscard]] QStringList helpTextLines();
// helpTextLines() joined by single line feeds, no line feed after the last line.
[[nodiscard]] QString helpText();

// The About panel's credits after the contact address, as plain text: a blank
// line, the dmidecode heading and four lines, each ending in a line feed.
[[nodiscard]] QString aboutDmidecodeCredits();
