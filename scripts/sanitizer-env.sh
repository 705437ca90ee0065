# Sourced by the scripts that run GL programs of the sanitizer build (build-asan).
#
# Mesa's driver is loaded with dlopen and unloaded again before LeakSanitizer looks at
# exit; what the driver still held then looks lost (a constant few kilobytes, allocated
# from "<unknown module>"). Preloaded, the driver libraries stay resident, their memory
# stays reachable, and only real leaks are reported.
drift_libs=/usr/lib/x86_64-linux-gnu
drift_preload=""
for lib in "$drift_libs/dri/swrast_dri.so" "$drift_libs/libEGL_mesa.so.0" "$drift_libs/libGLX_mesa.so.0" \
           "$drift_libs/libgbm.so.1" "$drift_libs/libglapi.so.0"; do
  [ -e "$lib" ] && drift_preload="${drift_preload:+$drift_preload:}$lib"
done
export LD_PRELOAD="${drift_preload}${LD_PRELOAD:+:$LD_PRELOAD}"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
unset drift_libs drift_preload lib
