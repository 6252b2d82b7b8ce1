# Sourced by the build scripts from the checkout's root: compiles through ccache when it is
# installed. Paths below the checkout count relative to it, so a clone in another folder takes
# the objects that an earlier build of the same sources left in the cache.
if command -v ccache >/dev/null; then
    export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
