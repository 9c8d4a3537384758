#!/usr/bin/env bash
# Installs what is missing, builds the optimised program in build/ and starts it.
#   ./run.sh                      start the window program
#   ./run.sh --deploy DIR         start it with the deployment files of DIR beside it
set -euo pipefail
cd "$(dirname "$0")"

./tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build

deploy=""
if [[ ${1:-} == --deploy ]]; then
  deploy=$(realpath "${2:?--deploy needs a folder}")
  shift 2
fi

if [[ -x build/app/tellivo-rasp ]]; then
  exe=build/app/tellivo-rasp
  if [[ -n $deploy ]]; then
    # The program reads its deployment from its own folder: run a copy beside the files.
    dir=$(mktemp -d)
    trap 'rm -rf "$dir"' EXIT
    cp "$deploy"/* "$dir"/
    cp build/app/tellivo-rasp "$dir"/
    exe="$dir/tellivo-rasp"
  fi
  if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    exec xvfb-run -a "$exe" "$@"
  fi
  "$exe" "$@"
else
  build/tools/rasp/rasp compare samples/article1.txt samples/article2.txt
fi
