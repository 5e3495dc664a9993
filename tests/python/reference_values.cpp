// Prints, as JSON, forward kinematics and Jacobians of the six-joint test arm computed by the C++ library,
// for the Python suite to compare its module against.

#include <cstdio>
#include <vector>

#include "arm_test_support.h"
#include "robot_proxy/robot_math.h"

namespace
{

void printArray(std::vector<double> const &values)
{
    std::printf("[");
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::printf("%s%.17g", i == 0 ? "" : ", ", values[i]);
    }
    std::printf("]");
}

void printTable(char const *name, arm_test::Table const &table)
{
    std::printf("\"%s\": [", name);
    for (std::size_t r = 0; r < table.size(); ++r) {
        std::printf("%s", r == 0 ? "" : ", ");
        printArray(table[r]);
    }
    std::printf("],\n");
}

}  // namespace

int main()
{
    using namespace temla::robot_math;
    std::printf("{\n");
    printTable("dh", arm_test::kDh);
    printTable("compensation", arm_test::kCompensation);
    std::printf("\"tool\": ");
    printArray(arm_test::kTool);
    std::printf(",\n\"cases\": [\n");
    pose_test::RandomPoses random(31);
    for (int n = 0; n < 10; ++n) {
        std::vector<double> const q = arm_test::randomJoints(random);
        std::vector<double> pose, jac;
        forwardKinematics(pose, q, arm_test::kTool, arm_test::kDh, arm_test::kCompensation, -1);
        jacobian(jac, q, arm_test::kTool, arm_test::kDh, arm_test::kCompensation);
        std::printf("%s{\"q\": ", n == 0 ? "" : ",\n");
        printArray(q);
        std::printf(", \"pose\": ");
        printArray(pose);
        std::printf(", \"jacobian\": ");
        printArray(jac);
        std::printf("}");
    }
    std::printf("\n]\n}\n");
    return 0;
}
