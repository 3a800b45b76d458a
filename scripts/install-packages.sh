#!/usr/bin/env bash
# Installs the Debian 12 packages Orvane needs to build, run and test, and only those missing.
set -euo pipefail

packages=(
  g++ cmake make pkg-config          # toolchain
  libtbb-dev                         # the engine's parallel loop
  libmpfr-dev                        # the renderer's deep zoom: numbers of any precision
  qt6-base-dev                       # the window
  zlib1g-dev                         # the renderer's PNG files: deflate and checksums
  libavformat-dev libavcodec-dev     # the renderer's zoom videos: FFmpeg's containers and codecs,
  libswscale-dev libavutil-dev       # its colour conversion and utilities
  libgtest-dev libbenchmark-dev      # tests and benchmarks
  fonts-wqy-microhei                 # real glyphs for the Chinese interface
  xvfb xauth x11-utils               # a headless X server for the window tests
  openbox xdotool                    # a window manager for it, and a hand on its keys and mouse
  clang libclang-rt-14-dev           # libFuzzer and the sanitizers' runtimes for the fuzz targets
  appstream desktop-file-utils       # validating the desktop entry and the AppStream metainfo
  dpkg-dev file                      # the Debian package's library dependencies (dpkg-shlibdeps, file)
  lintian                            # checking the Debian package against Debian's policy
  man-db groff-base bsdextrautils    # rendering the manual pages as man and lintian do (col)
  clang-format git                   # the formatting check, over the files git knows
  slurm-wlm munge                    # the cluster scripts' test, on a one-node Slurm of its own
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ $status == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} > 0)); then
  sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -q
  # No recommended packages: a fallback font brought in by accident would hide a missing one.
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
