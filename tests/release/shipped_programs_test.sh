#!/usr/bin/env bash
# One case of the shipped programs' checks (tests/release/CMakeLists.txt):
#   shipped_programs_test.sh CASE SOURCE_DIR PROGRAM...
set -euo pipefail
case_name=$1
source_dir=$2
shift 2
check=$source_dir/scripts/check-symbol-versions.sh
fail() { echo "FAIL: $*" >&2; exit 1; }

case "$case_name" in
  NoToolkitAtLinkTime)
    # The start dialog loads GTK when it runs; nothing may pull it in at start-up.
    for program in "$@"; do
      out=$(ldd "$program")
      if grep -E 'lib(gtk|gdk|gdk_pixbuf|atk|pango|pangocairo|cairo)[-.]' <<<"$out"; then
        fail "$(basename "$program") needs the toolkit at start-up"
      fi
    done
    ;;
  SymbolVersionsFitTheOldestDesktop)
    "$check" "$@"
    ;;
  DemoLinksNoToolLibraries)
    # The text face and the MP3 encoder serve the tools; the demo's link line names
    # neither (a static library's objects would otherwise carry them in unseen).
    ninja=$1
    build_dir=$2
    line=$("$ninja" -C "$build_dir" -t commands drift | tail -n 1)
    grep -q -- "-o drift " <<<"$line" || fail "no link line for drift in $build_dir: $line"
    if grep -oE 'lib(freetype|mp3lame)[^ ]*' <<<"$line"; then
      fail "drift's link line has a library only the tools use"
    fi
    ;;
  CheckerReportsNewerVersions)
    program=$1
    cxx_program=$2
    if out=$("$check" --glibc 2.33 "$program"); then fail "a limit of glibc 2.33 passed: $out"; fi
    grep -q "needs GLIBC_2.34 (newer than 2.33): .*__libc_start_main" <<<"$out" || fail "$out"
    if out=$("$check" --glibcxx 3.4.9 "$cxx_program"); then fail "a limit of GLIBCXX 3.4.9 passed: $out"; fi
    grep -q "needs GLIBCXX_3\.4\.[0-9]* (newer than 3.4.9)" <<<"$out" || fail "$out"
    if out=$("$check" "$source_dir/README.md" 2>&1); then fail "a file that is no ELF passed as checked: $out"; fi
    ;;
  *)
    fail "unknown case $case_name"
    ;;
esac
