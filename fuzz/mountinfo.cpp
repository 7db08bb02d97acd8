// The mount table read from any mountinfo text, then asked about paths from the input.

#include "FuzzSupport.h"
#include "base/mountlist.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [table, path] = fuzz::split<2>(data, size);
    mountlist mounts;
    const std::int32_t status = mounts.Initialize(fuzz::writeFile("mountinfo", table).c_str());
    fuzz::require((status == 0) == mounts.m_IsValid, "the table is valid when it was read");
    const std::wstring asked = fuzz::wideOf(path);
    for (const wchar_t* candidate : {asked.c_str(), L"/", L"/mnt/a/b", L"relative/x", L""}) {
        mounts.GetMountPath(candidate);
        mounts.GetMountRemotePath(candidate);
        mounts.GetMountServer(candidate);
    }
    return 0;
}
