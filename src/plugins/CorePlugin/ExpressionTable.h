#pragma once

#include <limits>
#include <span>

#include "PluginSDK/Expression.h"
#include "base/mountlist.h"

// What the plug-in knows of each of its expressions, in one place: the factory registers and
// builds from it, and tests, benchmarks and fuzz targets walk it instead of keeping lists.

namespace CorePlugin {

/// What a node yields and whether it takes children, as getType() and isOperator() answer.
struct Kind {
    PluginSDK::Expression::Type type;
    bool isOperator;
};

/// A property an expression reads. `values` holds the only texts it accepts when they form a
/// closed set; it is empty when any text is read.
struct PropertyDescriptor {
    const wchar_t* name;
    bool required;
    std::span<const wchar_t* const> values;
};

enum class ChildKind { kScalar, kVector, kAny };

inline constexpr int kUnbounded = std::numeric_limits<int>::max();

/// The children a node takes without failing: a count from `min` through `max`, each delivering
/// a result of `kind`. An operand takes none.
struct ChildRule {
    int min;
    int max;
    ChildKind kind;
};

using Maker = PluginSDK::Expression* (*)(const mountlist* mounts);

/// One expression: how the factory builds it, and what a node of it reads and takes.
struct ExpressionDescriptor {
    const wchar_t* name;
    Kind kind;
    std::span<const PropertyDescriptor> properties;
    ChildRule children;
    Maker make;
};

/// The 33 expressions in registration order, which is also the factory's lookup order.
std::span<const ExpressionDescriptor> expressionTable();

}  // namespace CorePlugin
