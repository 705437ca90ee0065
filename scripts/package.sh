#!/usr/bin/env bash
# Builds the release archive: build/dist/drift-<version>-linux-x86_64.tar.gz, one folder
# drift-<version>/ with drift, drift-capture, the data (demodat, setup.jpg), README.txt
# and in lib/ every library the programs need that a stock desktop may lack. The
# programs look there first (run path $ORIGIN/lib; the bundled libraries look beside
# themselves, $ORIGIN).
#
# Never bundled, because every desktop has its own and it must be that one: glibc, the
# GL driver and its loader (libGL, libEGL, libGLX, libGLdispatch, libOpenGL, libdrm,
# libgbm), the display server's client libraries (X11, xcb, Wayland, xkbcommon), the
# sound server's (ALSA, PulseAudio), and the C++ runtime (libstdc++, libgcc_s): the GL
# driver is built against the desktop's, which an older bundled copy would shadow; our
# programs link libstdc++ in (cmake/DriftTargets.cmake).
#
# The same commit gives the same bytes: files are sorted, dated at the commit and owned
# by 0:0, and gzip stores no name or time. The version is `git describe --tags --always
# --dirty`. Environment: DRIFT_BUILD_DIR (default build), DRIFT_JOBS (default 1).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${DRIFT_BUILD_DIR:-build}
jobs=${DRIFT_JOBS:-1}

./scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs" --target drift drift-capture drift_data

version=$(git describe --tags --always --dirty)
epoch=$(git log -1 --format=%ct)
name=drift-$version
dist=$build/dist
stage=$dist/$name
archive=$dist/$name-linux-x86_64.tar.gz
programs=(drift drift-capture)

rm -rf "$stage" "$archive"
mkdir -p "$stage/lib"

for program in "${programs[@]}"; do
  install -m 755 "$build/$program" "$stage/$program"
  strip --strip-all "$stage/$program"
done
install -m 644 "$build/demodat" "$build/setup.jpg" "$stage/"
sed "s/@VERSION@/$version/" scripts/package/README.txt >"$stage/README.txt"
chmod 644 "$stage/README.txt"

system_library() {
  case "$1" in
    linux-vdso.so* | ld-linux* | libc.so* | libm.so* | libpthread.so* | libdl.so* | librt.so* | \
      libresolv.so* | libutil.so*) return 0 ;;
    libGL.so* | libEGL.so* | libGLX* | libGLdispatch.so* | libOpenGL.so* | libGLES* | libdrm.so* | \
      libgbm.so*) return 0 ;;
    libX* | libxcb* | libxkbcommon* | libwayland-*) return 0 ;;
    libasound.so* | libpulse*) return 0 ;;
    libstdc++.so* | libgcc_s.so*) return 0 ;;
  esac
  return 1
}

needed() { objdump -p "$1" | awk '$1 == "NEEDED" { print $2 }'; }

# Where the build machine's loader finds each library the programs need, directly or not.
declare -A found
while read -r soname path; do
  found[$soname]=$path
done < <(for p in "${programs[@]}"; do ldd "$build/$p"; done | awk '$2 == "=>" && $3 ~ /^\// { print $1, $3 }')

# Walk the dependencies from the programs, not past a library the desktop provides.
queue=()
for program in "${programs[@]}"; do queue+=("$stage/$program"); done
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]}
  queue=("${queue[@]:1}")
  for soname in $(needed "$file"); do
    system_library "$soname" && continue
    [ -e "$stage/lib/$soname" ] && continue
    source=${found[$soname]:-}
    [ -n "$source" ] || { echo "package: $(basename "$file") needs $soname, which the build machine lacks" >&2; exit 1; }
    install -m 644 "$source" "$stage/lib/$soname"
    patchelf --set-rpath '$ORIGIN' "$stage/lib/$soname"
    queue+=("$stage/lib/$soname")
  done
done
for program in "${programs[@]}"; do
  patchelf --set-rpath '$ORIGIN/lib' "$stage/$program"
done

find "$stage" -exec touch -h -d "@$epoch" {} +
tar --sort=name --format=gnu --mtime="@$epoch" --owner=0 --group=0 --numeric-owner \
  --mode='u+rwX,go+rX,go-w' -C "$dist" -cf - "$name" | gzip -n -9 >"$archive"

echo "package: $archive ($(du -k "$archive" | cut -f1) KiB)"
(cd "$stage" && find . -type f | sort | sed 's|^\./|  |')
