#pragma once

#include <cstdint>

#include "common/CompareOperand.h"

namespace CorePlugin {

/// Compares an attribute of a regular file (size, inode number, a time stamp) with "value".
class FileInfoCompare : public CompareOperand {
public:
    void disposeExpression() override {}

    /// The file's attribute: an Integer for "size", an UInteger for the others. A missing file
    /// (anything but a regular file) gives -11033 when "mustExist" is "true", and otherwise the
    /// empty CorePlugin::String, which is in no relation with the second value.
    std::int32_t getFirstOperand(Comparable** first) override;
    /// "value" read as the field's class: -11011 for an unknown field, -101 for a refused text.
    std::int32_t getSecondOperand(Comparable** second) override;

    /// 0, or the code of the first absent of "absolutePath" (-11025), "field" (-11027),
    /// "relation" (-11023) and "value" (-11022).
    std::int32_t validateProperties() const;
};

}  // namespace CorePlugin
