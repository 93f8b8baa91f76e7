#pragma once

#include "browser/services.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// Hands error messages to the QML side as a signal; whatever shows them
// (an alert dialog) connects to it. Keeps the last message for late listeners.
class SignalAlertPresenter : public QObject, public AlertPresenter {
    Q_OBJECT
    QML_NAMED_ELEMENT(AlertPresenter)
    QML_UNCREATABLE("Provided by the window host")
    Q_PROPERTY(QString lastError READ lastError NOTIFY errorRaised)

public:
    using QObject::QObject;

    void showError(const QString &message) override;
    [[nodiscard]] const QString &lastError() const { return m_lastError; }

Q_SIGNALS:
    void errorRaised(const QString &message);

private:
    QString m_lastError;
};
