#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

#include <optional>

// Keys of the application's information dictionary (filled in by the build).
inline constexpr QLatin1StringView shortVersionKey{"ShortVersionString"};
inline constexpr QLatin1StringView buildNumberKey{"BuildNumber"};

struct AppVersion {
    QString version;
    QString build;
};

// Version and build number for the About panel: each value is taken from the
// dictionary only when it is present and a string; otherwise "1.0" and "1".
[[nodiscard]] AppVersion appVersionFromInfo(const std::optional<QVariantMap> &info);

// The dictionary this build carries: the project version and build number
// when the build defined them.
[[nodiscard]] QVariantMap applicationInfoDictionary();

// What the About panel and the Help window show, for QML.
class AppInfo : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString name READ name CONSTANT)
    Q_PROPERTY(QString version READ version CONSTANT)
    Q_PROPERTY(QString build READ build CONSTANT)
    Q_PROPERTY(QString attribution READ attribution CONSTANT)
    Q_PROPERTY(QString contactAddress READ contactAddress CONSTANT)
    // "mailto:" link to the contact address.
    Q_PROPERTY(QUrl contactUrl READ contactUrl CONSTANT)
    Q_PROPERTY(QString dmidecodeCredits READ dmidecodeCredits CONSTANT)
    Q_PROPERTY(QString helpText READ helpText CONSTANT)

public:
    explicit AppInfo(QObject *parent = nullptr);
    // Tests pass their own dictionary (or none) to check the defaults.
    explicit AppInfo(const std::optional<QVariantMap> &info, QObject *parent = nullptr);

    [[nodiscard]] QString name() const { return QStringLiteral("Kestrin"); }
    [[nodiscard]] QString version() const { return m_version.version; }
    [[nodiscard]] QString build() const { return m_version.build; }
    [[nodiscard]] QString attribution() const;
    [[nodiscard]] QString contactAddress() const;
    [[nodiscard]] QUrl contactUrl() const;
    [[nodiscard]] QString dmidecodeCredits() const;
    [[nodiscard]] QString helpText() const;

    // The dictionary used by instances that QML creates; tests override it.
    static void setInfoDictionaryOverride(const std::optional<QVariantMap> &info);
    static void clearInfoDictionaryOverride();

private:
    AppVersion m_version;
};
