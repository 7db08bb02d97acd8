// The string operands driven through their properties, with tracing on: any texts as
// properties, any of them absent, and the same object evaluated twice gives the same answer.

#include <algorithm>
#include <memory>

#include "ExpressionTable.h"
#include "FuzzSupport.h"
#include "harness/Harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::wstring_view kNames[] = {L"Clip",     L"StringSlice", L"StringCrop",
                                               L"Contains", L"Substring",   L"Match"};
    if (size < 2) {
        return 0;
    }
    const harness::TraceCapture tracing;
    const auto table = CorePlugin::expressionTable();
    const auto& row = *std::find_if(table.begin(), table.end(), [&](const auto& candidate) {
        return candidate.name == kNames[data[0] % std::size(kNames)];
    });
    const std::uint8_t absent = data[1];  // one bit per property
    const auto texts = fuzz::split<4>(data + 2, size - 2);
    const std::unique_ptr<PluginSDK::Expression> expression(row.make(nullptr));
    for (std::size_t i = 0; i < row.properties.size(); ++i) {
        if ((absent >> i & 1) == 0) {
            expression->setProperty(row.properties[i].name, fuzz::wideOf(texts[i]).c_str());
        }
    }
    const harness::Outcome first = harness::result(*expression);
    expression->disposeExpression();
    const harness::Outcome second = harness::result(*expression);
    fuzz::require(second.code == first.code && second.result == first.result &&
                      second.results == first.results,
                  "a second evaluation answers the same");
    return 0;
}
