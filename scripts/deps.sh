#!/usr/bin/env bash
# The one list of Debian packages this project needs. Installs whatever is missing.
#   scripts/deps.sh          packages for building, testing and benchmarking
#   scripts/deps.sh fuzz     also the clang toolchain for the libFuzzer targets
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config dpkg-dev
  qtbase5-dev qttools5-dev qttools5-dev-tools
  libeigen3-dev libceres-dev
  nlohmann-json3-dev libasio-dev liblua5.4-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  liborocos-kdl-dev pybind11-dev python3-dev python3-numpy
  clang-format clang-tidy
  doxygen xvfb xauth
)
fuzz_packages=(clang libclang-rt-14-dev)

if [[ "${1:-}" == "fuzz" ]]; then
  packages+=("${fuzz_packages[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y "${missing[@]}"
fi
