#include "RuleParser.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "Catalog.h"
#include "Report.h"

namespace corehost {
namespace {

// A tree on one line: NAME@LINE:COLUMN, each property as NAME=VALUE@LINE:COLUMN, then the
// children in parentheses.
std::string dump(const RuleNode& node) {
    std::string text = toUtf8(node.name) + "@" + node.position.format();
    for (const RuleProperty& property : node.properties) {
        text += " " + toUtf8(property.name) + "=" + toUtf8(property.value) + "@" +
                property.position.format();
    }
    for (std::size_t i = 0; i < node.children.size(); ++i) {
        text += (i == 0 ? " (" : ", ") + dump(node.children[i]);
    }
    return text + (node.children.empty() ? "" : ")");
}

/// The tree of an expression, dumped, or the error that stopped it.
std::string parse(const std::string& text) {
    Diagnostic error;
    RuleNode root;
    RuleParser parser(text, "t");
    if (!validateText(text, "t", error)) {
        return error.format();
    }
    return parser.parseExpression(root) ? dump(root) : parser.error().format();
}

TEST(RuleParserTest, ReadsEachExpressionOrReportsItsFirstErrorAtItsPlace) {
    std::string deep;
    for (std::uint32_t level = 0; level < kMaxNesting; ++level) {
        deep += "Not(";
    }
    const struct {
        std::string text;
        std::string parsed;
    } cases[] = {
        // Trees, with the place of every name and property.
        {"# leading comment\r\n\tVector(v=a# comment\n  )  # trailing comment",
         "Vector@2:2 v=a@2:9"},
        // Columns count characters, and a byte order mark is skipped.
        {"\xef\xbb\xbfV(a=\xc3\xa9\xe6\x97\xa5, b=1)", "V@1:1 a=\xc3\xa9\xe6\x97\xa5@1:3 b=1@1:9"},
        {R"x(V(v="a\\b\"c\nd\re\tf (#,=)"))x", "V@1:1 v=a\\b\"c\nd\re\tf (#,=)@1:3"},
        {R"(V(v="\u{41}\u{e9}\u{10FFFF}"))", "V@1:1 v=A\xc3\xa9\xf4\x8f\xbf\xbf@1:3"},
        // Errors, at the place where each was found.
        {"", "t:1:1: expected an expression name, found the end of the text"},
        {"1And()", "t:1:1: expected an expression name, found \"1\""},
        {"And x", "t:1:5: expected '(' after \"And\", found \"x\""},
        {"And(", "t:1:5: missing ')' to close \"And(\" opened at 1:1"},
        {"And(Not(x=1)", "t:1:13: missing ')' to close \"And(\" opened at 1:1"},
        {"And() Or()", "t:1:7: unexpected text after the expression, found \"O\""},
        {"And(,)", "t:1:5: expected a property or a child expression, found \",\""},
        {"And(x)", "t:1:6: expected '=' or '(' after \"x\", found \")\""},
        {"And(x=)", "t:1:7: expected a property value after '=', found \")\""},
        {"And(x=a=b)", "t:1:8: expected ',' or ')', found \"=\""},
        // The first few properties are scanned, the others indexed.
        {"V(v=1, w=2, v=3)", "t:1:13: duplicate property \"v\" (first given at 1:3)"},
        {"V(p0=1,p1=1,p2=1,p3=1,p4=1,p5=1,p6=1,p7=1,p8=1,p8=2)",
         "t:1:48: duplicate property \"p8\" (first given at 1:43)"},
        // V is one level too deep.
        {deep + "V()" + std::string(kMaxNesting, ')'), "t:1:4001: nesting deeper than 1000 levels"},
        {"V(v=\"abc\n\")", "t:1:5: unterminated string"},
        {"V(v=\"abc\\", "t:1:5: unterminated string"},
        {"V(\n v=\"a\\\xc3\xa9\")", "t:2:6: unknown escape \"\\\xc3\xa9\""},
        {"V(v=\"\\u41\")", "t:1:6: expected '{' after \"\\u\", found \"4\""},
        {"V(v=\"\\u{}\")", "t:1:6: \"\\u{\" takes 1 to 6 hexadecimal digits and '}', found \"}\""},
        {"V(v=\"\\u{12345678}\")",
         "t:1:6: \"\\u{\" takes 1 to 6 hexadecimal digits and '}', found \"7\""},
        {"V(v=\"\\u{D800}\")", "t:1:6: \"\\u{D800}\" is not a Unicode scalar value"},
        {"V(v=\"\\u{0}\")", "t:1:6: \"\\u{0}\" is not allowed: a NUL would end the text"},
        {"V(v=\"\xc3\xa9\xc3\")", "t:1:7: invalid UTF-8 sequence starting with byte 0xC3"},
        {"\xe6\x97\xa5\nV(v=\xed\xa0\x80)",
         "t:2:5: invalid UTF-8 sequence starting with byte 0xED"},
        {"V(v=\xc0\xaf)", "t:1:5: invalid UTF-8 sequence starting with byte 0xC0"},
        {"V(v=\xf4\x90\x80\x80)", "t:1:5: invalid UTF-8 sequence starting with byte 0xF4"},
        {"V(v=\xf0\x8f\xbf\xbf)", "t:1:5: invalid UTF-8 sequence starting with byte 0xF0"},
        {"V(v=\xe0\x9f\xbf)", "t:1:5: invalid UTF-8 sequence starting with byte 0xE0"},
        {std::string("V(v=a\0b)", 8), "t:1:6: a NUL character is not allowed"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parse(c.text), c.parsed) << c.text;
    }
}

/// A catalog checked on `threads` threads: each rule as NAME@LINE:COLUMN = its tree, then the
/// first unknown expression name; or the error that stopped it.
std::string parseCatalog(const std::string& text, unsigned threads = 1) {
    Catalog catalog(threads, 0);
    Diagnostic error;
    if (!catalog.add(text, "c.rules", error)) {
        return error.format();
    }
    std::string rules;
    for (std::size_t rule = 0; rule < catalog.size(); ++rule) {
        RuleNode root;
        EXPECT_TRUE(catalog.parse(rule, root, error)) << catalog.ruleName(rule);
        rules += catalog.ruleName(rule) + "@" + catalog.rulePosition(rule).format() + " = " +
                 dump(root) + "\n";
    }
    const bool known = catalog.checkNames({L"Text", L"Count", L"All", L"Collect", L"List"}, error);
    return rules + (known ? "" : error.format());
}

TEST(RuleParserTest, FindsTheRulesOfACatalogOrReportsItsFirstError) {
    const struct {
        std::string text;
        std::string parsed;
    } cases[] = {
        {"# system checks\n"
         "has_shell = Text(value=\"/bin/sh\");\n"
         "os.version-2=Count(type = version ,\n"
         "  List(items=12), Nope(value=11),)\n"
         "_last = Text(value=\";\") ;",
         "has_shell@2:1 = Text@2:13 value=/bin/sh@2:18\n"
         "os.version-2@3:1 = Count@3:14 type=version@3:20 (List@4:3 items=12@4:8, Nope@4:19 "
         "value=11@4:24)\n"
         "_last@5:1 = Text@5:9 value=;@5:14\n"
         "c.rules:4:19: unknown expression name \"Nope\" (-10008)"},
        {"a = V(v=1)\nb = V(v=2)\na = V(v=3)",
         "c.rules:3:1: duplicate rule \"a\" (first defined at c.rules:1:1)"},
        {"9a = V(v=1)", "c.rules:1:1: expected a rule name, found \"9\""},
        {"a V(v=1)", "c.rules:1:3: expected '=' after the rule name \"a\", found \"V\""},
        {"a = V(v=1)\nb = V(v=\"x)\n", "c.rules:2:9: unterminated string"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseCatalog(c.text), c.parsed) << c.text;
    }
}

/// A catalog with the shapes a split can trip on: expressions over several lines whose lines
/// start like a rule, comments, quoted text with '=' and line-break escapes, a byte-order mark,
/// CR LF line ends, ';' between rules, unknown names; and, in some, one error.
std::string randomCatalog(std::mt19937& random) {
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::string text = pick(8) == 0 ? "\xEF\xBB\xBF" : "";
    const std::string lineEnd = pick(4) == 0 ? "\r\n" : "\n";
    const int rules = 20 + pick(200);
    for (int i = 0; i < rules; ++i) {
        const std::string k = std::to_string(i);
        const std::string n = "r" + k + (pick(3) == 0 ? ".x-" + k : "");
        const std::string shapes[] = {
            n + " = Text(value=v" + k + ")",
            // a continuation line that starts like a rule
            n + "=Count(" + lineEnd + "id=c" + k + "," + lineEnd + "Text(value=\"a = b\\n\"))",
            "# " + n + " = Text()" + lineEnd + n + " =" + lineEnd + "  All(Text(), " + lineEnd +
                "Text(value=\"é\\u{2603}\"))",
            n + " = Collect(List(items=\"x,y\"), Text())  # trailing",
            n + "\t= Text(a=1, b=2, c=3)" + lineEnd, n + " = Nope(Text())"};
        text += shapes[pick(6)];
        text += pick(3) == 0 ? ";" + lineEnd : lineEnd;
    }
    if (pick(4) == 0) {  // a character that breaks the syntax, somewhere
        text[static_cast<std::size_t>(pick(static_cast<int>(text.size())))] = "()=,\"#\n9"[pick(8)];
    } else if (pick(3) == 0) {  // a rule defined twice
        text += "r" + std::to_string(pick(rules)) + " = Text()" + lineEnd;
    }
    return text;
}

// Checked in parts on several threads, a catalog yields what checking it whole yields: the
// same rules at the same places, the same first error, the same first unknown name.
TEST(RuleParserTest, ChecksACatalogInPartsAsWhole) {
    std::mt19937 random(20261206);
    int failures = 0;
    for (int round = 0; round < 100; ++round) {
        const std::string text = randomCatalog(random);
        const std::string whole = parseCatalog(text);
        failures += whole.rfind("c.rules:", 0) == 0 ? 1 : 0;
        for (unsigned threads = 2; threads <= 5; ++threads) {
            ASSERT_EQ(parseCatalog(text, threads), whole) << text;
        }
    }
    // Both kinds of catalog were drawn.
    EXPECT_GT(failures, 10);
    EXPECT_LT(failures, 90);
}

}  // namespace
}  // namespace corehost
