// Every value class parses any text; two values that parsed are in exactly one of <, == and >,
// and the six relations agree with one another.

#include <memory>

#include "FuzzSupport.h"
#include "common/Boolean.h"
#include "common/CiString.h"
#include "common/Hex.h"
#include "common/Integer.h"
#include "common/String.h"
#include "common/UInteger.h"
#include "common/Version.h"

using namespace CorePlugin;

template <class T, auto... initial>
std::unique_ptr<Comparable> make() {
    return std::make_unique<T>(initial...);
}

std::unique_ptr<Comparable> (*const kMakers[])() = {
    make<Boolean, false>,     make<CiString, nullptr>, make<Hex, 0>,
    make<Integer, 0>,         make<UInteger, 0>,       make<String, nullptr>,
    make<Version, 0, 0, 0, 0>};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [first, second] = fuzz::split<2>(data, size);
    const std::wstring left = fuzz::wideOf(first), right = fuzz::wideOf(second);
    for (std::size_t type = 0; type < std::size(kMakers); ++type) {
        const std::unique_ptr<Comparable> a = kMakers[type](), b = kMakers[type]();
        if (a->set(left.c_str()) != 0 || b->set(right.c_str()) != 0) {
            continue;
        }
        fuzz::require((*a < *b) + (*a == *b) + (*a > *b) == 1, "one of <, == and >");
        fuzz::require((*a < *b) == (*b > *a) && (*a <= *b) == (*b >= *a) &&
                          (*a != *b) == !(*a == *b) && (*a <= *b) == (*a < *b || *a == *b),
                      "the relations agree");
        const std::unique_ptr<Comparable> other = kMakers[(type + 1) % std::size(kMakers)]();
        fuzz::require(!(*a == *other), "values of two classes are unrelated");
    }
    return 0;
}
