#pragma once

// Which identifiers a tool output holds, read without the production rules:
// "Key: value" lines of identifier keys, and MAC addresses and UUIDs.

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>

namespace IdentifierSecrets {

// "No value" in the fixtures, or all zeros or all F: they identify nothing.
inline bool isPlaceholder(const QString &value)
{
    static const QStringList placeholders =
        QStringLiteral("not specified|not available|not provided|not present|not settable|"
                       "not applicable|none|null|unknown|default string|to be filled by o.e.m.|"
                       "to be filled by o.e.m|to be filled by oem|fill by oem|no asset tag|"
                       "no asset information|asset tag|serial number|system serial number|"
                       "chassis serial number|base board serial number|empty|invalid")
            .split(u'|');
    static const QRegularExpression unset(QStringLiteral("^[0f\\-: ]+$"));
    return placeholders.contains(value.toLower()) || unset.match(value.toLower()).hasMatch();
}

// Placeholders and values shorter than 4 characters are left out.
inline QSet<QString> collect(const QString &toolOutput)
{
    static const QStringList keys =
        QStringLiteral("serial number|uuid|asset tag|service tag|mac address|permanent address|"
                       "serial|wwn|eui|nguid|chassis serial|base board serial|"
                       "dimm vendor serial number|sbds serial number|service uuid|"
                       "sas expander wwid|enclosure serial|platform serial|platform uuid|"
                       "bluetooth address")
            .split(u'|');
    static const QRegularExpression keyValue(QStringLiteral("^\\s*([^:]+?)\\s*:\\s*(.*?)\\s*$"));
    static const QRegularExpression patterns(QStringLiteral(
        "\\b(?:[0-9A-Fa-f]{2}([:-])[0-9A-Fa-f]{2}(?:\\1[0-9A-Fa-f]{2}){4}|[0-9A-Fa-f]{8}-"
        "[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12})\\b"));
    QSet<QString> secrets;
    for (const QString &line : toolOutput.split(QRegularExpression(QStringLiteral("[\\n\\r]")))) {
        const QRegularExpressionMatch match = keyValue.match(line);
        if (match.hasMatch() && keys.contains(match.captured(1).toLower()) &&
            match.captured(2).size() >= 4 && !isPlaceholder(match.captured(2)))
            secrets.insert(match.captured(2));
    }
    for (auto matches = patterns.globalMatch(toolOutput); matches.hasNext();) {
        if (const QString value = matches.next().captured(0); !isPlaceholder(value))
            secrets.insert(value);
    }
    return secrets;
}

// The secrets that occur in `text` (case ignored), sorted.
inline QStringList leaked(const QSet<QString> &secrets, const QString &text)
{
    QStringList found;
    for (const QString &secret : secrets)
        if (text.contains(secret, Qt::CaseInsensitive))
            found.append(secret);
    found.sort();
    return found;
}

struct Input {
    QString path;
    bool mac = false; // a mac-hardware listing, else classic output
};

// Every real output: fixtures and test data as classic runs, sysroot listings as mac runs.
inline QList<Input> corpus()
{
    QList<Input> inputs;
    const QString data = QStringLiteral(KESTRIN_TEST_DATA_DIR "/");
    for (const QString &glob :
         {u"" KESTRIN_FIXTURES_DIR "/dmidecode/*.txt"_qs,
          u"" KESTRIN_FIXTURES_DIR "/dmi-bin/*.txt"_qs, data + u"classic-*.txt"_qs}) {
        const QDir dir(glob.section(u'/', 0, -2), glob.section(u'/', -1), QDir::Name, QDir::Files);
        for (const QString &name : dir.entryList())
            inputs.append({dir.filePath(name), false});
    }
    for (const char *sysroot : {"laptop", "server", "desktop"}) {
        const QString expected = data + u"sysroot-%1/expected/"_qs.arg(QLatin1String(sysroot));
        inputs.append({expected + u"mac-hardware.txt"_qs, true});
        inputs.append({expected + u"classic.txt"_qs, false});
    }
    return inputs;
}

} // namespace IdentifierSecrets
