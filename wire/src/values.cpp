#include "korvu_wire/values.h"

#include <limits>

namespace temla
{
namespace korvu_wire
{

using common_interface::GripperStatus;
using common_interface::JointStateType;
using common_interface::KinematicsParam;
using common_interface::Payload;
using common_interface::RobotModeType;
using common_interface::RobotMsg;
using common_interface::RuntimeState;
using common_interface::SafetyModeType;

namespace
{

const Json &member(const Json &object, const char *name)
{
    if (!object.is_object()) {
        throw WireError("expected an object");
    }
    const auto it = object.find(name);
    if (it == object.end()) {
        throw WireError(std::string("missing member \"") + name + "\"");
    }
    return *it;
}

// Optional members default, so a peer may omit fields it does not know.
template <typename T, typename Reader>
T optionalMember(const Json &object, const char *name, T fallback, Reader read)
{
    const auto it = object.find(name);
    return it == object.end() ? fallback : read(*it);
}

template <typename T, typename Reader>
std::vector<T> asVector(const Json &value, Reader read)
{
    if (!value.is_array()) {
        throw WireError("expected an array");
    }
    std::vector<T> result;
    result.reserve(value.size());
    for (const auto &element : value) {
        result.push_back(read(element));
    }
    return result;
}

std::vector<double> asFixedDoubleVector(const Json &value, std::size_t size)
{
    auto result = asDoubleVector(value);
    if (result.size() != size) {
        throw WireError("expected " + std::to_string(size) + " numbers");
    }
    return result;
}

}  // namespace

bool asBool(const Json &value)
{
    if (!value.is_boolean()) {
        throw WireError("expected a boolean");
    }
    return value.get<bool>();
}

int64_t asInt64(const Json &value)
{
    if (value.is_number_unsigned()) {
        const auto raw = value.get<uint64_t>();
        if (raw > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
            throw WireError("integer out of range");
        }
        return static_cast<int64_t>(raw);
    }
    if (!value.is_number_integer()) {
        throw WireError("expected an integer");
    }
    return value.get<int64_t>();
}

int32_t asInt32(const Json &value)
{
    const auto wide = asInt64(value);
    if (wide < std::numeric_limits<int32_t>::min() || wide > std::numeric_limits<int32_t>::max()) {
        throw WireError("integer out of 32-bit range");
    }
    return static_cast<int32_t>(wide);
}

double asDouble(const Json &value)
{
    if (!value.is_number()) {
        throw WireError("expected a number");
    }
    return value.get<double>();
}

std::string asString(const Json &value)
{
    if (!value.is_string()) {
        throw WireError("expected a string");
    }
    return value.get<std::string>();
}

std::vector<double> asDoubleVector(const Json &value)
{
    return asVector<double>(value, asDouble);
}
std::vector<int32_t> asIntVector(const Json &value)
{
    return asVector<int32_t>(value, asInt32);
}
std::vector<std::string> asStringVector(const Json &value)
{
    return asVector<std::string>(value, asString);
}

KinematicsParam asKinematicsParam(const Json &value)
{
    if (!value.is_object()) {
        throw WireError("expected an object");
    }
    KinematicsParam result;
    for (auto it = value.begin(); it != value.end(); ++it) {
        result.emplace(it.key(), asDoubleVector(it.value()));
    }
    return result;
}

Payload asPayload(const Json &value)
{
    return Payload{asDouble(member(value, "mass")), asFixedDoubleVector(member(value, "cog"), 3),
                   asFixedDoubleVector(member(value, "aom"), 3),
                   asFixedDoubleVector(member(value, "inertia"), 9)};
}

RobotMsg asRobotMsg(const Json &value)
{
    RobotMsg message;
    message.timestamp = asInt64(member(value, "timestamp"));
    message.level = asInt32(member(value, "level"));
    message.code = asInt32(member(value, "code"));
    message.source = asString(member(value, "source"));
    message.args = asStringVector(member(value, "args"));
    return message;
}

GripperStatus asGripperStatus(const Json &value)
{
    GripperStatus status;
    status.name = asString(member(value, "name"));
    status.connected = optionalMember(value, "connected", false, asBool);
    status.enabled = optionalMember(value, "enabled", false, asBool);
    status.error_code = optionalMember(value, "error_code", int32_t{0}, asInt32);
    status.position = optionalMember(value, "position", 0.0, asDouble);
    status.speed = optionalMember(value, "speed", 0.0, asDouble);
    status.force = optionalMember(value, "force", 0.0, asDouble);
    return status;
}

std::map<std::string, int> asOutputMap(const Json &value)
{
    if (!value.is_object()) {
        throw WireError("expected an object");
    }
    std::map<std::string, int> result;
    for (auto it = value.begin(); it != value.end(); ++it) {
        const auto type = asInt32(it.value());
        if (!isValueType(type)) {
            throw WireError("unknown value type " + std::to_string(type));
        }
        result.emplace(it.key(), type);
    }
    return result;
}

Json toJson(const Payload &payload)
{
    return Json{{"mass", std::get<0>(payload)},
                {"cog", std::get<1>(payload)},
                {"aom", std::get<2>(payload)},
                {"inertia", std::get<3>(payload)}};
}

Json toJson(const RobotMsg &message)
{
    return Json{{"timestamp", message.timestamp},
                {"level", message.level},
                {"code", message.code},
                {"source", message.source},
                {"args", message.args}};
}

Json toJson(const GripperStatus &status)
{
    return Json{{"name", status.name},         {"connected", status.connected},
                {"enabled", status.enabled},   {"error_code", status.error_code},
                {"position", status.position}, {"speed", status.speed},
                {"force", status.force}};
}

Json toJson(const KinematicsParam &param)
{
    Json result = Json::object();
    for (const auto &entry : param) {
        result[entry.first] = entry.second;
    }
    return result;
}

bool isValueType(int code)
{
    return code >= static_cast<int>(InputParser::Type::Bool) &&
           code <= static_cast<int>(InputParser::Type::RobotMsgVector);
}

InputParser::Type typeOf(const InputParser::Value &value)
{
    return static_cast<InputParser::Type>(value.index());
}

namespace
{

template <typename Enum>
Json enumJson(Enum value)
{
    return Json(static_cast<int32_t>(value));
}

template <typename T>
Json listJson(const std::vector<T> &values)
{
    Json result = Json::array();
    for (const auto &value : values) {
        result.push_back(toJson(value));
    }
    return result;
}

struct ValueEncoder {
    Json operator()(bool value) const { return Json(value); }
    Json operator()(int32_t value) const { return Json(value); }
    Json operator()(int64_t value) const { return Json(value); }
    Json operator()(double value) const { return Json(value); }
    Json operator()(const std::vector<double> &value) const { return Json(value); }
    Json operator()(const std::vector<int32_t> &value) const { return Json(value); }
    Json operator()(const std::vector<JointStateType> &value) const
    {
        Json result = Json::array();
        for (const auto state : value) {
            result.push_back(enumJson(state));
        }
        return result;
    }
    Json operator()(RobotModeType value) const { return enumJson(value); }
    Json operator()(SafetyModeType value) const { return enumJson(value); }
    Json operator()(RuntimeState value) const { return enumJson(value); }
    Json operator()(const Payload &value) const { return toJson(value); }
    Json operator()(const std::vector<GripperStatus> &value) const { return listJson(value); }
    Json operator()(const std::vector<RobotMsg> &value) const { return listJson(value); }
};

}  // namespace

Json encodeValue(const InputParser::Value &value)
{
    return std::visit(ValueEncoder{}, value);
}

InputParser::Value decodeValue(const Json &value, InputParser::Type type)
{
    using Type = InputParser::Type;
    switch (type) {
        case Type::Bool:
            return asBool(value);
        case Type::Int32:
            return asInt32(value);
        case Type::Int64:
            return asInt64(value);
        case Type::Double:
            return asDouble(value);
        case Type::VectorDouble:
            return asDoubleVector(value);
        case Type::VectorInt:
            return asIntVector(value);
        case Type::VectorJointStateType:
            return asVector<JointStateType>(value, asEnum<JointStateType>);
        case Type::RobotModeType:
            return asEnum<RobotModeType>(value);
        case Type::SafetyModeType:
            return asEnum<SafetyModeType>(value);
        case Type::RuntimeState:
            return asEnum<RuntimeState>(value);
        case Type::Payload:
            return asPayload(value);
        case Type::GripperStatusVector:
            return asVector<GripperStatus>(value, asGripperStatus);
        case Type::RobotMsgVector:
            return asVector<RobotMsg>(value, asRobotMsg);
    }
    throw WireError("unknown value type");
}

}  // namespace korvu_wire
}  // namespace temla
