#include "ui/portalfilechooser.h"

#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QRegularExpression>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString chooserInterface = QStringLiteral("org.freedesktop.portal.FileChooser");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

PortalFileChooser::Answer failure(const QString &error)
{
    return {PortalFileChooser::Answer::Outcome::failed, {}, -1, error};
}

// The entry of nameFilters the portal reports as chosen: by name, else by patterns.
int filterIndexOf(const QVariant &reported, const QStringList &nameFilters)
{
    if (!reported.canConvert<QDBusArgument>()) {
        return -1;
    }
    PortalFilter chosen;
    reported.value<QDBusArgument>() >> chosen;
    QList<PortalFilter> sent;
    for (const QString &nameFilter : nameFilters) {
        sent.append(portalFilterOf(nameFilter));
    }
    for (qsizetype i = 0; i < sent.size(); ++i) {
        if (sent[i].name == chosen.name) {
            return static_cast<int>(i);
        }
    }
    const auto patterns = [](const PortalFilter &filter) {
        QStringList list;
        for (const PortalFilterRule &rule : filter.rules) {
            list.append(rule.pattern);
        }
        return list;
    };
    for (qsizetype i = 0; i < sent.size(); ++i) {
        if (!chosen.rules.isEmpty() && patterns(sent[i]) == patterns(chosen)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

QDBusArgument &operator<<(QDBusArgument &argument, const PortalFilterRule &rule)
{
    argument.beginStructure();
    argument << rule.kind << rule.pattern;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalFilterRule &rule)
{
    argument.beginStructure();
    argument >> rule.kind >> rule.pattern;
    argument.endStructure();
    return argument;
}

QDBusArgument &operator<<(QDBusArgument &argument, const PortalFilter &filter)
{
    argument.beginStructure();
    argument << filter.name << filter.rules;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalFilter &filter)
{
    argument.beginStructure();
    argument >> filter.name >> filter.rules;
    argument.endStructure();
    return argument;
}

void registerPortalTypes()
{
    qDBusRegisterMetaType<PortalFilterRule>();
    qDBusRegisterMetaType<QList<PortalFilterRule>>();
    qDBusRegisterMetaType<PortalFilter>();
    qDBusRegisterMetaType<QList<PortalFilter>>();
}

PortalFilter portalFilterOf(const QString &nameFilter)
{
    static const QRegularExpression shape(QStringLiteral(R"(^(.*?)\s*\(([^()]*)\)\s*$)"));
    const QRegularExpressionMatch match = shape.match(nameFilter);
    if (!match.hasMatch()) {
        return {nameFilter, {}};
    }
    PortalFilter filter{match.captured(1), {}};
    const QStringList patterns = match.captured(2).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &pattern : patterns) {
        filter.rules.append({0, pattern});
    }
    return filter;
}

PortalFileChooser::PortalFileChooser(std::optional<QDBusConnection> bus, QObject *parent)
    : QObject(parent), m_bus(std::move(bus))
{
    registerPortalTypes();
}

PortalFileChooser::~PortalFileChooser()
{
    // A question still open when the window goes away ends as cancelled.
    const QStringList paths = m_pending.keys();
    for (const QString &path : paths) {
        finish(path, {Answer::Outcome::cancelled, {}, -1, {}});
    }
}

QDBusConnection &PortalFileChooser::bus()
{
    if (!m_bus) {
        m_bus = QDBusConnection::sessionBus();
    }
    return *m_bus;
}

bool PortalFileChooser::serviceReachable()
{
    const QDBusConnectionInterface *interface = bus().interface();
    if (!bus().isConnected() || interface == nullptr) {
        return false;
    }
    if (interface->isServiceRegistered(portalService).value()) {
        return true;
    }
    const QDBusReply<QStringList> activatable = interface->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(portalService);
}

void PortalFileChooser::ask(const Question &question, std::function<void(Answer)> done)
{
    if (!done) {
        return;
    }
    if (!serviceReachable()) {
        // Answered from the event loop, as every other answer is.
        QMetaObject::invokeMethod(
            this, [done = std::move(done)] { done(failure(tr("No desktop portal is running."))); },
            Qt::QueuedConnection);
        return;
    }
    askWhenPresent(question, std::move(done));
}

void PortalFileChooser::askWhenPresent(const Question &question, std::function<void(Answer)> done)
{
    if (m_version > 0) {
        send(question, std::move(done));
        return;
    }
    // The portal may run without a file chooser: it must say it has one.
    QDBusMessage get = QDBusMessage::createMethodCall(
        portalService, portalPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << chooserInterface << QStringLiteral("version");
    auto *watcher = new QDBusPendingCallWatcher(bus().asyncCall(get, m_callTimeout), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, watcher, question, done = std::move(done)]() mutable {
                watcher->deleteLater();
                const QDBusPendingReply<QDBusVariant> reply = *watcher;
                m_version = reply.isError() ? 0 : reply.value().variant().toUInt();
                if (m_version == 0) {
                    done(failure(reply.isError() ? reply.error().message()
                                                 : tr("The desktop portal has no file chooser.")));
                    return;
                }
                send(question, std::move(done));
            });
}

void PortalFileChooser::send(const Question &question, std::function<void(Answer)> done)
{
    const QString token = QStringLiteral("kestrin%1").arg(++m_nextToken);
    // The request path the portal will use, from our bus name and the token.
    QString sender = bus().baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString predicted =
        portalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;

    QList<PortalFilter> filters;
    for (const QString &nameFilter : question.nameFilters) {
        filters.append(portalFilterOf(nameFilter));
    }
    QVariantMap options{
        {QStringLiteral("handle_token"), token},
        {QStringLiteral("modal"), true},
        {QStringLiteral("filters"), QVariant::fromValue(filters)},
    };
    if (question.currentFilter >= 0 && question.currentFilter < filters.size()) {
        options.insert(QStringLiteral("current_filter"),
                       QVariant::fromValue(filters.at(question.currentFilter)));
    }
    if (question.save && !question.currentName.isEmpty()) {
        options.insert(QStringLiteral("current_name"), question.currentName);
    }
    if (!question.currentFolder.isEmpty()) {
        // A byte string ending in NUL, as the portal wants a path.
        QByteArray folder = question.currentFolder.toLocal8Bit();
        folder.append('\0');
        options.insert(QStringLiteral("current_folder"), folder);
    }

    if (!watch(predicted)) {
        QMetaObject::invokeMethod(
            this, [done = std::move(done)] { done(failure(tr("The portal cannot be watched."))); },
            Qt::QueuedConnection);
        return;
    }
    m_pending.insert(predicted, {question.nameFilters, std::move(done)});

    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, chooserInterface,
                                                       question.save ? QStringLiteral("SaveFile")
                                                                     : QStringLiteral("OpenFile"));
    call << question.parentWindow << question.title << options;
    auto *watcher = new QDBusPendingCallWatcher(bus().asyncCall(call, m_callTimeout), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, predicted] {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
        if (!m_pending.contains(predicted)) {
            return; // answered already, through the predicted path
        }
        if (reply.isError()) {
            finish(predicted, failure(reply.error().message()));
            return;
        }
        const QString path = reply.value().path();
        if (path == predicted) {
            return;
        }
        // An older portal chose a path of its own: follow it.
        Pending pending = m_pending.take(predicted);
        unwatch(predicted);
        if (!watch(path)) {
            pending.done(failure(tr("The portal cannot be watched.")));
            return;
        }
        m_pending.insert(path, std::move(pending));
    });
}

bool PortalFileChooser::watch(const QString &path)
{
    return bus().connect(portalService, path, requestInterface, QStringLiteral("Response"), this,
                         SLOT(handleResponse(uint, QVariantMap, QDBusMessage)));
}

void PortalFileChooser::unwatch(const QString &path)
{
    bus().disconnect(portalService, path, requestInterface, QStringLiteral("Response"), this,
                     SLOT(handleResponse(uint, QVariantMap, QDBusMessage)));
}

void PortalFileChooser::handleResponse(uint response, const QVariantMap &results,
                                       const QDBusMessage &message)
{
    const QString path = message.path();
    const auto found = m_pending.constFind(path);
    if (found == m_pending.cend()) {
        return;
    }
    Answer answer;
    switch (response) {
    case 0: {
        const QStringList uris = results.value(QStringLiteral("uris")).toStringList();
        answer.outcome = Answer::Outcome::chosen;
        answer.uri = uris.value(0);
        answer.filterIndex =
            filterIndexOf(results.value(QStringLiteral("current_filter")), found->nameFilters);
        break;
    }
    case 1:
        answer.outcome = Answer::Outcome::cancelled;
        break;
    default:
        answer = failure(tr("The desktop's file chooser failed."));
        break;
    }
    finish(path, std::move(answer));
}

void PortalFileChooser::finish(const QString &path, Answer answer)
{
    const auto found = m_pending.find(path);
    if (found == m_pending.end()) {
        return;
    }
    auto done = std::move(found->done);
    m_pending.erase(found);
    unwatch(path);
    done(std::move(answer));
}
