// The wildcard matchers on any pattern and text, of both character types, with and without
// ignoring case and with escapes; the fast matcher never reports a match the complete one denies.

#include "utils/Wildcard.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [patternBytes, textBytes] = fuzz::split<2>(data, size);
    const std::string pattern(patternBytes);
    const std::string text(textBytes);
    const std::wstring widePattern = fuzz::wideOf(patternBytes);
    const std::wstring wideText = fuzz::wideOf(textBytes);
    using utils::detail::Resume;
    fuzz::require(!utils::detail::matchWildcard(pattern.c_str(), text.c_str()) ||
                      utils::detail::matchWildcard<char, Resume::EveryPosition>(pattern.c_str(),
                                                                                text.c_str()),
                  "a fast match is a match");
    fuzz::require(!utils::matchWildcard(widePattern.c_str(), wideText.c_str()) ||
                      utils::detail::matchWildcard<wchar_t, Resume::EveryPosition>(
                          widePattern.c_str(), wideText.c_str()),
                  "a fast wide match is a match");
    for (bool ignoreCase : {false, true}) {
        std::string p = pattern, t = text;
        utils::matchWildcard(p, t, ignoreCase);
        std::wstring wp = widePattern, wt = wideText;
        utils::matchWildcard(wp, wt, ignoreCase);
    }
    std::string p = pattern, t = text;
    utils::matchWildcardEscapedSupport(p, t);
    std::wstring wp = widePattern, wt = wideText;
    utils::matchWildcardEscapedSupport(wp, wt);
    return 0;
}
