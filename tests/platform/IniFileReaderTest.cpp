#include "PluginSDK/IniFileReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "harness/ScratchTree.h"

namespace {

using PluginSDK::IniFileReader;

// The file is read a block of at most 64 KiB at a time: lines, names, blanks and values that
// cross a block's end, or are longer than a block, read as they do from the text given whole.
TEST(IniFileReader, LinesAcrossBlocksReadAsFromTheWholeText) {
    constexpr std::size_t kBlock = 65536;
    const std::string blanks(kBlock + 3, ' ');
    const int shifts[] = {0, 1, 2, 3, 5, 9};
    std::string content = "[s]\n";
    for (const int shift : shifts) {
        const std::string key = "k" + std::to_string(shift);
        // A comment longer than a block, after which this pair starts `shift` bytes before a
        // block's start.
        const std::size_t start = content.size() + 2;
        content += ";" + std::string((kBlock - (start + shift) % kBlock) % kBlock + kBlock, 'x');
        content += "\n" + key + " = v" + key + "\n[ t" + key + " ]" + blanks + "\n" + key + "=" +
                   blanks + "'long " + blanks + "value'" + blanks + "\n[s]\n";
    }
    const ScratchTree tree;
    std::ofstream(tree.root() / "caf\xC3\xA9.ini", std::ios::binary) << content;
    IniFileReader file((tree.root().wstring() + L"/caf\u00E9.ini").c_str());
    IniFileReader text(nullptr);
    text.parse(content);
    for (const int shift : shifts) {
        const std::wstring key = L"k" + std::to_wstring(shift);
        for (const std::wstring& section : {std::wstring(L"s"), L"t" + key}) {
            std::wstring expected, found;
            ASSERT_TRUE(text.getProperty(section, key, expected));
            EXPECT_EQ(expected.substr(0, 5), section == L"s" ? L"v" + key : L"long ");
            EXPECT_TRUE(file.getProperty(section, key, found) && found == expected) << shift;
        }
    }
}

}  // namespace
