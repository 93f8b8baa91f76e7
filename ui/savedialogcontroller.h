#pragma once

#include "browser/services.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <optional>

// What the name typed into the save dialog stands for, relative to the folder
// the dialog shows.
struct SaveTarget {
    enum class Kind {
        invalid, // nothing usable was typed
        folder,  // an existing folder: the dialog opens it
        file,    // the file to save
    };
    Kind kind = Kind::invalid;
    // Absolute, cleaned path.
    QString path;
};

// Resolves `typed` (a name, a relative path, an absolute path or one starting
// with "~") against `folder`. A file name without a suffix gets the one of
// `nameFilter` ("Plain text (*.txt)" gives ".txt").
[[nodiscard]] SaveTarget resolveSaveTarget(const QString &folder, const QString &typed,
                                           const QString &nameFilter, const QString &home);

// `name` with its suffix changed to the one of `nameFilters[filterIndex]` when
// it ends in the suffix of one of the filters ("Kestrin.txt" becomes
// "Kestrin.json" when JSON is chosen); any other name is left as typed.
[[nodiscard]] QString nameForFilter(const QString &name, const QStringList &nameFilters,
                                    int filterIndex);

// Asks for the report's location with the window's own save dialog
// (SaveDialog.qml), drawn in the window's dark style: no widget library is
// loaded for it, and it looks the same on every desktop. The dialog is built
// the first time a location is asked for. The same dialog also chooses an
// existing file to open.
//
// Answers every request exactly once: with the chosen path (and filter), or with nothing
// when the user cancels, when a request comes while the dialog is already open,
// or when the controller goes away first.
class SaveDialogController : public QObject, public SaveLocationProvider {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by the window host")
    // True while a request waits for the user's answer.
    Q_PROPERTY(bool active READ isActive NOTIFY activeChanged)
    Q_PROPERTY(QString suggestedFileName READ suggestedFileName NOTIFY activeChanged)
    Q_PROPERTY(QStringList nameFilters READ nameFilters NOTIFY activeChanged)
    // Where the dialog opens: the folder of the last save, else the home folder.
    Q_PROPERTY(QString startFolder READ startFolder NOTIFY activeChanged)
    Q_PROPERTY(QString homeFolder READ homeFolder CONSTANT)
    // True when the question is which existing file to open.
    Q_PROPERTY(bool openMode READ isOpenMode NOTIFY activeChanged)
    Q_PROPERTY(QString title READ title NOTIFY activeChanged)

public:
    explicit SaveDialogController(QObject *parent = nullptr);
    ~SaveDialogController() override;

    void askSaveLocation(const QString &suggestedFileName, const QStringList &nameFilters,
                         std::function<void(std::optional<SaveLocation>)> done) override;

    // Asks which existing file to open: `done` gets its cleaned path, or nothing.
    void askOpenLocation(const QString &title, const QStringList &nameFilters,
                         std::function<void(std::optional<QString>)> done);

    [[nodiscard]] bool isActive() const { return m_done || m_openDone; }
    [[nodiscard]] bool isOpenMode() const { return static_cast<bool>(m_openDone); }
    [[nodiscard]] const QString &title() const { return m_title; }
    [[nodiscard]] const QString &suggestedFileName() const { return m_suggestedFileName; }
    [[nodiscard]] const QStringList &nameFilters() const { return m_nameFilters; }
    [[nodiscard]] QString startFolder() const;
    [[nodiscard]] QString homeFolder() const;

    // The dialog's answers; filterIndex is the chosen entry of nameFilters.
    Q_INVOKABLE void accept(const QString &path, int filterIndex);
    Q_INVOKABLE void reject();

    // The typed name, following a change of format (see nameForFilter).
    Q_INVOKABLE [[nodiscard]] QString nameForFormat(const QString &name, int filterIndex) const
    {
        return nameForFilter(name, m_nameFilters, filterIndex);
    }

    // What the typed name stands for: {kind: "invalid"|"folder"|"file",
    // path, exists}.
    Q_INVOKABLE [[nodiscard]] QVariantMap resolve(const QString &folder, const QString &typed,
                                                  int filterIndex) const;
    // The file to open that the typed name stands for: {kind:
    // "invalid"|"folder"|"file", path, error}; a missing or unreadable file is
    // "invalid" with the error to show.
    Q_INVOKABLE [[nodiscard]] QVariantMap resolveOpen(const QString &folder,
                                                      const QString &typed) const;
    // The folder above `folder` (itself at the root).
    Q_INVOKABLE [[nodiscard]] QString parentFolder(const QString &folder) const;
    // Creates folder `name` inside `parent`: {path} of the new folder, or
    // {error} with the text to show.
    Q_INVOKABLE [[nodiscard]] QVariantMap createFolder(const QString &parent,
                                                       const QString &name) const;
    // file: URL of a local path, for the folder listing.
    Q_INVOKABLE [[nodiscard]] QUrl urlOf(const QString &path) const;

Q_SIGNALS:
    void activeChanged();

private:
    [[nodiscard]] bool takeQuestion(const QString &title, const QStringList &nameFilters);
    void finish(std::optional<SaveLocation> location);

    std::function<void(std::optional<SaveLocation>)> m_done;
    std::function<void(std::optional<QString>)> m_openDone;
    QString m_title;
    QString m_suggestedFileName;
    QStringList m_nameFilters;
    QString m_lastFolder;
};
