// The rule language: any bytes as one expression and as a catalog, whose rules parse again when
// they are evaluated; a value quoted for output reads back as the same value.

#include "Catalog.h"
#include "FuzzSupport.h"
#include "Report.h"
#include "RuleParser.h"

using namespace corehost;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Diagnostic error, partsError;
    RuleNode root;
    if (!validateText(text, "fuzz", error)) {
        return 0;
    } else if (RuleParser(text, "fuzz").parseExpression(root)) {
        for (const RuleProperty& property : root.properties) {
            RuleNode again;
            fuzz::require(
                RuleParser("V(v=" + quote(property.value) + ")", "quoted").parseExpression(again) &&
                    again.properties.at(0).value == property.value,
                "a quoted value reads back");
        }
    }
    // Checked in parts on three threads, the catalog has the same rules or the same error.
    Catalog catalog, parts(3, 0);
    const bool added = catalog.add(text, "fuzz", error);
    fuzz::require(parts.add(text, "fuzz", partsError) == added, "parts agree on the verdict");
    fuzz::require(added ? parts.size() == catalog.size() : partsError.format() == error.format(),
                  "parts agree on the rules or the error");
    for (std::size_t rule = 0; added && rule < catalog.size(); ++rule) {
        RuleNode tree;
        fuzz::require(catalog.parse(rule, tree, error), "a checked rule parses again");
        fuzz::require(parts.ruleName(rule) == catalog.ruleName(rule) &&
                          parts.rulePosition(rule).format() == catalog.rulePosition(rule).format(),
                      "parts agree on each rule");
    }
    return 0;
}
