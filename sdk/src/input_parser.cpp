#include "korvu_sdk/input_parser.h"

#include <string>

namespace temla
{
namespace korvu_sdk
{

using common_interface::KorvuException;
namespace error_code = common_interface::error_code;

namespace
{

const char *typeName(std::size_t index)
{
    static const char *const names[] = {"bool",
                                        "int32",
                                        "int64",
                                        "double",
                                        "vector<double>",
                                        "vector<int>",
                                        "vector<JointStateType>",
                                        "RobotModeType",
                                        "SafetyModeType",
                                        "RuntimeState",
                                        "payload",
                                        "vector<GripperStatus>",
                                        "vector<RobotMsg>"};
    return index < std::variant_size_v<InputParser::Value> ? names[index] : "unknown";
}

}  // namespace

template <typename T>
T InputParser::pop(Type type)
{
    const auto expected = static_cast<std::size_t>(type);
    if (next_ >= values_.size()) {
        throw KorvuException(error_code::kParserEnd, std::string("InputParser: pop of ") +
                                                         typeName(expected) + " past the end of a frame of " +
                                                         std::to_string(values_.size()) + " values");
    }
    auto *value = std::get_if<T>(&values_[next_]);
    if (value == nullptr) {
        throw KorvuException(error_code::kParserType, "InputParser: value " + std::to_string(next_) + " is " +
                                                          typeName(values_[next_].index()) + ", not " +
                                                          typeName(expected));
    }
    ++next_;
    return std::move(*value);
}

bool InputParser::popBool()
{
    return pop<bool>(Type::Bool);
}
int32_t InputParser::popInt32()
{
    return pop<int32_t>(Type::Int32);
}
int64_t InputParser::popInt64()
{
    return pop<int64_t>(Type::Int64);
}
double InputParser::popDouble()
{
    return pop<double>(Type::Double);
}
std::vector<double> InputParser::popVectorDouble()
{
    return pop<std::vector<double>>(Type::VectorDouble);
}
std::vector<int32_t> InputParser::popVectorInt()
{
    return pop<std::vector<int32_t>>(Type::VectorInt);
}

std::vector<common_interface::JointStateType> InputParser::popVectorJointStateType()
{
    return pop<std::vector<common_interface::JointStateType>>(Type::VectorJointStateType);
}

common_interface::RobotModeType InputParser::popRobotModeType()
{
    return pop<common_interface::RobotModeType>(Type::RobotModeType);
}

common_interface::SafetyModeType InputParser::popSafetyModeType()
{
    return pop<common_interface::SafetyModeType>(Type::SafetyModeType);
}

common_interface::RuntimeState InputParser::popRuntimeState()
{
    return pop<common_interface::RuntimeState>(Type::RuntimeState);
}

common_interface::Payload InputParser::popPayload()
{
    return pop<common_interface::Payload>(Type::Payload);
}

std::vector<common_interface::GripperStatus> InputParser::popGripperStatusVector()
{
    return pop<std::vector<common_interface::GripperStatus>>(Type::GripperStatusVector);
}

std::vector<common_interface::RobotMsg> InputParser::popRobotMsgVector()
{
    return pop<std::vector<common_interface::RobotMsg>>(Type::RobotMsgVector);
}

}  // namespace korvu_sdk
}  // namespace temla
