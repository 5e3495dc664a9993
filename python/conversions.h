#pragma once

// NumPy arrays to and from the library's vectors, tables and transforms, with the size checks that turn
// the C++ fallbacks (six zeros, an empty vector) into ValueError.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <Eigen/Geometry>

#include <string>
#include <vector>

namespace robot_math_python
{

namespace py = pybind11;

using Array = py::array_t<double, py::array::c_style | py::array::forcecast>;
using Vector = std::vector<double>;
using Table = std::vector<std::vector<double>>;

// Raised where the C++ function reports that there is no answer for valid input (no convergence, no
// circle, no plane): registered as robot_math.NoSolutionError, a subclass of RuntimeError.
struct NoSolution : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] inline void badArgument(std::string const &message)
{
    throw py::value_error(message);
}

// All values of a, flattened; exactly `size` of them unless size is 0.
inline Vector values(Array const &a, std::size_t size, char const *name)
{
    auto const count = static_cast<std::size_t>(a.size());
    if (size != 0 && count != size) {
        badArgument(std::string(name) + " needs " + std::to_string(size) + " values, got " +
                    std::to_string(count));
    }
    return Vector(a.data(), a.data() + count);
}

inline Vector pose(Array const &a, char const *name = "pose")
{
    return values(a, 6, name);
}

inline Vector point(Array const &a, char const *name = "point")
{
    return values(a, 3, name);
}

// Rows of a 2-D array (or one row of a 1-D one), each `width` values long unless width is 0.
inline Table rows(Array const &a, std::size_t width, char const *name)
{
    if (a.ndim() == 0 || a.ndim() > 2) {
        badArgument(std::string(name) + " must be a 1-D or 2-D array");
    }
    std::size_t const count = a.ndim() == 2 ? static_cast<std::size_t>(a.shape(0)) : 1;
    std::size_t const length =
        a.ndim() == 2 ? static_cast<std::size_t>(a.shape(1)) : static_cast<std::size_t>(a.shape(0));
    if (width != 0 && length != width && a.size() != 0) {
        badArgument(std::string(name) + " needs rows of " + std::to_string(width) + " values");
    }
    Table out(count);
    for (std::size_t r = 0; r < count; ++r) {
        out[r].assign(a.data() + r * length, a.data() + (r + 1) * length);
    }
    return a.size() == 0 ? Table{} : out;
}

// A 4×n Denavit-Hartenberg table (rows alpha, a, d, theta); None gives the empty table.
inline Table dhTable(py::object const &table, char const *name)
{
    if (table.is_none()) {
        return {};
    }
    return rows(Array::ensure(table), 0, name);
}

inline py::array_t<double> array(Vector const &v)
{
    return py::array_t<double>(static_cast<py::ssize_t>(v.size()), v.data());
}

inline py::array_t<double> array(Table const &t, std::size_t width)
{
    py::array_t<double> out({static_cast<py::ssize_t>(t.size()), static_cast<py::ssize_t>(width)});
    auto view = out.mutable_unchecked<2>();
    for (std::size_t r = 0; r < t.size(); ++r) {
        for (std::size_t c = 0; c < width; ++c) {
            view(static_cast<py::ssize_t>(r), static_cast<py::ssize_t>(c)) = t[r][c];
        }
    }
    return out;
}

// rows × cols values stored row by row.
inline py::array_t<double> matrix(double const *data, py::ssize_t rows_count, py::ssize_t cols)
{
    py::array_t<double> out({rows_count, cols});
    std::copy(data, data + rows_count * cols, out.mutable_data());
    return out;
}

inline Eigen::Affine3d transform(Array const &a, char const *name = "matrix")
{
    if (a.ndim() != 2 || a.shape(0) != 4 || a.shape(1) != 4) {
        badArgument(std::string(name) + " must be a 4x4 array");
    }
    Eigen::Affine3d t;
    t.matrix() = Eigen::Map<Eigen::Matrix<double, 4, 4, Eigen::RowMajor> const>(a.data());
    return t;
}

inline py::array_t<double> matrix(Eigen::Affine3d const &t)
{
    Eigen::Matrix<double, 4, 4, Eigen::RowMajor> const m = t.matrix();
    return matrix(m.data(), 4, 4);
}

inline py::array_t<double> matrix(Eigen::Matrix3d const &r)
{
    Eigen::Matrix<double, 3, 3, Eigen::RowMajor> const m = r;
    return matrix(m.data(), 3, 3);
}

inline Eigen::Matrix3d matrix3(Array const &a, char const *name)
{
    if (a.ndim() != 2 || a.shape(0) != 3 || a.shape(1) != 3) {
        badArgument(std::string(name) + " must be a 3x3 array");
    }
    return Eigen::Map<Eigen::Matrix<double, 3, 3, Eigen::RowMajor> const>(a.data());
}

inline Eigen::Vector3d vector3(Array const &a, char const *name)
{
    Vector const v = point(a, name);
    return {v[0], v[1], v[2]};
}

inline py::array_t<double> array(Eigen::Vector3d const &v)
{
    return py::array_t<double>(3, v.data());
}

// A non-empty result, or ValueError with the reason the C++ function gives by an empty one.
inline py::array_t<double> nonEmpty(Vector const &v, char const *reason)
{
    if (v.empty()) {
        badArgument(reason);
    }
    return array(v);
}

void bindPoses(py::module_ &m);
void bindKinematics(py::module_ &m);
void bindGeometry(py::module_ &m);
void bindCalibration(py::module_ &m);

}  // namespace robot_math_python
