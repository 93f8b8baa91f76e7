#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// The unfiltered text of a scan's tool runs, framed as the scan shows it: one
// block per run, "===== <header> =====\n", the run's output and "\n", with one
// more "\n" between blocks. It keeps the runs' texts (implicitly shared with
// the runs that produced them) and joins them only when asked, so a result
// never holds every tool output twice. It is a plain value without caches, so
// results can cross threads.
class RawOutput {
public:
    RawOutput() = default;
    // A text that is already joined (stand-in scan sources, tests); kept as it is.
    RawOutput(QString text); // NOLINT(google-explicit-constructor): reads like the string it was

    // Appends the block of one run.
    void appendRun(QString header, QString output);

    [[nodiscard]] bool isEmpty() const { return m_text.isEmpty() && m_runs.isEmpty(); }
    // Length of the joined text, in UTF-16 code units.
    [[nodiscard]] qsizetype size() const;
    // The joined text, built on each call.
    [[nodiscard]] QString text() const;
    // The joined text as UTF-8, without building it as UTF-16 first.
    [[nodiscard]] QByteArray toUtf8() const;

    // Calls visit(QStringView) for each piece of the joined text, in order.
    template <typename Visitor> void forEachPiece(Visitor &&visit) const
    {
        static constexpr char16_t open[] = u"===== ";
        static constexpr char16_t close[] = u" =====\n";
        static constexpr char16_t lineFeed[] = u"\n";
        bool empty = m_text.isEmpty();
        if (!empty) {
            visit(QStringView(m_text));
        }
        for (const Run &run : m_runs) {
            if (!empty) {
                visit(QStringView(lineFeed));
            }
            visit(QStringView(open));
            visit(QStringView(run.header));
            visit(QStringView(close));
            visit(QStringView(run.output));
            visit(QStringView(lineFeed));
            empty = false;
        }
    }

    // Comparisons are with the joined text.
    friend bool operator==(const RawOutput &raw, QStringView text) { return raw.equals(text); }
    friend bool operator==(const RawOutput &raw, const QString &text) { return raw.equals(text); }
    friend bool operator==(const RawOutput &a, const RawOutput &b) { return a.equals(b.text()); }

private:
    [[nodiscard]] bool equals(QStringView text) const;

    struct Run {
        QString header;
        QString output;
    };

    QString m_text;
    QList<Run> m_runs;
};
