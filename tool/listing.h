#pragma once

#include <string>
#include <string_view>
#include <vector>

// The device listing printed for --mac-hardware, built in three line shapes a
// reader tells apart without context: "Title:" section headers,
// "[kind: id] name" device lines and "key: value" properties. Everything that
// goes in is cleaned (tool/text.h), and the shapes are kept safe by
// construction: device ids always hold a colon (a colon-free line naming a
// category word would be read as a section header), properties with nothing left
// to show are dropped instead of printed as "key:" (which reads as a header),
// and keys lose their colons.
class Listing {
public:
    // Starts a section; it is printed only if a device or property follows.
    // The same title as the section before continues that one.
    void section(std::string_view title);
    void device(std::string_view kind, std::string_view id, std::string_view name);
    void property(std::string_view key, std::string_view value);

    [[nodiscard]] std::string text() const;

private:
    struct Section {
        std::string title;
        std::vector<std::string> lines;
    };
    std::vector<Section> m_sections;
};
