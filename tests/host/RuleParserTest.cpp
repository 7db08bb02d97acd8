#include "RuleParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <platform/utf8.h>

namespace corehost {
namespace {

/// A parsed expression, or the error that stopped it.
struct Parsed {
    bool ok = false;
    RuleNode root;
    std::string error;  // "SOURCE:LINE:COLUMN: message"
};

Parsed parseExpression(const std::string& text) {
    Parsed parsed;
    Diagnostic error;
    if (!validateText(text, "t", error)) {
        parsed.error = error.format();
        return parsed;
    }
    RuleParser parser(text, "t");
    parsed.ok = parser.parseExpression(parsed.root);
    if (!parsed.ok) {
        parsed.error = parser.error().format();
    }
    return parsed;
}

std::string utf8(std::wstring_view text) {
    std::string out;
    platform::appendUtf8Lossy(text, out);
    return out;
}

// A tree on one line: NAME@LINE:COLUMN, each property as NAME=VALUE@LINE:COLUMN, then the
// children in parentheses.
std::string dump(const RuleNode& node) {
    std::string text = utf8(node.name) + "@" + node.position.format();
    for (const RuleProperty& property : node.properties) {
        text += " " + utf8(property.name) + "=" + utf8(property.value) + "@" +
                property.position.format();
    }
    for (std::size_t i = 0; i < node.children.size(); ++i) {
        text += (i == 0 ? " (" : ", ") + dump(node.children[i]);
    }
    return text + (node.children.empty() ? "" : ")");
}

std::wstring valueOf(const std::string& text) {
    const Parsed parsed = parseExpression(text);
    EXPECT_TRUE(parsed.ok) << parsed.error;
    if (!parsed.ok || parsed.root.properties.empty()) {
        return L"<none>";
    }
    return std::wstring(parsed.root.properties.front().value);
}

TEST(RuleParserTest, ReadsNamesPropertiesAndChildrenInWrittenOrder) {
    const struct {
        std::string text;
        std::string tree;
    } cases[] = {
        {"And(Compare(type=uinteger, relation = ge,\n"
         "            ValueOf(value=10), FileInfo(absolutePath=\"/etc/passwd\", field=size)),\n"
         "    FileExists(absolutePath=/etc/passwd),)",
         "And@1:1 (Compare@1:5 type=uinteger@1:13 relation=ge@1:28 (ValueOf@2:13 value=10@2:21, "
         "FileInfo@2:32 absolutePath=/etc/passwd@2:41 field=size@2:69), FileExists@3:5 "
         "absolutePath=/etc/passwd@3:16)"},
        // Empty argument lists, comments and blank lines.
        {"# leading comment\r\n\tVector( # a comment inside\n  )  # trailing comment",
         "Vector@2:2"},
        // Columns count characters, and a byte order mark is skipped.
        {"\xef\xbb\xbfV(a=\xc3\xa9\xe6\x97\xa5, b=1)", "V@1:1 a=\xc3\xa9\xe6\x97\xa5@1:3 b=1@1:9"},
    };
    for (const auto& c : cases) {
        const Parsed parsed = parseExpression(c.text);
        ASSERT_TRUE(parsed.ok) << parsed.error;
        EXPECT_EQ(dump(parsed.root), c.tree) << c.text;
    }
}

TEST(RuleParserTest, DecodesValues) {
    const struct {
        const char* text;
        std::wstring value;
    } cases[] = {
        {R"(V(v="a\\b\"c\nd\re\tf"))", L"a\\b\"c\nd\re\tf"},
        {R"(V(v=""))", L""},
        {R"(V(v="\u{41}\u{e9}\u{1F600}"))", L"A\u00e9\U0001F600"},
        {R"(V(v="\u{10FFFF}"))", L"\U0010FFFF"},
        {R"(V(v="a,b(c)#d=e"))", L"a,b(c)#d=e"},
        {"V(v=caf\xc3\xa9;x)", L"caf\u00e9;x"},
        {R"(V(v=C:\dir\file))", L"C:\\dir\\file"},
        {"V(v=\xe6\x97\xa5\xe6\x9c\xac)", L"\u65e5\u672c"},
        {"V(v=a#comment\n)", L"a"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(valueOf(c.text), c.value) << c.text;
    }
}

TEST(RuleParserTest, ReportsEachErrorAtItsPlace) {
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"", "t:1:1: expected an expression name, found the end of the text"},
        {"  # only a comment", "t:1:19: expected an expression name, found the end of the text"},
        {"1And()", "t:1:1: expected an expression name, found \"1\""},
        {"And", "t:1:4: expected '(' after \"And\", found the end of the text"},
        {"And x", "t:1:5: expected '(' after \"And\", found \"x\""},
        {"And(", "t:1:5: missing ')' to close \"And(\" opened at 1:1"},
        {"And(Not(x=1)", "t:1:13: missing ')' to close \"And(\" opened at 1:1"},
        {"And(Not(x=1),\n  Or(", "t:2:6: missing ')' to close \"Or(\" opened at 2:3"},
        {"And() Or()", "t:1:7: unexpected text after the expression, found \"O\""},
        {"And())", "t:1:6: unexpected text after the expression, found \")\""},
        {"And(,)", "t:1:5: expected a property or a child expression, found \",\""},
        {"And(x)", "t:1:6: expected '=' or '(' after \"x\", found \")\""},
        {"And(x=)", "t:1:7: expected a property value after '=', found \")\""},
        {"And(x=1 y=2)", "t:1:9: expected ',' or ')', found \"y\""},
        {"And(x=a=b)", "t:1:8: expected ',' or ')', found \"=\""},
        {"V(v=1, w=2, v=3)", "t:1:13: duplicate property \"v\" (first given at 1:3)"},
        {"V(v=\"abc)", "t:1:5: unterminated string"},
        {"V(v=\"abc\n\")", "t:1:5: unterminated string"},
        {"V(v=\"abc\\", "t:1:5: unterminated string"},
        {"V(\n v=\"a\\qb\")", "t:2:6: unknown escape \"\\q\""},
        {"V(v=\"\\\xc3\xa9\")", "t:1:6: unknown escape \"\\\xc3\xa9\""},
        {"V(v=\"\\u41\")", "t:1:6: expected '{' after \"\\u\", found \"4\""},
        {"V(v=\"\\u{}\")", "t:1:6: \"\\u{\" takes 1 to 6 hexadecimal digits and '}', found \"}\""},
        {"V(v=\"\\u{12345678}\")",
         "t:1:6: \"\\u{\" takes 1 to 6 hexadecimal digits and '}', found \"7\""},
        {"V(v=\"\\u{4g}\")",
         "t:1:6: \"\\u{\" takes 1 to 6 hexadecimal digits and '}', found \"g\""},
        {"V(v=\"\\u{D800}\")", "t:1:6: \"\\u{D800}\" is not a Unicode scalar value"},
        {"V(v=\"\\u{110000}\")", "t:1:6: \"\\u{110000}\" is not a Unicode scalar value"},
        {"V(v=\"\\u{0}\")", "t:1:6: \"\\u{0}\" is not allowed: a NUL would end the text"},
        {"V(v=\"ok\xff\")", "t:1:8: invalid UTF-8 sequence starting with byte 0xFF"},
        {"V(v=\"\xc3\xa9\xc3\")", "t:1:7: invalid UTF-8 sequence starting with byte 0xC3"},
        {"\xe6\x97\xa5\nV(v=\xed\xa0\x80)",
         "t:2:5: invalid UTF-8 sequence starting with byte 0xED"},
        {"V(v=\xc0\xaf)", "t:1:5: invalid UTF-8 sequence starting with byte 0xC0"},
        {"V(v=\xf4\x90\x80\x80)", "t:1:5: invalid UTF-8 sequence starting with byte 0xF4"},
        {std::string("V(v=a\0b)", 8), "t:1:6: a NUL character is not allowed"},
        {"\xe6\x97\xa5(x=1)", "t:1:1: expected an expression name, found \"\xe6\x97\xa5\""},
        {"V(a=\"\xc3\xa9\xe6\x97\xa5\", b=1 x)", "t:1:15: expected ',' or ')', found \"x\""},
    };
    for (const auto& c : cases) {
        const Parsed parsed = parseExpression(c.text);
        EXPECT_FALSE(parsed.ok) << c.text;
        EXPECT_EQ(parsed.error, c.error) << c.text;
    }
}

std::string nested(std::uint32_t depth) {
    std::string text;
    for (std::uint32_t i = 0; i < depth; ++i) {
        text += "Not(";
    }
    text += "V(v=1)";
    text.append(depth, ')');
    return text;
}

TEST(RuleParserTest, LimitsNesting) {
    // kMaxNesting levels in all: the innermost V is the last one allowed.
    const Parsed deepest = parseExpression(nested(kMaxNesting - 1));
    EXPECT_TRUE(deepest.ok) << deepest.error;
    const Parsed tooDeep = parseExpression(nested(kMaxNesting));
    EXPECT_FALSE(tooDeep.ok);
    EXPECT_EQ(tooDeep.error,
              "t:1:" + std::to_string(4 * kMaxNesting + 1) + ": nesting deeper than 1000 levels");
    // Far deeper input is refused the same way, without exhausting the stack.
    const Parsed abyss = parseExpression(nested(200000));
    EXPECT_EQ(abyss.error, "t:1:4001: nesting deeper than 1000 levels");
}

TEST(RuleParserTest, TakesLargeValuesAndManyProperties) {
    const std::string big(10 * 1024 * 1024, 'x');
    EXPECT_EQ(valueOf("V(v=\"" + big + "\")").size(), big.size());
    EXPECT_EQ(valueOf("V(v=" + big + ")").size(), big.size());
    std::string many = "V(";
    for (int i = 0; i < 20000; ++i) {
        many += "p" + std::to_string(i) + "=1,";
    }
    const Parsed parsed = parseExpression(many + "p77=2)");
    EXPECT_EQ(parsed.error, "t:1:" + std::to_string(many.size() + 1) +
                                ": duplicate property \"p77\" (first given at 1:" +
                                std::to_string(many.find("p77=") + 1) + ")");
}

/// The rules found in a catalog, or the error that stopped it.
struct Catalog {
    bool ok = false;
    std::vector<RuleEntry> rules;
    std::string error;
};

Catalog parseCatalog(const std::string& text, RuleNameIndex& names,
                     const ExpressionNameUse& onName = {}) {
    Catalog catalog;
    RuleParser parser(text, "c.rules");
    catalog.ok = parser.parseCatalog(catalog.rules, &names, onName);
    if (!catalog.ok) {
        catalog.error = parser.error().format();
    }
    return catalog;
}

TEST(RuleParserTest, FindsTheRulesOfACatalogAndParsesEachAgain) {
    const std::string text =
        "# system checks\n"
        "has_shell = FileExists(absolutePath=/bin/sh);\n"
        "os.version-2=Compare(type=version, relation=ge,\n"
        "  ValueOf(value=12), ValueOf(value=11))\n"
        "_last = ValueOf(value=\";\") ;";
    RuleNameIndex names;
    const Catalog catalog = parseCatalog(text, names);
    ASSERT_TRUE(catalog.ok) << catalog.error;
    RuleParser parser(text, "c.rules");
    std::vector<std::string> rules;
    for (const RuleEntry& rule : catalog.rules) {
        RuleNode root;
        EXPECT_TRUE(parser.parseRule(rule, root)) << rule.name;
        rules.push_back(rule.name + "@" + rule.namePosition.format() + " = " + dump(root));
    }
    EXPECT_EQ(rules, (std::vector<std::string>{
                         "has_shell@2:1 = FileExists@2:13 absolutePath=/bin/sh@2:24",
                         "os.version-2@3:1 = Compare@3:14 type=version@3:22 relation=ge@3:36 "
                         "(ValueOf@4:3 value=12@4:11, ValueOf@4:22 value=11@4:30)",
                         "_last@5:1 = ValueOf@5:9 value=;@5:17"}));
}

TEST(RuleParserTest, ReportsCatalogErrors) {
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"a = V(v=1)\nb = V(v=2)\na = V(v=3)",
         "c.rules:3:1: duplicate rule \"a\" (first defined at c.rules:1:1)"},
        {"a = V(v=1) V(v=2)", "c.rules:1:13: expected '=' after the rule name \"V\", found \"(\""},
        {"9a = V(v=1)", "c.rules:1:1: expected a rule name, found \"9\""},
        {"a V(v=1)", "c.rules:1:3: expected '=' after the rule name \"a\", found \"V\""},
        {"a = ", "c.rules:1:5: expected an expression name, found the end of the text"},
        {"a = V(v=1);;", "c.rules:1:12: expected a rule name, found \";\""},
        {"a = V(v=1)\nb = V(v=\"x)\n", "c.rules:2:9: unterminated string"},
    };
    for (const auto& c : cases) {
        RuleNameIndex names;
        const Catalog catalog = parseCatalog(c.text, names);
        EXPECT_FALSE(catalog.ok) << c.text;
        EXPECT_EQ(catalog.error, c.error) << c.text;
    }
}

TEST(RuleParserTest, ReportsEachExpressionName) {
    RuleNameIndex fresh;
    std::vector<std::string> uses;
    const Catalog named = parseCatalog("a = V(v=1)\nb = Bad(v=2, W(\n  V()))", fresh,
                                       [&](std::string_view name, SourcePosition at) {
                                           uses.push_back(std::string(name) + "@" + at.format());
                                       });
    EXPECT_TRUE(named.ok) << named.error;
    EXPECT_EQ(uses, (std::vector<std::string>{"V@1:5", "Bad@2:5", "W@2:14", "V@3:3"}));
}

}  // namespace
}  // namespace corehost
