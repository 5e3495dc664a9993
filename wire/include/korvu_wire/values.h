#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "korvu_sdk/api.h"
#include "korvu_sdk/input_parser.h"
#include "korvu_sdk/types.h"
#include "korvu_wire/codec.h"

namespace temla
{
namespace korvu_wire
{
/// The SDK's frame of realtime values.
using InputParser = korvu_sdk::InputParser;
}  // namespace korvu_wire
}  // namespace temla

// JSON encodings of the SDK's value types, shared by the clients and the simulator. The decoders
// are strict: a value of the wrong JSON type or out of range raises WireError.

namespace temla
{
namespace korvu_wire
{

/// A value that does not decode.
class WireError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// @name Decoders
/// @{

/// The value decoded as the type the name gives; WireError when it is of the wrong JSON type or out of
/// range.
bool asBool(const Json &value);
int32_t asInt32(const Json &value);
int64_t asInt64(const Json &value);
double asDouble(const Json &value);  ///< integers are accepted as doubles
std::string asString(const Json &value);
std::vector<double> asDoubleVector(const Json &value);
std::vector<int32_t> asIntVector(const Json &value);
std::vector<std::string> asStringVector(const Json &value);
common_interface::KinematicsParam asKinematicsParam(const Json &value);
common_interface::Payload asPayload(const Json &value);
common_interface::RobotMsg asRobotMsg(const Json &value);
common_interface::GripperStatus asGripperStatus(const Json &value);
std::map<std::string, int> asOutputMap(const Json &value);  ///< names to InputParser::Type codes
/// @}

/// Enumerations travel as their integer value; any int32 is accepted.
template <typename Enum>
Enum asEnum(const Json &value)
{
    return static_cast<Enum>(asInt32(value));
}

/// @name Encoders
/// @{

/// The JSON encoding of a value, as the decoders read it.
Json toJson(const common_interface::Payload &payload);
Json toJson(const common_interface::RobotMsg &message);
Json toJson(const common_interface::GripperStatus &status);
Json toJson(const common_interface::KinematicsParam &param);
/// @}

/// Realtime values, typed by InputParser::Type.
/// Whether code is an InputParser::Type code.
bool isValueType(int code);
/// The type code of value.
InputParser::Type typeOf(const InputParser::Value &value);
/// The JSON encoding of a realtime value.
Json encodeValue(const InputParser::Value &value);
/// The realtime value of type decoded from value; WireError when it does not match.
InputParser::Value decodeValue(const Json &value, InputParser::Type type);

}  // namespace korvu_wire
}  // namespace temla
