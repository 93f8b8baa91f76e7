// A stand-in for the desktop portal's file chooser: answers every question as
// the test scripted it through /test, and keeps what the last one sent. The
// answer goes out before the call's reply, as a fast portal may send it.
#include "ui/portalfilechooser.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>

using namespace Qt::StringLiterals;

namespace {

QString describe(const QVariant &value)
{
    const auto argument = value.value<QDBusArgument>();
    if (argument.currentSignature() == u"a(sa(us))") {
        QStringList names;
        for (const PortalFilter &filter : qdbus_cast<QList<PortalFilter>>(argument)) {
            QStringList patterns;
            for (const PortalFilterRule &rule : filter.rules)
                patterns.append(rule.pattern);
            names.append(filter.name + u':' + patterns.join(u','));
        }
        return names.join(u'|');
    }
    if (argument.currentSignature() == u"(sa(us))")
        return qdbus_cast<PortalFilter>(argument).name;
    if (value.typeId() == QMetaType::QByteArray)
        return QString::fromLocal8Bit(value.toByteArray()).replace(QChar(u'\0'), u"\\0"_s);
    return value.toString();
}

} // namespace

class FakeChooser : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.FileChooser")
    Q_PROPERTY(uint version READ version)

public:
    uint version() const { return 3; }
    QString mode = u"ok"_s;
    QString uri;
    QString filter;
    QString lastCall;

public Q_SLOTS:
    QDBusObjectPath OpenFile(const QString &parent, const QString &title,
                             const QVariantMap &options, const QDBusMessage &message)
    {
        return answer(u"OpenFile"_s, parent, title, options, message);
    }
    QDBusObjectPath SaveFile(const QString &parent, const QString &title,
                             const QVariantMap &options, const QDBusMessage &message)
    {
        return answer(u"SaveFile"_s, parent, title, options, message);
    }
    void Script(const QString &nextMode, const QString &nextUri, const QString &nextFilter)
    {
        mode = nextMode;
        uri = nextUri;
        filter = nextFilter;
        lastCall.clear();
    }
    QString LastCall() const { return lastCall; }

private:
    QDBusObjectPath answer(const QString &method, const QString &parent, const QString &title,
                           const QVariantMap &options, const QDBusMessage &message)
    {
        QStringList parts{method, u"parent="_s + parent, u"title="_s + title};
        for (auto it = options.cbegin(); it != options.cend(); ++it)
            parts.append(it.key() + u'=' + describe(it.value()));
        lastCall = parts.join(u"; "_s);

        QString sender = message.service().mid(1);
        sender.replace(u'.', u'_');
        const QString path = u"/org/freedesktop/portal/desktop/request/"_s + sender + u'/' +
                             options.value(u"handle_token"_s).toString();
        message.setDelayedReply(true);
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (mode == u"error") {
            bus.send(message.createErrorReply(QDBusError::AccessDenied, u"refused"_s));
            return {};
        }
        if (mode == u"silent")
            return {};
        const uint response = mode == u"ok" ? 0 : mode == u"cancel" ? 1 : 2;
        QVariantMap results;
        if (response == 0) {
            results.insert(u"uris"_s, QStringList{uri});
            if (!filter.isEmpty())
                results.insert(u"current_filter"_s,
                               QVariant::fromValue(PortalFilter{filter, {{0, u"*"_s}}}));
        }
        QDBusMessage signal =
            QDBusMessage::createSignal(path, u"org.freedesktop.portal.Request"_s, u"Response"_s);
        signal << response << results;
        bus.send(signal);
        bus.send(message.createReply(QVariant::fromValue(QDBusObjectPath(path))));
        return {};
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    registerPortalTypes();
    FakeChooser chooser;
    QDBusConnection bus = QDBusConnection::sessionBus();
    const auto exported = QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties;
    if (!bus.registerObject(u"/org/freedesktop/portal/desktop"_s, &chooser, exported) ||
        !bus.registerObject(u"/test"_s, &chooser, QDBusConnection::ExportAllSlots) ||
        !bus.registerService(u"org.freedesktop.portal.Desktop"_s)) {
        qWarning("fakeportal: %s", qPrintable(bus.lastError().message()));
        return 1;
    }
    return app.exec();
}

#include "fakeportal.moc"
