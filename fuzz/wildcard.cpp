// The wildcard matchers on any pattern and text, of both character types, with and without
// ignoring case and with escapes; the fast matcher never reports a match the complete one denies.

#include "utils/Wildcard.h"
#include "FuzzSupport.h"

template <class Text>
void check(const Text& pattern, const Text& text) {
    using Char = typename Text::value_type;
    fuzz::require(!utils::matchWildcard(pattern.c_str(), text.c_str()) ||
                      utils::detail::matchWildcard<Char, utils::detail::Resume::EveryPosition>(
                          pattern.c_str(), text.c_str()),
                  "a fast match is a match");
    // Case kept, case ignored, escapes; each call may rewrite its own copies.
    for (int mode = 0; mode < 3; ++mode) {
        Text p = pattern, t = text;
        mode < 2 ? utils::matchWildcard(p, t, mode == 1) : utils::matchWildcardEscapedSupport(p, t);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [pattern, text] = fuzz::split<2>(data, size);
    check(std::string(pattern), std::string(text));
    check(fuzz::wideOf(pattern), fuzz::wideOf(text));
    return 0;
}
