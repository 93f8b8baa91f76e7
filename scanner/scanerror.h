#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <utility>
#include <variant>

// A failure inside the scanner. Only the description is ever shown; the code
// lets tests and callers tell the kinds apart.
struct ScanError {
    QString domain;
    std::int64_t code = 0;
    QString description;

    [[nodiscard]] static ScanError make(std::int64_t code, QString description)
    {
        return ScanError{QStringLiteral("Kestrin"), code, std::move(description)};
    }

    friend bool operator==(const ScanError &, const ScanError &) = default;
};

// Either a value or the error that prevented it.
template <typename T> class Expected {
public:
    Expected(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Expected(ScanError error) : m_state(std::in_place_index<1>, std::move(error)) {}

    [[nodiscard]] bool hasValue() const { return m_state.index() == 0; }
    explicit operator bool() const { return hasValue(); }

    // Only valid when hasValue().
    [[nodiscard]] const T &value() const { return std::get<0>(m_state); }
    [[nodiscard]] const T &operator*() const { return value(); }
    // Only valid when !hasValue().
    [[nodiscard]] const ScanError &error() const { return std::get<1>(m_state); }

private:
    std::variant<T, ScanError> m_state;
};
