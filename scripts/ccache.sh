# Sourced by the build scripts, from the top of the repository: every compile goes
# through ccache, so a build that changed little (or a fresh clone on a machine that
# built the project before) takes what it can from the cache. The cache is keyed on
# paths relative to the repository, so clones at other places share it.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-true}"
ccache_launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
