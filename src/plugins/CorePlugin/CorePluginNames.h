#pragma once

// Every name that crosses the plug-in boundary as text: expression, property, type and relation
// names and the truth words. Comparisons with them are exact and case-sensitive.

namespace CorePlugin {

namespace ExpressionName {
inline constexpr wchar_t kNot[] = L"Not";
inline constexpr wchar_t kAnd[] = L"And";
inline constexpr wchar_t kOr[] = L"Or";
inline constexpr wchar_t kFileInfo[] = L"FileInfo";
inline constexpr wchar_t kFileInfoCompare[] = L"FileInfoCompare";
inline constexpr wchar_t kFileExists[] = L"FileExists";
inline constexpr wchar_t kFileDirectory[] = L"FileDirectory";
inline constexpr wchar_t kPathExists[] = L"PathExists";
inline constexpr wchar_t kValueOf[] = L"ValueOf";
inline constexpr wchar_t kCompare[] = L"Compare";
inline constexpr wchar_t kVector[] = L"Vector";
inline constexpr wchar_t kSort[] = L"Sort";
inline constexpr wchar_t kMatch[] = L"Match";
inline constexpr wchar_t kConcat[] = L"Concat";
inline constexpr wchar_t kSwitch[] = L"Switch";
inline constexpr wchar_t kBitwiseAnd[] = L"BitwiseAnd";
inline constexpr wchar_t kBitwiseInclusiveOr[] = L"BitwiseInclusiveOr";
inline constexpr wchar_t kBitwiseExclusiveOr[] = L"BitwiseExclusiveOr";
inline constexpr wchar_t kScalarToVector[] = L"ScalarToVector";
inline constexpr wchar_t kVectorToScalar[] = L"VectorToScalar";
inline constexpr wchar_t kVectorIterator[] = L"VectorIterator";
inline constexpr wchar_t kVectorAt[] = L"VectorAt";
inline constexpr wchar_t kMd5[] = L"Md5";
inline constexpr wchar_t kSubstring[] = L"Substring";
inline constexpr wchar_t kContains[] = L"Contains";
inline constexpr wchar_t kClip[] = L"Clip";
inline constexpr wchar_t kStringSlice[] = L"StringSlice";
inline constexpr wchar_t kStringCrop[] = L"StringCrop";
inline constexpr wchar_t kIniFileKeyExists[] = L"IniFileKeyExists";
inline constexpr wchar_t kIniFileKeyValue[] = L"IniFileKeyValue";
inline constexpr wchar_t kMountServer[] = L"MountServer";
inline constexpr wchar_t kMountPath[] = L"MountPath";
inline constexpr wchar_t kMountRemotePath[] = L"MountRemotePath";
}  // namespace ExpressionName

namespace PropertyName {
inline constexpr wchar_t kAbsolutePath[] = L"absolutePath";
inline constexpr wchar_t kDefault[] = L"default";
inline constexpr wchar_t kEndIndex[] = L"endIndex";
inline constexpr wchar_t kEndString[] = L"endString";
inline constexpr wchar_t kField[] = L"field";
inline constexpr wchar_t kFile[] = L"file";
inline constexpr wchar_t kFilter[] = L"filter";
inline constexpr wchar_t kIfEmpty[] = L"ifEmpty";
inline constexpr wchar_t kIgnoreCase[] = L"ignoreCase";
inline constexpr wchar_t kIndex[] = L"index";
inline constexpr wchar_t kInputString[] = L"inputString";
inline constexpr wchar_t kKey[] = L"key";
inline constexpr wchar_t kMustExist[] = L"mustExist";
inline constexpr wchar_t kOrder[] = L"order";
inline constexpr wchar_t kPosition[] = L"position";
inline constexpr wchar_t kRelation[] = L"relation";
inline constexpr wchar_t kSearchedString[] = L"searchedString";
inline constexpr wchar_t kSection[] = L"section";
inline constexpr wchar_t kSeekFrom[] = L"seekFrom";
inline constexpr wchar_t kSeparator[] = L"separator";
inline constexpr wchar_t kStartIndex[] = L"startIndex";
inline constexpr wchar_t kStartString[] = L"startString";
inline constexpr wchar_t kType[] = L"type";
inline constexpr wchar_t kValue[] = L"value";
}  // namespace PropertyName

namespace TypeName {
inline constexpr wchar_t kVersion[] = L"version";
inline constexpr wchar_t kInteger[] = L"integer";
inline constexpr wchar_t kUInteger[] = L"uinteger";
inline constexpr wchar_t kString[] = L"string";
inline constexpr wchar_t kCiString[] = L"cistring";
inline constexpr wchar_t kBoolean[] = L"boolean";
inline constexpr wchar_t kHex[] = L"hex";
}  // namespace TypeName

namespace RelationName {
inline constexpr wchar_t kEq[] = L"eq";
inline constexpr wchar_t kNe[] = L"ne";
inline constexpr wchar_t kGt[] = L"gt";
inline constexpr wchar_t kGe[] = L"ge";
inline constexpr wchar_t kLt[] = L"lt";
inline constexpr wchar_t kLe[] = L"le";
}  // namespace RelationName

// Values of "field" (FileInfo, FileInfoCompare): the file attributes.
namespace FieldName {
inline constexpr wchar_t kSize[] = L"size";
inline constexpr wchar_t kInode[] = L"inode";
inline constexpr wchar_t kMtime[] = L"mtime";
inline constexpr wchar_t kCtime[] = L"ctime";
inline constexpr wchar_t kAtime[] = L"atime";
}  // namespace FieldName

// Values of "position" (Contains), "seekFrom" (StringCrop) and "order" (Sort).
namespace PropertyValue {
inline constexpr wchar_t kStart[] = L"start";
inline constexpr wchar_t kEnd[] = L"end";
inline constexpr wchar_t kLeft[] = L"left";
inline constexpr wchar_t kRight[] = L"right";
inline constexpr wchar_t kAscending[] = L"asc";
inline constexpr wchar_t kDescending[] = L"desc";
}  // namespace PropertyValue

namespace TruthWord {
inline constexpr wchar_t kTrue[] = L"true";
inline constexpr wchar_t kFalse[] = L"false";
}  // namespace TruthWord

}  // namespace CorePlugin
