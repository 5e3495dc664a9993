// The robot mathematics as the Python module robot_math: the C++ names, NumPy arrays in and out.

#include "conversions.h"
#include "robot_proxy/robot_math.h"

PYBIND11_MODULE(robot_math, m)
{
    namespace py = pybind11;
    m.doc() = R"(Robot mathematics: pose algebra, orientation conversions, kinematics, payload, geometry,
calibration and paths, with the names of the C++ library temla::robot_math.

Conventions:
  - A pose is an array of six floats [x, y, z, rx, ry, rz]: metres, roll/pitch/yaw in radians with
    R = Rz(rz)·Ry(ry)·Rx(rx). Homogeneous transforms are 4x4 arrays, rotations 3x3, quaternions
    [w, x, y, z]. Any array-like of floats is accepted; results are new NumPy arrays.
  - Where the C++ function answers a fallback for malformed input (six zeros, an empty vector) or a
    negative code for bad arguments, Python raises ValueError.
  - Where valid input has no answer (inverse kinematics that does not converge, points without a circle
    or plane), Python raises robot_math.NoSolutionError, a subclass of RuntimeError.
  - calibrateTcp returns a TcpCalibrationResult whose converged flag tells a determined tool point.)";
    py::register_exception<robot_math_python::NoSolution>(m, "NoSolutionError", PyExc_RuntimeError);
    robot_math_python::bindPoses(m);
    robot_math_python::bindKinematics(m);
    robot_math_python::bindGeometry(m);
    robot_math_python::bindCalibration(m);
    m.attr("kMaxPathPoints") = temla::robot_math::kMaxPathPoints;
    m.attr("kTcpConditionThreshold") = temla::robot_math::kTcpConditionThreshold;
}
