# Sourced by the scripts beside it: where the tree is, the options of the
# normal build, and configuring and building one build directory.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Objects compiled in one checkout serve the next (ccache is in bootstrap).
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$ROOT}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-true}"

# build/: what scripts/run starts and scripts/test tests, one configuration
# so that neither rebuilds what the other built.
NORMAL_BUILD=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQRN_WERROR=ON)

# build_dir NAME [cmake options...] [-- targets...]: configures NAME when it
# is new or was configured with other options, then builds the targets
# (everything when none are named).
build_dir() {
  local dir="$ROOT/$1"; shift
  local options=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
  [ $# -gt 0 ] && shift
  local stamp="$dir/qrn-configured-with"
  if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$stamp" 2>/dev/null)" != "${options[*]}" ]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja "${options[@]}"
    printf '%s\n' "${options[*]}" >"$stamp"
  fi
  if [ $# -gt 0 ]; then
    cmake --build "$dir" --target "$@"
  else
    cmake --build "$dir"
  fi
}
