#pragma once

// Cost functor of one flange pose in the tool-point calibration (private to the library).

#include <ceres/rotation.h>

namespace temla
{
namespace robot_math
{

// Residual point - (R·tcp + t) for one flange pose (R as an angle-axis vector, t its position). The
// parameter blocks are the tool point in the flange frame and the touched point in the base frame.
struct ToolPointEstimator {
    ToolPointEstimator(double const *angle_axis_in, double const *position_in)
        : angle_axis{angle_axis_in[0], angle_axis_in[1], angle_axis_in[2]},
          position{position_in[0], position_in[1], position_in[2]}
    {
    }

    template <typename T>
    bool operator()(T const *tcp, T const *point, T *residual) const
    {
        T const axis[3] = {T(angle_axis[0]), T(angle_axis[1]), T(angle_axis[2])};
        T rotated[3];
        ceres::AngleAxisRotatePoint(axis, tcp, rotated);
        for (int i = 0; i < 3; ++i) {
            residual[i] = point[i] - (rotated[i] + T(position[i]));
        }
        return true;
    }

    double angle_axis[3];
    double position[3];
};

}  // namespace robot_math
}  // namespace temla
