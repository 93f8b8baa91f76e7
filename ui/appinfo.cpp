#include "ui/appinfo.h"

#include "ui/helptext.h"

namespace {

QString stringValue(const QVariantMap &info, QLatin1StringView key, const QString &fallback)
{
    const auto it = info.constFind(QString(key));
    if (it == info.constEnd() || it->typeId() != QMetaType::QString)
        return fallback;
    return it->toString();
}

struct InfoOverride {
    bool active = false;
    std::optional<QVariantMap> info;
};

InfoOverride &infoOverride()
{
    static InfoOverride value;
    return value;
}

} // namespace

AppVersion appVersionFromInfo(const std::optional<QVariantMap> &info)
{
    const QString defaultVersion = QStringLiteral("1.0");
    const QString defaultBuild = QStringLiteral("1");
    if (!info)
        return {defaultVersion, defaultBuild};
    return {stringValue(*info, shortVersionKey, defaultVersion),
            stringValue(*info, buildNumberKey, defaultBuild)};
}

QVariantMap applicationInfoDictionary()
{
    QVariantMap info;
#ifdef KESTRIN_SHORT_VERSION
    if (const QString version = QStringLiteral(KESTRIN_SHORT_VERSION); !version.isEmpty())
        info.insert(QString(shortVersionKey), version);
#endif
#ifdef KESTRIN_BUILD_NUMBER
    if (const QString build = QStringLiteral(KESTRIN_BUILD_NUMBER); !build.isEmpty())
        info.insert(QString(buildNumberKey), build);
#endif
    return info;
}

AppInfo::AppInfo(QObject *parent)
    : AppInfo(infoOverride().active ? infoOverride().info
                                    : std::optional<QVariantMap>(applicationInfoDictionary()),
              parent)
{}

AppInfo::AppInfo(const std::optional<QVariantMap> &info, QObject *parent)
    : QObject(parent), m_version(appVersionFromInfo(info))
{}

QString AppInfo::attribution() const
{
    return kestrinAttribution();
}

QString AppInfo::contactAddress() const
{
    return kestrinContactAddress();
}

QString AppInfo::dmidecodeCredits() const
{
    return aboutDmidecodeCredits();
}

QString AppInfo::helpText() const
{
    return ::helpText();
}

QUrl AppInfo::contactUrl() const
{
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(kestrinContactAddress());
    return url;
}

void AppInfo::setInfoDictionaryOverride(const std::optional<QVariantMap> &info)
{
    infoOverride() = {true, info};
}

void AppInfo::clearInfoDictionaryOverride()
{
    infoOverride() = {};
}
