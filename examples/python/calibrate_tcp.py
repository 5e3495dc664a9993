#!/usr/bin/env python3
"""Calibrate a tool centre point from a CSV of flange poses that all touch one fixed point.

Usage: calibrate_tcp.py FLANGE_POSES.csv

The CSV holds one flange pose per row, columns x, y, z (m) and rx, ry, rz (rad, roll/pitch/yaw);
lines starting with '#' are comments and a header row is allowed. Prints the tool point in the
flange frame, the touched point in the base frame and the residual of every pose.
"""

import argparse
import csv
import sys

import numpy as np

import robot_math


COLUMNS = ("x", "y", "z", "rx", "ry", "rz")


def read_poses(path):
    """N×6 array of the poses in the CSV file, in the column order of COLUMNS."""
    with open(path, newline="") as f:
        lines = [line for line in f if line.strip() and not line.lstrip().startswith("#")]
    reader = csv.reader(lines)
    rows = list(reader)
    if rows and rows[0][0].strip() in COLUMNS:
        order = [[name.strip() for name in rows[0]].index(c) for c in COLUMNS]
        rows = [[row[i] for i in order] for row in rows[1:]]
    return np.array(rows, dtype=float).reshape(-1, 6)


def residuals(poses, tcp, point):
    """Distance (m) of each pose's tool tip from the touched point."""
    tips = [robot_math.to_matrix(p) @ np.append(tcp, 1.0) for p in poses]
    return np.array([np.linalg.norm(tip[:3] - point) for tip in tips])


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("csv", help="flange poses, columns x,y,z,rx,ry,rz")
    args = parser.parse_args(argv)

    poses = read_poses(args.csv)
    result = robot_math.calibrateTcp(poses)
    if not result.converged:
        print("the poses do not determine the tool point: tilt the tool about more than one axis",
              file=sys.stderr)
        return 1
    print(f"poses:     {len(poses)}")
    print("tcp [m]:   " + " ".join(f"{v:8.4f}" for v in result.tcp))
    print("point [m]: " + " ".join(f"{v:8.4f}" for v in result.point))
    r = residuals(poses, result.tcp, result.point)
    print(f"residual [mm]: max {1000 * r.max():.3f}, rms {1000 * np.sqrt(np.mean(r ** 2)):.3f}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
