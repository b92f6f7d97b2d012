# Shared by the benchmark scripts (sourced, not run).

# seconds COMMAND...: the elapsed seconds of one run, its output dropped.
seconds() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'
}

# long_clip SOURCE OUT: OUT becomes SOURCE 20 times over (the benchmark
# clip makes a 10-minute program stream), made once.
long_clip() {
  local source=$1 out=$2
  [[ -s $out ]] && return 0
  for _ in $(seq 20); do echo "file '$(realpath "$source")'"; done >"$out.txt"
  ffmpeg -nostdin -v error -y -f concat -safe 0 -i "$out.txt" -c copy "$out"
}
