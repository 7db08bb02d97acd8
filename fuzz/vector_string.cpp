// VectorString::toVector reads any text; the list it yields, written again, reads back the same.

#include "FuzzSupport.h"
#include "PluginSDK/VectorString.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = fuzz::wideOf({reinterpret_cast<const char*>(data), size});
    PluginSDK::StringVector list;
    PluginSDK::VectorString::toVector(text.c_str(), list);
    PluginSDK::VectorString written;
    for (std::int32_t i = 0; i < list.m_Count; ++i) {
        written += list[i];
    }
    PluginSDK::StringVector back;
    PluginSDK::VectorString::toVector(written, back);
    fuzz::require(back.m_Count == list.m_Count, "as many elements come back");
    for (std::int32_t i = 0; i < list.m_Count; ++i) {
        fuzz::require(back[i] == list[i], "every element comes back unchanged");
    }
    return 0;
}
