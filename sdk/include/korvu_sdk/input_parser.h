#pragma once

#include <cstddef>
#include <cstdint>
#include <variant>
#include <vector>

#include "korvu_sdk/export.h"
#include "korvu_sdk/korvu_exception.h"
#include "korvu_sdk/types.h"

namespace temla
{
namespace korvu_sdk
{

/// The values of one realtime frame, in the order of the topic's names. Each pop takes the next
/// value and checks its type: a value of another type raises KorvuException with
/// error_code::kParserType (the value stays unread), a pop past the last value raises
/// error_code::kParserEnd.
class KORVU_SDK_EXPORT InputParser
{
public:
    /// The alternatives are in the order of Type.
    using Value = std::variant<bool, int32_t, int64_t, double, std::vector<double>, std::vector<int32_t>,
                               std::vector<common_interface::JointStateType>, common_interface::RobotModeType,
                               common_interface::SafetyModeType, common_interface::RuntimeState,
                               common_interface::Payload, std::vector<common_interface::GripperStatus>,
                               std::vector<common_interface::RobotMsg>>;

    /// Value type codes; the realtime server reports them for each output it offers.
    enum class Type : int {
        Bool = 0,
        Int32 = 1,
        Int64 = 2,
        Double = 3,
        VectorDouble = 4,
        VectorInt = 5,
        VectorJointStateType = 6,
        RobotModeType = 7,
        SafetyModeType = 8,
        RuntimeState = 9,
        Payload = 10,
        GripperStatusVector = 11,
        RobotMsgVector = 12,
    };

    /// An empty frame.
    InputParser() = default;
    /// A frame holding values, popped in order.
    explicit InputParser(std::vector<Value> values) : values_(std::move(values)) {}

    /// @name Pops
    /// @{

    /// The next value, which must be of the type the name gives (see the class description).
    bool popBool();
    int32_t popInt32();
    int64_t popInt64();
    double popDouble();
    std::vector<double> popVectorDouble();
    std::vector<int32_t> popVectorInt();
    std::vector<common_interface::JointStateType> popVectorJointStateType();
    common_interface::RobotModeType popRobotModeType();
    common_interface::SafetyModeType popSafetyModeType();
    common_interface::RuntimeState popRuntimeState();
    common_interface::Payload popPayload();
    std::vector<common_interface::GripperStatus> popGripperStatusVector();
    std::vector<common_interface::RobotMsg> popRobotMsgVector();
    /// @}

    /// Values not yet popped.
    std::size_t remaining() const { return values_.size() - next_; }

private:
    template <typename T>
    T pop(Type type);

    std::vector<Value> values_;
    std::size_t next_ = 0;
};

}  // namespace korvu_sdk
}  // namespace temla
