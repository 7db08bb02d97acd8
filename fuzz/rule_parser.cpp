// The rule language: any bytes as one expression and as a catalog, whose rules parse again when
// they are evaluated; a value quoted for output reads back as the same value.

#include "Catalog.h"
#include "FuzzSupport.h"
#include "Report.h"
#include "RuleParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    corehost::Diagnostic error;
    if (!corehost::validateText(text, "fuzz", error)) {
        return 0;
    }
    corehost::RuleNode root;
    if (corehost::RuleParser(text, "fuzz").parseExpression(root)) {
        for (const corehost::RuleProperty& property : root.properties) {
            const std::string quoted = "V(v=" + corehost::quote(property.value) + ")";
            corehost::RuleNode again;
            fuzz::require(corehost::RuleParser(quoted, "quoted").parseExpression(again) &&
                              again.properties.at(0).value == property.value,
                          "a quoted value reads back");
        }
    }
    corehost::Catalog catalog;
    const bool added = catalog.add(text, "fuzz", error);
    if (added) {
        for (std::size_t rule = 0; rule < catalog.size(); ++rule) {
            corehost::RuleNode tree;
            fuzz::require(catalog.parse(rule, tree, error), "a checked rule parses again");
        }
    }
    // Checked in parts on three threads, the catalog has the same rules or the same error.
    corehost::Catalog parts(3, 0);
    corehost::Diagnostic partsError;
    fuzz::require(parts.add(text, "fuzz", partsError) == added, "parts agree on the verdict");
    fuzz::require(added ? parts.size() == catalog.size() : partsError.format() == error.format(),
                  "parts agree on the rules or the error");
    for (std::size_t rule = 0; added && rule < catalog.size(); ++rule) {
        fuzz::require(parts.ruleName(rule) == catalog.ruleName(rule) &&
                          parts.rulePosition(rule).format() == catalog.rulePosition(rule).format(),
                      "parts agree on each rule");
    }
    return 0;
}
