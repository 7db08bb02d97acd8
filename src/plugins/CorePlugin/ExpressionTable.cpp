#include "ExpressionTable.h"

#include <iterator>

#include "CorePluginNames.h"
#include "cross/And.h"
#include "cross/BitwiseAnd.h"
#include "cross/BitwiseExclusiveOr.h"
#include "cross/BitwiseInclusiveOr.h"
#include "cross/Clip.h"
#include "cross/Compare.h"
#include "cross/Concat.h"
#include "cross/Contains.h"
#include "cross/FileDirectory.h"
#include "cross/FileExists.h"
#include "cross/FileInfo.h"
#include "cross/FileInfoCompare.h"
#include "cross/IniFileKeyExists.h"
#include "cross/IniFileKeyValue.h"
#include "cross/Match.h"
#include "cross/Md5.h"
#include "cross/MountPath.h"
#include "cross/MountRemotePath.h"
#include "cross/MountServer.h"
#include "cross/Not.h"
#include "cross/Or.h"
#include "cross/PathExists.h"
#include "cross/ScalarToVector.h"
#include "cross/Sort.h"
#include "cross/StringCrop.h"
#include "cross/StringSlice.h"
#include "cross/Substring.h"
#include "cross/Switch.h"
#include "cross/ValueOf.h"
#include "cross/Vector.h"
#include "cross/VectorAt.h"
#include "cross/VectorIterator.h"
#include "cross/VectorToScalar.h"

namespace CorePlugin {

namespace {

namespace Name = ExpressionName;
namespace Property = PropertyName;

template <class T>
PluginSDK::Expression* make(const mountlist*) {
    // The parentheses value-initialise: a class without a constructor of its own starts with
    // every field zero.
    return new T();
}

template <class T>
PluginSDK::Expression* makeWithMounts(const mountlist* mounts) {
    return new T(mounts);
}

constexpr Kind kScalarOperand{PluginSDK::Expression::TYPE_SCALAR, false};
constexpr Kind kScalarOperator{PluginSDK::Expression::TYPE_SCALAR, true};
constexpr Kind kVectorOperand{PluginSDK::Expression::TYPE_VECTOR, false};
constexpr Kind kVectorOperator{PluginSDK::Expression::TYPE_VECTOR, true};

constexpr ChildRule kNoChild{0, 0, ChildKind::kAny};
constexpr ChildRule kOneScalar{1, 1, ChildKind::kScalar};
constexpr ChildRule kTwoScalars{2, 2, ChildKind::kScalar};
constexpr ChildRule kScalars{0, kUnbounded, ChildKind::kScalar};
constexpr ChildRule kAtMostOneValue{0, 1, ChildKind::kAny};
constexpr ChildRule kValues{0, kUnbounded, ChildKind::kAny};

constexpr PropertyDescriptor required(const wchar_t* name,
                                      std::span<const wchar_t* const> values = {}) {
    return {name, true, values};
}

constexpr PropertyDescriptor optional(const wchar_t* name,
                                      std::span<const wchar_t* const> values = {}) {
    return {name, false, values};
}

constexpr const wchar_t* kTypes[] = {TypeName::kVersion, TypeName::kInteger,  TypeName::kUInteger,
                                     TypeName::kString,  TypeName::kCiString, TypeName::kBoolean,
                                     TypeName::kHex};
constexpr const wchar_t* kRelations[] = {RelationName::kEq, RelationName::kNe, RelationName::kGt,
                                         RelationName::kGe, RelationName::kLt, RelationName::kLe};
constexpr const wchar_t* kFields[] = {FieldName::kSize, FieldName::kInode, FieldName::kMtime,
                                      FieldName::kCtime, FieldName::kAtime};
// The empty text asks for the default, like an absent property.
constexpr const wchar_t* kSeekFroms[] = {PropertyValue::kLeft, PropertyValue::kRight, L""};
constexpr const wchar_t* kOrders[] = {PropertyValue::kAscending, PropertyValue::kDescending};

constexpr PropertyDescriptor kPathOnly[] = {required(Property::kAbsolutePath)};
constexpr PropertyDescriptor kFileOnly[] = {required(Property::kFile)};
constexpr PropertyDescriptor kFileInfoProperties[] = {required(Property::kAbsolutePath),
                                                      required(Property::kField, kFields)};
constexpr PropertyDescriptor kFileInfoCompareProperties[] = {
    required(Property::kAbsolutePath), required(Property::kField, kFields),
    required(Property::kRelation, kRelations), required(Property::kValue),
    optional(Property::kMustExist)};
constexpr PropertyDescriptor kValueOfProperties[] = {required(Property::kValue)};
constexpr PropertyDescriptor kCompareProperties[] = {required(Property::kType, kTypes),
                                                     required(Property::kRelation, kRelations)};
constexpr PropertyDescriptor kVectorProperties[] = {optional(Property::kFilter),
                                                    optional(Property::kIgnoreCase)};
constexpr PropertyDescriptor kSortProperties[] = {optional(Property::kFilter),
                                                  optional(Property::kIgnoreCase),
                                                  optional(Property::kOrder, kOrders)};
constexpr PropertyDescriptor kMatchProperties[] = {
    required(Property::kInputString), required(Property::kFilter), optional(Property::kIgnoreCase)};
constexpr PropertyDescriptor kConcatProperties[] = {optional(Property::kSeparator),
                                                    optional(Property::kIfEmpty)};
constexpr PropertyDescriptor kSwitchProperties[] = {optional(Property::kDefault)};
constexpr PropertyDescriptor kVectorAtProperties[] = {required(Property::kIndex)};
constexpr PropertyDescriptor kSubstringProperties[] = {required(Property::kInputString),
                                                       required(Property::kSearchedString)};
constexpr PropertyDescriptor kContainsProperties[] = {required(Property::kInputString),
                                                      required(Property::kSearchedString),
                                                      required(Property::kPosition)};
// Clip and StringSlice.
constexpr PropertyDescriptor kSliceProperties[] = {required(Property::kInputString),
                                                   required(Property::kStartIndex),
                                                   required(Property::kEndIndex)};
constexpr PropertyDescriptor kStringCropProperties[] = {
    required(Property::kInputString), required(Property::kStartString),
    required(Property::kEndString), optional(Property::kSeekFrom, kSeekFroms)};
constexpr PropertyDescriptor kIniProperties[] = {
    required(Property::kFile), required(Property::kSection), required(Property::kKey)};

// clang-format off
constexpr ExpressionDescriptor kExpressionTable[] = {
    {Name::kNot,                kScalarOperator, {},                         kOneScalar,      make<Not>},
    {Name::kAnd,                kScalarOperator, {},                         kScalars,        make<And>},
    {Name::kOr,                 kScalarOperator, {},                         kScalars,        make<Or>},
    {Name::kFileInfo,           kScalarOperand,  kFileInfoProperties,        kNoChild,        make<FileInfo>},
    {Name::kFileInfoCompare,    kScalarOperand,  kFileInfoCompareProperties, kNoChild,        make<FileInfoCompare>},
    {Name::kFileExists,         kScalarOperand,  kPathOnly,                  kNoChild,        make<FileExists>},
    {Name::kFileDirectory,      kScalarOperand,  kFileOnly,                  kNoChild,        make<FileDirectory>},
    {Name::kPathExists,         kScalarOperand,  kPathOnly,                  kNoChild,        make<PathExists>},
    {Name::kValueOf,            kScalarOperand,  kValueOfProperties,         kNoChild,        make<ValueOf>},
    {Name::kCompare,            kScalarOperator, kCompareProperties,         kTwoScalars,     make<Compare>},
    {Name::kVector,             kVectorOperator, kVectorProperties,          kValues,         make<Vector>},
    {Name::kSort,               kVectorOperator, kSortProperties,            kValues,         make<Sort>},
    {Name::kMatch,              kScalarOperand,  kMatchProperties,           kNoChild,        make<Match>},
    {Name::kConcat,             kScalarOperator, kConcatProperties,          kScalars,        make<Concat>},
    {Name::kSwitch,             kScalarOperator, kSwitchProperties,          kScalars,        make<Switch>},
    {Name::kBitwiseAnd,         kScalarOperator, {},                         kTwoScalars,     make<BitwiseAnd>},
    {Name::kBitwiseInclusiveOr, kScalarOperator, {},                         kTwoScalars,     make<BitwiseInclusiveOr>},
    {Name::kBitwiseExclusiveOr, kScalarOperator, {},                         kTwoScalars,     make<BitwiseExclusiveOr>},
    {Name::kScalarToVector,     kVectorOperator, {},                         kAtMostOneValue, make<ScalarToVector>},
    {Name::kVectorToScalar,     kScalarOperator, {},                         kValues,         make<VectorToScalar>},
    {Name::kVectorIterator,     kVectorOperator, {},                         kValues,         make<VectorIterator>},
    {Name::kVectorAt,           kScalarOperator, kVectorAtProperties,        kValues,         make<VectorAt>},
    {Name::kMd5,                kScalarOperator, {},                         kScalars,        make<Md5>},
    {Name::kSubstring,          kVectorOperand,  kSubstringProperties,       kNoChild,        make<Substring>},
    {Name::kContains,           kScalarOperand,  kContainsProperties,        kNoChild,        make<Contains>},
    {Name::kClip,               kScalarOperand,  kSliceProperties,           kNoChild,        make<Clip>},
    {Name::kStringSlice,        kScalarOperand,  kSliceProperties,           kNoChild,        make<StringSlice>},
    {Name::kStringCrop,         kScalarOperand,  kStringCropProperties,      kNoChild,        make<StringCrop>},
    {Name::kIniFileKeyExists,   kScalarOperand,  kIniProperties,             kNoChild,        make<IniFileKeyExists>},
    {Name::kIniFileKeyValue,    kScalarOperand,  kIniProperties,             kNoChild,        make<IniFileKeyValue>},
    {Name::kMountServer,        kScalarOperand,  kPathOnly,                  kNoChild,        makeWithMounts<MountServer>},
    {Name::kMountPath,          kScalarOperand,  kPathOnly,                  kNoChild,        makeWithMounts<MountPath>},
    {Name::kMountRemotePath,    kScalarOperand,  kPathOnly,                  kNoChild,        makeWithMounts<MountRemotePath>},
};
// clang-format on
static_assert(std::size(kExpressionTable) == 33);

}  // namespace

std::span<const ExpressionDescriptor> expressionTable() {
    return kExpressionTable;
}

}  // namespace CorePlugin
