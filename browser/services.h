#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Platform services the browsing model needs; the window provides the real
// ones, tests provide fakes.

class ClipboardService {
public:
    virtual ~ClipboardService() = default;
    // Clears the clipboard and puts `text` on it as plain text.
    virtual void setPlainText(const QString &text) = 0;
};

// The user's answer to a save question.
struct SaveLocation {
    // The chosen local file path.
    QString path;
    // Index into the question's nameFilters of the filter chosen with it.
    int filterIndex = 0;

    friend bool operator==(const SaveLocation &, const SaveLocation &) = default;
};

class SaveLocationProvider {
public:
    virtual ~SaveLocationProvider() = default;
    // Asks the user where to save. `done` runs once, on the calling thread, with
    // the chosen location, or with nothing when the user cancelled.
    // nameFilters are dialog filters such as "Plain text (*.txt)".
    virtual void askSaveLocation(const QString &suggestedFileName, const QStringList &nameFilters,
                                 std::function<void(std::optional<SaveLocation>)> done) = 0;
};

class AlertPresenter {
public:
    virtual ~AlertPresenter() = default;
    // Shows an error to the user; `message` is the platform's text for it.
    virtual void showError(const QString &message) = 0;
};
