#pragma once

#include <cstdint>

namespace PluginSDK {

/// Every result code of the plug-in: 0 for success, negative for failure.
enum ResultCode : std::int32_t {
    RC_SUCCESS = 0,
    RC_INVALID_ARGUMENT = -101,
    RC_NOT_SUPPORTED = -102,
    RC_MOUNT_TABLE_UNAVAILABLE = -400,
    RC_SECOND_OPERAND = -10004,
    RC_THIRD_OPERAND = -10005,
    RC_NOT_A_TRUTH_VALUE = -10006,
    RC_OPERANDS_MISSING = -10007,
    RC_UNKNOWN_EXPRESSION = -10008,
    RC_UNKNOWN_RELATION = -11007,
    RC_INVALID_VERSION = -11008,
    RC_FILE_STATUS_FAILED = -11009,
    RC_UNKNOWN_TYPE = -11010,
    RC_UNKNOWN_FIELD = -11011,
    RC_FILE_NO_PATH = -11012,
    RC_NOT_A_REGULAR_FILE = -11013,
    RC_PATH_NO_PATH = -11014,
    RC_NOT_AN_UNSIGNED_NUMBER = -11019,
    RC_KEY_ABSENT = -11020,
    RC_VALUE_ABSENT = -11022,
    RC_RELATION_ABSENT = -11023,
    RC_ABSOLUTE_PATH_ABSENT = -11025,
    RC_TYPE_ABSENT = -11026,
    RC_FIELD_ABSENT = -11027,
    RC_MUST_EXIST_INVALID = -11028,
    RC_FILE_MUST_EXIST = -11033,
    RC_INDEX_ABSENT = -11034,
    RC_TOO_FEW_VALUES = -11035,
    RC_TEXT_PROPERTY_ABSENT = -11038,
    RC_INDEX_UNUSABLE = -11039,
    RC_INDEX_PROPERTY_ABSENT = -11051,
    RC_POSITION_ABSENT = -11052,
    RC_ORDER_INVALID = -11056,
};

struct ResultCodeMeaning {
    std::int32_t code;
    const char* meaning;
};

/// The meaning of every code, as the host prints it.
inline constexpr ResultCodeMeaning kResultCodeMeanings[] = {
    {RC_SUCCESS, "success"},
    {RC_INVALID_ARGUMENT, "invalid argument or invalid value text"},
    {RC_NOT_SUPPORTED, "operation not supported by this expression"},
    {RC_MOUNT_TABLE_UNAVAILABLE, "the mount table is not available"},
    {RC_SECOND_OPERAND, "a one-operand operator was given a second operand"},
    {RC_THIRD_OPERAND, "a two-operand operator was given a third operand"},
    {RC_NOT_A_TRUTH_VALUE,
     "an operand that must be a truth value is neither \"true\" nor \"false\""},
    {RC_OPERANDS_MISSING, "the result was asked for before all operands arrived"},
    {RC_UNKNOWN_EXPRESSION, "unknown expression name"},
    {RC_UNKNOWN_RELATION, "relation name not in the table of relations"},
    {RC_INVALID_VERSION, "invalid version text"},
    {RC_FILE_STATUS_FAILED, "reading a file's status failed"},
    {RC_UNKNOWN_TYPE, "\"type\" names no known value type"},
    {RC_UNKNOWN_FIELD, "\"field\" names no known file attribute"},
    {RC_FILE_NO_PATH, "a file accessor has no path"},
    {RC_NOT_A_REGULAR_FILE, "the path is not a regular file"},
    {RC_PATH_NO_PATH, "a path accessor has no path; \"file\" absent"},
    {RC_NOT_AN_UNSIGNED_NUMBER, "text is not an unsigned number"},
    {RC_KEY_ABSENT, "\"key\" absent"},
    {RC_VALUE_ABSENT, "\"value\" absent"},
    {RC_RELATION_ABSENT, "\"relation\" absent"},
    {RC_ABSOLUTE_PATH_ABSENT, "\"absolutePath\" absent (\"file\" for FileDirectory)"},
    {RC_TYPE_ABSENT, "\"type\" absent"},
    {RC_FIELD_ABSENT, "\"field\" absent; \"section\" absent"},
    {RC_MUST_EXIST_INVALID, "\"mustExist\" is neither \"true\" nor \"false\""},
    {RC_FILE_MUST_EXIST, "the examined file does not exist although it must"},
    {RC_INDEX_ABSENT, "\"index\" absent"},
    {RC_TOO_FEW_VALUES, "fewer values than \"index\""},
    {RC_TEXT_PROPERTY_ABSENT, "a required text property (\"inputString\" and the like) absent"},
    {RC_INDEX_UNUSABLE, "an index or marker value cannot be used"},
    {RC_INDEX_PROPERTY_ABSENT, "an index or marker property absent"},
    {RC_POSITION_ABSENT, "\"position\" absent"},
    {RC_ORDER_INVALID, "\"order\" is neither \"asc\" nor \"desc\""},
};

/// The meaning of `code`, or null for a code outside the table.
constexpr const char* resultCodeMeaning(std::int32_t code) {
    for (const ResultCodeMeaning& entry : kResultCodeMeanings) {
        if (entry.code == code) {
            return entry.meaning;
        }
    }
    return nullptr;
}

}  // namespace PluginSDK
