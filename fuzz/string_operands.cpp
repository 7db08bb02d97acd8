// The string operands driven through their properties, with tracing on: any texts as
// properties, any of them absent, and the same object evaluated twice gives the same answer.

#include <memory>

#include "FuzzSupport.h"
#include "PluginSDK/ScalarExpression.h"
#include "PluginSDK/VectorExpression.h"
#include "cross/Clip.h"
#include "cross/Contains.h"
#include "cross/Match.h"
#include "cross/StringCrop.h"
#include "cross/StringSlice.h"
#include "cross/Substring.h"
#include "tracing/Tracer.h"

namespace {

struct Operand {
    std::unique_ptr<PluginSDK::Expression> (*make)();
    std::vector<const wchar_t*> properties;
};

template <class T>
std::unique_ptr<PluginSDK::Expression> make() {
    return std::make_unique<T>();
}

const Operand kOperands[] = {
    {make<CorePlugin::Clip>, {L"inputString", L"startIndex", L"endIndex"}},
    {make<CorePlugin::StringSlice>, {L"inputString", L"startIndex", L"endIndex"}},
    {make<CorePlugin::StringCrop>, {L"inputString", L"startString", L"endString", L"seekFrom"}},
    {make<CorePlugin::Contains>, {L"inputString", L"searchedString", L"position"}},
    {make<CorePlugin::Substring>, {L"inputString", L"searchedString"}},
    {make<CorePlugin::Match>, {L"inputString", L"filter", L"ignoreCase"}},
};

std::wstring evaluate(PluginSDK::Expression& expression) {
    std::wstring answer;
    if (expression.getType() == PluginSDK::Expression::TYPE_SCALAR) {
        PluginSDK::String result;
        const std::int32_t code =
            static_cast<PluginSDK::ScalarExpression&>(expression).getScalarResult(result);
        return std::to_wstring(code) + L":" + static_cast<const wchar_t*>(result);
    }
    PluginSDK::StringVector result;
    answer = std::to_wstring(
        static_cast<PluginSDK::VectorExpression&>(expression).getVectorResult(result));
    for (std::int32_t i = 0; i < result.m_Count; ++i) {
        answer += L":" + std::wstring(result[i]);
    }
    return answer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    static const bool tracing = [] {
        Tracer::sendToCallback([](const Tracer::Event&, void*) {}, nullptr);
        return true;
    }();
    static_cast<void>(tracing);
    const Operand& operand = kOperands[data[0] % std::size(kOperands)];
    const std::uint8_t absent = data[1];  // one bit per property
    const auto texts = fuzz::split<4>(data + 2, size - 2);
    const std::unique_ptr<PluginSDK::Expression> expression = operand.make();
    for (std::size_t i = 0; i < operand.properties.size(); ++i) {
        if ((absent >> i & 1) == 0) {
            expression->setProperty(operand.properties[i], fuzz::wideOf(texts[i]).c_str());
        }
    }
    const std::wstring answer = evaluate(*expression);
    expression->disposeExpression();
    fuzz::require(evaluate(*expression) == answer, "a second evaluation answers the same");
    return 0;
}
