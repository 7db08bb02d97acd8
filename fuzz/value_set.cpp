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

namespace {

using CorePlugin::Comparable;

std::unique_ptr<Comparable> make(int type) {
    switch (type) {
        case 0:
            return std::make_unique<CorePlugin::Boolean>(false);
        case 1:
            return std::make_unique<CorePlugin::CiString>(nullptr);
        case 2:
            return std::make_unique<CorePlugin::Hex>(0);
        case 3:
            return std::make_unique<CorePlugin::Integer>(0);
        case 4:
            return std::make_unique<CorePlugin::UInteger>(0);
        case 5:
            return std::make_unique<CorePlugin::String>(nullptr);
        default:
            return std::make_unique<CorePlugin::Version>(0, 0, 0, 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [first, second] = fuzz::split<2>(data, size);
    const std::wstring left = fuzz::wideOf(first);
    const std::wstring right = fuzz::wideOf(second);
    for (int type = 0; type < 7; ++type) {
        const std::unique_ptr<Comparable> a = make(type);
        const std::unique_ptr<Comparable> b = make(type);
        if (a->set(left.c_str()) != 0 || b->set(right.c_str()) != 0) {
            continue;
        }
        fuzz::require((*a < *b) + (*a == *b) + (*a > *b) == 1, "one of <, == and >");
        fuzz::require((*a < *b) == (*b > *a) && (*a <= *b) == (*b >= *a), "relations mirror");
        fuzz::require((*a != *b) == !(*a == *b), "!= denies ==");
        fuzz::require((*a <= *b) == (*a < *b || *a == *b), "<= is < or ==");
        fuzz::require(!(*a == *make((type + 1) % 7)), "values of two classes are unrelated");
    }
    return 0;
}
