// Building and reading strings unit by unit in tests.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace runtime_tests {

inline String FromUnits(std::initializer_list<int> units) {
    std::vector<Char> data(units.begin(), units.end());
    return String(data.data(), static_cast<int>(data.size()));
}

inline std::vector<int> Units(const String& s) {
    std::vector<int> units;
    for (int i = 0; i < s.Length(); ++i) units.push_back(s[i]);
    return units;
}

// The text of an ASCII string, for readable expectations.
inline std::string Ascii(const String& s) {
    std::string text;
    for (int i = 0; i < s.Length(); ++i) text += static_cast<char>(s[i]);
    return text;
}

inline std::vector<std::string> Pieces(const Array<String>& a) {
    std::vector<std::string> pieces;
    for (int i = 0; i < a.Length(); ++i) pieces.push_back(Ascii(a[i]));
    return pieces;
}

}  // namespace runtime_tests
