#!/usr/bin/env bash
# Builds, once, the bare Debian system the release archive is tried on: a minbase
# bookworm with only what any desktop has for a GL program (Mesa's GL and EGL, the X and
# Wayland client libraries and the sound server's, which Debian's SDL links directly)
# and an X server to show it on. None of the libraries the archive bundles is installed
# on purpose; Mesa, PulseAudio's client and Xvfb pull a few in (libxml2, mpg123,
# libpng, FreeType; scripts/bare-system-test.sh lists them), which the programs must
# not use.
#
#   scripts/bare-root.sh [ROOT]     ROOT defaults to $DRIFT_BARE_ROOT or /var/cache/drift-bare-root
#
# Needs root and a Debian mirror; the mirror is the one apt is configured with.
# Prints the root's path when it is ready; a root that is already complete is kept.
set -euo pipefail

root=${1:-${DRIFT_BARE_ROOT:-/var/cache/drift-bare-root}}
stamp="$root/.drift-bare-root-complete"
packages=libgl1,libgl1-mesa-dri,libegl1,libegl-mesa0,\
libx11-6,libxext6,libxcursor1,libxi6,libxfixes3,libxrandr2,libxss1,libxkbcommon0,\
libwayland-client0,libwayland-cursor0,libwayland-egl1,libasound2,libpulse0,\
xvfb,xauth

if [ -e "$stamp" ] && [ "$(cat "$stamp")" = "$packages" ]; then
  echo "$root"
  exit 0
fi

# The first Debian mirror apt uses (deb822 sources or the one-line format).
mirror() {
  local files=(/etc/apt/sources.list.d/*.sources /etc/apt/sources.list /etc/apt/sources.list.d/*.list)
  local f
  for f in "${files[@]}"; do
    [ -r "$f" ] || continue
    awk '
      /^URIs:/ { for (i = 2; i <= NF; i++) if ($i ~ /\/debian\/?$/) { print $i; exit } }
      /^deb / { for (i = 2; i <= NF; i++) if ($i ~ /\/debian\/?$/) { print $i; exit } }
    ' "$f"
  done | head -n 1
}

url=$(mirror)
[ -n "$url" ] || { echo "bare-root: no Debian mirror found in apt's sources" >&2; exit 1; }

rm -rf "$root.partial"
mkdir -p "$(dirname "$root")"
debootstrap --variant=minbase --include="$packages" bookworm "$root.partial" "$url" >&2
rm -rf "$root"
mv "$root.partial" "$root"
echo "$packages" >"$stamp"
echo "$root"
