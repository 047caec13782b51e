#pragma once
#include <doctest.h>

#include <string>
#include <vector>

// Failing checks on lists of texts show the lists.
namespace doctest {
template <>
struct StringMaker<std::vector<std::string>> {
    static String convert(const std::vector<std::string>& texts)
    {
        std::string shown = "{";
        for (size_t i = 0; i < texts.size(); ++i)
            shown += (i ? ", \"" : "\"") + texts[i] + "\"";
        return (shown + "}").c_str();
    }
};
}  // namespace doctest
