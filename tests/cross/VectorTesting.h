#pragma once

// Random lists for the vector operators' tests, and the ways a host can hand them over.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "harness/Harness.h"

namespace vectortesting {

// Both letter cases, a blank, the serialised form's own ';' and '\', and non-ASCII text inside
// and beyond the Basic Multilingual Plane.
inline const std::wstring kAlphabet = L"aAbZ ;\\\u00f6\u20ac\U0001F600";

/// A text of 0 to 4 characters of kAlphabet.
inline std::wstring randomText(std::mt19937& random) {
    std::wstring text(std::uniform_int_distribution<int>(0, 4)(random), L' ');
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    for (wchar_t& c : text) {
        c = kAlphabet[pick(random)];
    }
    return text;
}

/// 0 to `most` random texts.
inline harness::Texts randomTexts(std::mt19937& random, int most) {
    harness::Texts texts(std::uniform_int_distribution<int>(0, most)(random));
    for (std::wstring& text : texts) {
        text = randomText(random);
    }
    return texts;
}

/// `values` in order, as a random mix of scalar children and list children (empty lists too).
inline std::vector<harness::Operand> asChildren(const harness::Texts& values,
                                                std::mt19937& random) {
    std::vector<harness::Operand> children;
    std::uniform_int_distribution<std::size_t> kind(0, 3);
    for (std::size_t i = 0; i < values.size();) {
        const std::size_t k = kind(random);
        if (k == 0) {
            children.emplace_back(values[i++]);
            continue;
        }
        const std::size_t end = std::min(values.size(), i + k - 1);
        children.push_back(harness::Operand::vector(
            harness::Texts(values.begin() + static_cast<std::ptrdiff_t>(i),
                           values.begin() + static_cast<std::ptrdiff_t>(end))));
        i = end;
    }
    return children;
}

/// Code-point order, written apart from the plug-in's own.
inline bool codePointLess(const std::wstring& left, const std::wstring& right) {
    return std::lexicographical_compare(
        left.begin(), left.end(), right.begin(), right.end(),
        [](wchar_t a, wchar_t b) { return std::uint32_t(a) < std::uint32_t(b); });
}

}  // namespace vectortesting
