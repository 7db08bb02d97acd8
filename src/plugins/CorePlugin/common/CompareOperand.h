#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperand.h"
#include "common/Comparable.h"

namespace CorePlugin {

/// The base of operands whose result is a relation between two typed values they obtain
/// themselves.
class CompareOperand : public PluginSDK::ScalarOperand {
public:
    /// Applies the relation named `relation` ("eq", "ne", "gt", "ge", "lt", "le") as
    /// `first REL second` into `result`: 0, -101 for a null argument, or -11007 for a name not
    /// in the table (`result` unchanged).
    static std::int32_t compare(Comparable* first, Comparable* second, const wchar_t* relation,
                                bool& result);

    void disposeExpression() override = 0;

    /// "true" or "false" for the relation between the two values. When the first getter finds
    /// its target missing (-11033), "mustExist" decides: "true" keeps the failure, "false" or
    /// absent gives "false", anything else -11028. Other failures are passed on.
    std::int32_t getScalarResult(PluginSDK::String& result) override;

    // The two getters store a new value that the caller owns and return 0, or store null and
    // return a code; the first one answers -11033 when what it examines does not exist.
    virtual std::int32_t getFirstOperand(Comparable** first) = 0;
    virtual std::int32_t getSecondOperand(Comparable** second) = 0;

    /// The "relation" text through `relation` (null when absent): 0, or -11023 when absent.
    virtual std::int32_t getRelation(const wchar_t** relation);

    /// Both values, or the first failing getter's code with both pointers null.
    std::int32_t getOperands(Comparable** first, Comparable** second);

    /// Reads "mustExist", absent counting as "false": 0 with the truth value, or -11028 for any
    /// other text, leaving `mustExist` alone.
    std::int32_t getMustExistAttribute(bool& mustExist) const;
};

}  // namespace CorePlugin
