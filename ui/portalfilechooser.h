#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <optional>

// One filter of the desktop portal's file chooser: a name and its patterns,
// each a glob (0) or a MIME type (1). On the bus: (sa(us)).
struct PortalFilterRule {
    uint kind = 0;
    QString pattern;
};
struct PortalFilter {
    QString name;
    QList<PortalFilterRule> rules;
};
Q_DECLARE_METATYPE(PortalFilterRule)
Q_DECLARE_METATYPE(PortalFilter)

QDBusArgument &operator<<(QDBusArgument &argument, const PortalFilterRule &rule);
const QDBusArgument &operator>>(const QDBusArgument &argument, PortalFilterRule &rule);
QDBusArgument &operator<<(QDBusArgument &argument, const PortalFilter &filter);
const QDBusArgument &operator>>(const QDBusArgument &argument, PortalFilter &filter);
// Registers the filter types with QtDBus; safe to call more than once.
void registerPortalTypes();

// "Plain text (*.txt)" as the portal's filter {"Plain text", [(0, "*.txt")]}.
[[nodiscard]] PortalFilter portalFilterOf(const QString &nameFilter);

// Asks the desktop's own file chooser (org.freedesktop.portal.FileChooser)
// for a file to open or a place to save. The portal answers on a request
// object: its path is predicted from the handle token and subscribed to before
// the call, since the answer may come before the call's reply.
class PortalFileChooser : public QObject {
    Q_OBJECT

public:
    struct Question {
        bool save = false;
        QString title;
        QStringList nameFilters;
        int currentFilter = 0;
        QString currentName;
        QString currentFolder;
        // "x11:<hex id>", or empty when the window has no id the portal understands.
        QString parentWindow;
    };
    struct Answer {
        enum class Outcome {
            chosen,
            cancelled,
            // No portal, a D-Bus error, no reply, or the portal's own failure:
            // the caller asks in another way.
            failed,
        };
        Outcome outcome = Outcome::failed;
        QString uri;
        // The chosen entry of the question's nameFilters; -1 when the portal did not say.
        int filterIndex = -1;
        QString error;
    };

    // Without a bus, the session bus, connected to when the first question is
    // asked rather than while the window starts.
    explicit PortalFileChooser(std::optional<QDBusConnection> bus = std::nullopt,
                               QObject *parent = nullptr);
    ~PortalFileChooser() override;

    // How long the portal may take to take the question (not to answer it:
    // the user chooses at their own pace).
    void setCallTimeout(int milliseconds) { m_callTimeout = milliseconds; }

    // `done` runs once, later, from the event loop (as cancelled when this
    // object goes away first).
    void ask(const Question &question, std::function<void(Answer)> done);

private Q_SLOTS:
    void handleResponse(uint response, const QVariantMap &results, const QDBusMessage &message);

private:
    struct Pending {
        QStringList nameFilters;
        std::function<void(Answer)> done;
    };

    [[nodiscard]] bool serviceReachable();
    void askWhenPresent(const Question &question, std::function<void(Answer)> done);
    void send(const Question &question, std::function<void(Answer)> done);
    bool watch(const QString &path);
    void unwatch(const QString &path);
    void finish(const QString &path, Answer answer);

    [[nodiscard]] QDBusConnection &bus();

    std::optional<QDBusConnection> m_bus;
    int m_callTimeout = 25000;
    uint m_version = 0;
    int m_nextToken = 0;
    QHash<QString, Pending> m_pending;
};
