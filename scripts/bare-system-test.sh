#!/usr/bin/env bash
# Tries the release archive on a bare Debian system (scripts/bare-root.sh): nothing
# but Mesa's GL and EGL, the X, Wayland and sound client libraries a desktop has and an
# X server; no SDL, minizip, libjpeg or GTK at all (the libxml2, mpg123, libpng and
# FreeType that Mesa, PulseAudio's client and Xvfb bring must not be used). Inside it,
# through chroot:
#   - the loader finds every library of both programs, the bundled ones in lib/;
#   - drift-capture writes a frame that is not blank, with no display at all;
#   - drift under Xvfb, without GTK, skips the start dialog with its log line, shows
#     frames that are not blank, and ends with status 0 on Escape (sent with the
#     host's xdotool, which reaches the server through its abstract socket).
#
#   scripts/bare-system-test.sh ARCHIVE
#
# Needs root (chroot, mount) and, the first time, debootstrap and the Debian mirror;
# without them it prints one line saying why it skipped and exits 0.
set -euo pipefail
cd "$(dirname "$0")/.."

archive=${1:?usage: bare-system-test.sh ARCHIVE}
skip() { echo "bare-system test skipped: $*"; exit 0; }
fail() { echo "bare-system test FAILED: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || skip "needs root for chroot and mount"
for tool in chroot mount debootstrap xdotool xwd python3; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
root=$(scripts/bare-root.sh 2>/tmp/drift-bare-root.log) ||
  skip "the bare system could not be built (debootstrap: $(tail -n 1 /tmp/drift-bare-root.log))"

# The root must hold none of what the archive bundles, or the test proves nothing.
for lib in libSDL2-2.0.so.0 libminizip.so.1 libjpeg.so.62 libdecor-0.so.0 libsamplerate.so.0 libgtk-3.so.0; do
  if [ -e "$root/usr/lib/x86_64-linux-gnu/$lib" ]; then fail "the bare system has $lib of its own"; fi
done

name=$(tar -tzf "$archive" | sed -n '1s|/.*||p')
base=/opt/drift-bare-test
rm -rf "${root:?}$base"
mkdir -p "$root$base"
tar -xzf "$archive" -C "$root$base"
app=$base/$name

mounted=()
xvfb=""
cleanup() {
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  local m
  for m in "${mounted[@]}"; do umount -l "$m" 2>/dev/null || true; done
}
trap cleanup EXIT
for m in proc dev; do
  if ! mountpoint -q "$root/$m"; then
    if [ "$m" = proc ]; then mount -t proc proc "$root/proc"; else mount --bind /dev "$root/dev"; fi
    mounted+=("$root/$m")
  fi
done

inside() { chroot "$root" env -i PATH=/usr/bin:/bin HOME=/root TMPDIR=/tmp "$@"; }

echo "-- libraries (ldd inside the bare system)"
for program in drift drift-capture; do
  out=$(inside ldd "$app/$program")
  echo "$program:"
  sed 's/^/  /' <<<"$out"
  if grep -q 'not found' <<<"$out"; then fail "$program: a library is missing"; fi
  for lib in "$root$app"/lib/*; do
    soname=$(basename "$lib")
    if grep -q "^[[:space:]]*$soname => " <<<"$out" && ! grep -q "$soname => $app/lib/$soname" <<<"$out"; then
      fail "$program takes $soname from outside the archive"
    fi
  done
done
provided=()
for lib in "$root$app"/lib/*; do
  [ -e "$root/usr/lib/x86_64-linux-gnu/$(basename "$lib")" ] && provided+=("$(basename "$lib")")
done
echo "bundled and also in the bare system (pulled in by Mesa, PulseAudio or Xvfb; the archive's copy is used): ${provided[*]:-none}"

# A picture is not blank when it has more than a handful of colours.
colours() { python3 scripts/picture-colours.py "$@"; }

echo "-- drift-capture, no display"
# Standard error (the loading lines, the sound library's complaints) goes to a file.
inside sh -c "mkdir -p /tmp/drift-capture && cd /tmp/drift-capture && rm -rf frames &&
  $app/drift-capture --size 320x180 --fps 10 --from 20 --to 20.1 frames 2>stderr.txt" ||
  fail "drift-capture failed: $(tail -n 5 "$root/tmp/drift-capture/stderr.txt")"
frame=$root/tmp/drift-capture/frames/frame_000200.png
[ -s "$frame" ] || fail "drift-capture wrote no frame_000200.png"
n=$(colours "$frame")
echo "frame_000200.png: $n colours"
[ "$n" -gt 16 ] || fail "the captured frame is blank"

echo "-- drift under Xvfb, no GTK"
display=$((90 + RANDOM % 400))
rm -f "$root/tmp/.X11-unix/X$display" "$root/tmp/.X$display-lock"
chroot "$root" Xvfb ":$display" -screen 0 1280x720x24 -nolisten tcp >/tmp/drift-bare-xvfb.log 2>&1 &
xvfb=$!
for _ in $(seq 50); do
  [ -S "$root/tmp/.X11-unix/X$display" ] && break
  sleep 0.2
done
[ -S "$root/tmp/.X11-unix/X$display" ] || fail "Xvfb did not start ($(tail -n 1 /tmp/drift-bare-xvfb.log))"
export DISPLAY=:$display
xdotool getmouselocation >/dev/null 2>&1 || fail "the host cannot reach the bare system's X server"

chroot "$root" env -i PATH=/usr/bin:/bin HOME=/root TMPDIR=/tmp DISPLAY=":$display" \
  sh -c "mkdir -p /tmp/drift-run && cd /tmp/drift-run && rm -f log.txt && exec $app/drift 2>stderr.txt" &
drift=$!
shown=0
for _ in $(seq 180); do
  kill -0 "$drift" 2>/dev/null || break
  if xdotool search --name '^Drift' >/dev/null 2>&1; then
    xwd -root -silent >/tmp/drift-bare-screen.xwd 2>/dev/null || true
    n=$(colours /tmp/drift-bare-screen.xwd 2>/dev/null || echo 0)
    if [ "$n" -gt 16 ]; then shown=1; break; fi
  fi
  sleep 1
done
[ "$shown" = 1 ] || { kill "$drift" 2>/dev/null || true; fail "drift showed no frame that is not blank"; }
echo "screen: $n colours"
sleep 3
xdotool keydown Escape
sleep 0.5
xdotool keyup Escape
status=timeout
for _ in $(seq 60); do
  if ! kill -0 "$drift" 2>/dev/null; then
    status=0
    wait "$drift" || status=$?
    break
  fi
  sleep 0.5
done
log=$root/tmp/drift-run/log.txt
echo "log.txt:"
sed 's/^/  /' "$log" 2>/dev/null | head -n 12 || true
[ "$status" = 0 ] || { kill "$drift" 2>/dev/null || true; fail "drift ended with status $status after Escape"; }
grep -q "no GTK 3 for the setup dialog" "$log" || fail "log.txt does not say the dialog was skipped"
echo "bare-system test passed"
