"""The robot_math module: round trips, inverse kinematics, TCP calibration, the failure conventions, and
forward kinematics and Jacobians against the values the C++ library computes."""

import json
import math
import os
import subprocess
import unittest

import numpy as np

import robot_math as rm


def random_pose(rng):
    return np.concatenate([rng.uniform(-1, 1, 3), rng.uniform(-math.pi, math.pi, 1),
                           rng.uniform(-math.pi / 2, math.pi / 2, 1), rng.uniform(-math.pi, math.pi, 1)])


def same_transform(a, b, tol=1e-12):
    return np.allclose(rm.to_matrix(a), rm.to_matrix(b), rtol=0, atol=tol)


class ReferenceValues(unittest.TestCase):
    """The C++ library's forward kinematics and Jacobian of the test arm, printed by a helper program."""

    @classmethod
    def setUpClass(cls):
        output = subprocess.run([os.environ["ROBOT_MATH_REFERENCE"]], check=True, capture_output=True, text=True)
        cls.reference = json.loads(output.stdout)

    def test_forward_kinematics_and_jacobian_equal_the_cpp_values(self):
        ref = self.reference
        for case in ref["cases"]:
            pose = rm.forwardKinematics(case["q"], ref["tool"], ref["dh"], ref["compensation"])
            np.testing.assert_array_equal(pose, case["pose"])
            jac = rm.jacobian(case["q"], ref["tool"], ref["dh"], ref["compensation"])
            self.assertEqual(jac.shape, (6, 6))
            np.testing.assert_array_equal(jac.ravel(), case["jacobian"])

    def test_inverse_kinematics_round_trip(self):
        ref = self.reference
        limits = np.full(6, 2 * math.pi)
        for case in ref["cases"]:
            seed = np.asarray(case["q"]) + 0.2
            q = rm.inverseKinematics(case["pose"], seed, ref["tool"], ref["dh"], ref["compensation"], -limits, limits)
            reached = rm.forwardKinematics(q, ref["tool"], ref["dh"], ref["compensation"])
            self.assertTrue(same_transform(reached, case["pose"], 1e-9))

    def test_inverse_kinematics_failures_raise(self):
        ref = self.reference
        limits = np.full(6, 2 * math.pi)
        far = [3.0, 0.0, 0.0, 0.0, 0.0, 0.0]
        with self.assertRaises(rm.NoSolutionError):
            rm.inverseKinematics(far, np.zeros(6), ref["tool"], ref["dh"], None, -limits, limits)
        with self.assertRaises(ValueError):
            rm.inverseKinematics(far, np.zeros(6), ref["tool"], ref["dh"], None, -limits[:5], limits)
        options = rm.InverseKinematicsOptions()
        options.max_iterations = 0
        with self.assertRaises(rm.NoSolutionError):
            rm.inverseKinematics(ref["cases"][0]["pose"], np.zeros(6), ref["tool"], ref["dh"], None, -limits, limits,
                                 options)
        with self.assertRaises(ValueError):
            rm.forwardKinematics(np.zeros(6), [0, 0, 0], ref["dh"])
        with self.assertRaises(ValueError):
            rm.forwardKinematics(np.zeros(6), None, ref["dh"], joint=6)


class RoundTrips(unittest.TestCase):
    def test_pose_algebra_and_conversions(self):
        rng = np.random.default_rng(3)
        for _ in range(100):
            a, b = random_pose(rng), random_pose(rng)
            self.assertTrue(same_transform(rm.pose_trans(a, rm.pose_inverse(a)), np.zeros(6)))
            self.assertTrue(same_transform(rm.from_matrix(rm.to_matrix(a)), a))
            self.assertTrue(same_transform(rm.homMatrixToPose(rm.poseToHomMatrix(a)), a))
            self.assertTrue(same_transform(rm.pose_add(rm.pose_sub(a, b), b), a))
            np.testing.assert_allclose(rm.to_matrix(rm.pose_trans(a, b)), rm.to_matrix(a) @ rm.to_matrix(b),
                                       atol=1e-12)
            q = rm.rpy_to_quaternion(a[3:])
            self.assertEqual(q.shape, (4,))
            np.testing.assert_allclose(rm.eulerToRotationMatrix(*rm.quaternion_to_rpy(q)), rm.to_matrix(a)[:3, :3],
                                       atol=1e-12)
            np.testing.assert_allclose(rm.RotationToEuler(rm.eulerToRotation(a[3:])), a[3:], atol=1e-9)

    def test_arrays_of_other_types_and_shapes(self):
        self.assertEqual(rm.to_matrix([1, 2, 3, 0, 0, 0]).shape, (4, 4))
        self.assertEqual(rm.to_matrix(np.arange(6, dtype=np.int32)).dtype, np.float64)
        np.testing.assert_array_equal(rm.pose_inverse((1, 2, 3, 0, 0, 0)), [-1, -2, -3, 0, 0, 0])

    def test_wrong_sizes_raise_value_error(self):
        for call in (lambda: rm.pose_inverse([1, 2, 3]), lambda: rm.pose_trans(np.zeros(6), np.zeros(5)),
                     lambda: rm.from_matrix(np.eye(3)), lambda: rm.cross([1, 0], [0, 1, 0]),
                     lambda: rm.changeFTFrame(np.zeros(6), np.zeros(3))):
            with self.assertRaises(ValueError):
                call()

    def test_geometry_failures_raise(self):
        with self.assertRaises(rm.NoSolutionError):
            rm.circleCenter([0, 0, 0], [1, 0, 0], [2, 0, 0])
        center, radius = rm.circleCenter([1, 0, 0], [0, 1, 0], [-1, 0, 0])
        np.testing.assert_allclose(center, [0, 0, 0], atol=1e-15)
        self.assertAlmostEqual(radius, 1.0)
        with self.assertRaises(ValueError):
            rm.pathMovel(np.zeros(6), 0, [1, 0, 0, 0, 0, 0], 0, 0.0)
        self.assertEqual(rm.pathMovel(np.zeros(6), 0, [1, 0, 0, 0, 0, 0], 0, 0.25).shape, (5, 6))


class TcpCalibration(unittest.TestCase):
    tcp = np.array([0.012, -0.034, 0.153])
    point = np.array([0.45, -0.2, 0.08])

    def flange_poses(self, rng, count, axis=None):
        """Transforms touching self.point with self.tcp, tilted about random axes (or one given axis)."""
        poses = []
        for _ in range(count):
            a = axis if axis is not None else rng.normal(size=3)
            r = rm.to_matrix(np.concatenate([np.zeros(3), rm.axisAngleToEuler(a, rng.uniform(0.2, 0.7))]))[:3, :3]
            t = np.eye(4)
            t[:3, :3] = r
            t[:3, 3] = self.point - r @ self.tcp
            poses.append(t)
        return np.array(poses)

    def test_recovers_a_known_tcp(self):
        rng = np.random.default_rng(5)
        poses = self.flange_poses(rng, 10)
        result = rm.calibrateTcp(poses)
        self.assertTrue(result.converged)
        np.testing.assert_allclose(result.tcp, self.tcp, atol=1e-9)
        np.testing.assert_allclose(result.point, self.point, atol=1e-9)
        as_poses = np.array([rm.from_matrix(t) for t in poses])
        np.testing.assert_allclose(rm.calibrateTcp(as_poses).tcp, self.tcp, atol=1e-9)
        np.testing.assert_allclose(rm.calibrate_tcp(as_poses), self.tcp, atol=1e-9)

    def test_rotations_about_one_axis_do_not_converge(self):
        rng = np.random.default_rng(6)
        result = rm.calibrateTcp(self.flange_poses(rng, 8, axis=np.array([0.0, 0.0, 1.0])))
        self.assertFalse(result.converged)
        with self.assertRaises(ValueError):
            rm.calibrateTcp(np.zeros((3, 5)))


if __name__ == "__main__":
    unittest.main()
