#pragma once

// The test's own reading of which identifiers a tool output holds, made
// without the production rules: a plain scan of "Key: value" lines for the
// identifier keys, and regular expressions for MAC addresses and UUIDs. The
// corpus tests check that none of these values survives masking.

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>

namespace IdentifierSecrets {

// Keys whose values are identifiers: the list, then the ones the
// fixtures and the mac-hardware output add.
inline const QSet<QString> &identifierKeys()
{
    static const QStringList keys =
        QStringLiteral("serial number|uuid|asset tag|service tag|mac address|permanent address|"
                       "serial|wwn|eui|nguid|chassis serial|base board serial|"
                       "dimm vendor serial number|sbds serial number|service uuid|"
                       "sas expander wwid|enclosure serial|platform serial|platform uuid|"
                       "bluetooth address")
            .split(u'|');
    static const QSet<QString> set(keys.cbegin(), keys.cend());
    return set;
}

// Values that stand for "no value" in the fixtures; they identify nothing.
inline bool isPlaceholder(const QString &value)
{
    static const QStringList list =
        QStringLiteral("not specified|not available|not provided|not present|not settable|"
                       "not applicable|none|null|unknown|default string|to be filled by o.e.m.|"
                       "to be filled by o.e.m|to be filled by oem|fill by oem|no asset tag|"
                       "no asset information|asset tag|serial number|system serial number|"
                       "chassis serial number|base board serial number|empty|invalid")
            .split(u'|');
    static const QSet<QString> placeholders(list.cbegin(), list.cend());
    const QString lower = value.toLower();
    if (placeholders.contains(lower)) {
        return true;
    }
    // All zeros or all F (with separators): an unset field.
    static const QRegularExpression unset(QStringLiteral("^[0f\\-: ]+$"));
    return unset.match(lower).hasMatch();
}

// The identifier values of one tool output: placeholders and values shorter
// than 4 characters dropped.
inline QSet<QString> collect(const QString &toolOutput)
{
    QSet<QString> secrets;
    static const QRegularExpression keyValue(QStringLiteral("^\\s*([^:]+?)\\s*:\\s*(.*?)\\s*$"));
    for (const QString &line : toolOutput.split(QRegularExpression(QStringLiteral("[\\n\\r]")))) {
        const QRegularExpressionMatch match = keyValue.match(line);
        if (!match.hasMatch() || !identifierKeys().contains(match.captured(1).toLower())) {
            continue;
        }
        const QString value = match.captured(2);
        if (value.size() >= 4 && !isPlaceholder(value)) {
            secrets.insert(value);
        }
    }
    // MAC addresses (one kind of separator) and UUIDs, as whole words.
    static const QRegularExpression patterns(QStringLiteral(
        "\\b(?:[0-9A-Fa-f]{2}([:-])[0-9A-Fa-f]{2}(?:\\1[0-9A-Fa-f]{2}){4}|[0-9A-Fa-f]{8}-"
        "[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12})\\b"));
    for (auto matches = patterns.globalMatch(toolOutput); matches.hasNext();) {
        const QString value = matches.next().captured(0);
        if (!isPlaceholder(value)) {
            secrets.insert(value);
        }
    }
    return secrets;
}

// The secrets that occur in `text` (case ignored), sorted.
inline QStringList leaked(const QSet<QString> &secrets, const QString &text)
{
    QStringList found;
    for (const QString &secret : secrets) {
        if (text.contains(secret, Qt::CaseInsensitive)) {
            found.append(secret);
        }
    }
    found.sort();
    return found;
}

struct Input {
    QString path;
    // True for mac-hardware listings, false for classic output.
    bool mac = false;
};

// Every real output: the fixtures as classic runs, the test data's classic
// outputs, and the sysroot listings as mac runs.
inline QList<Input> corpus()
{
    QList<Input> inputs;
    for (const char *folder : {"/dmidecode", "/dmi-bin"}) {
        const QDir dir(QStringLiteral(KESTRIN_FIXTURES_DIR) + QString::fromUtf8(folder));
        for (const QString &name :
             dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
            inputs.append({dir.filePath(name), false});
        }
    }
    const QDir data(QStringLiteral(KESTRIN_TEST_DATA_DIR));
    for (const QString &name :
         data.entryList({QStringLiteral("classic-*.txt")}, QDir::Files, QDir::Name)) {
        inputs.append({data.filePath(name), false});
    }
    for (const char *sysroot : {"sysroot-laptop", "sysroot-server", "sysroot-desktop"}) {
        const QString expected =
            data.filePath(QString::fromUtf8(sysroot) + QStringLiteral("/expected"));
        inputs.append({expected + QStringLiteral("/mac-hardware.txt"), true});
        inputs.append({expected + QStringLiteral("/classic.txt"), false});
    }
    return inputs;
}

} // namespace IdentifierSecrets
