#include "tool/listing.h"

#include "tool/text.h"

void Listing::section(std::string_view title)
{
    std::string header = tooltext::cleanKey(title);
    header += ':';
    // Sections of one title in a row (USB devices, then the input devices and
    // cameras filed with them) read as one.
    if (!m_sections.empty() && m_sections.back().title == header) {
        return;
    }
    m_sections.push_back(Section{std::move(header), {}});
}

void Listing::device(std::string_view kind, std::string_view id, std::string_view name)
{
    if (m_sections.empty()) {
        section("Devices");
    }
    std::string cleanKind = tooltext::cleanKey(kind);
    if (cleanKind.empty()) {
        cleanKind = "device";
    }
    std::string line = "[" + cleanKind + ": " + tooltext::cleanValue(id) + "]";
    const std::string cleanName = tooltext::cleanValue(name);
    if (!cleanName.empty()) {
        line += ' ';
        line += cleanName;
    }
    m_sections.back().lines.push_back(std::move(line));
}

void Listing::property(std::string_view key, std::string_view value)
{
    if (m_sections.empty()) {
        section("Devices");
    }
    const std::string cleanKey = tooltext::cleanKey(key);
    const std::string cleanValue = tooltext::cleanValue(value);
    if (cleanKey.empty() || cleanValue.empty()) {
        return;
    }
    m_sections.back().lines.push_back(cleanKey + ": " + cleanValue);
}

std::string Listing::text() const
{
    std::string out;
    for (const Section &section : m_sections) {
        if (section.lines.empty()) {
            continue;
        }
        if (!out.empty()) {
            out += '\n';
        }
        out += section.title;
        out += '\n';
        for (const std::string &line : section.lines) {
            out += line.front() == '[' ? "  " : "    ";
            out += line;
            out += '\n';
        }
    }
    return out;
}
