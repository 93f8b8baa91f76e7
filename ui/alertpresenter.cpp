#include "ui/alertpresenter.h"

void SignalAlertPresenter::showError(const QString &message)
{
    m_lastError = message;
    Q_EMIT errorRaised(message);
}
