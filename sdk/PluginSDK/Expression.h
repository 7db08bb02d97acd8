#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace PluginSDK {

/// A node of the host's expression tree: the host stores its named properties, and the
/// virtual interface below is what the host calls on any node, slot by slot.
class Expression {
public:
    /// Result kinds answered by getType().
    enum Type : std::int32_t { TYPE_SCALAR = 0, TYPE_VECTOR = 1 };

    Expression();
    virtual ~Expression();

    Expression(const Expression&) = delete;
    Expression& operator=(const Expression&) = delete;

    virtual bool isOperator() = 0;
    virtual std::int32_t getType() = 0;
    virtual bool isReady() = 0;
    virtual void disposeExpression() = 0;

    /// The text of the named property, or null when the node has none. The pointer stays valid
    /// while that property is unchanged.
    const wchar_t* getProperty(const wchar_t* name) const;

    // The host's side: properties are set and removed between evaluations, never during one.
    // A null name is ignored; a null value stores the empty text (a present, empty property).
    void setProperty(const wchar_t* name, const wchar_t* value);
    void removeProperty(const wchar_t* name);

private:
    std::map<std::wstring, std::wstring, std::less<>> m_Properties;
};

}  // namespace PluginSDK
