#!/usr/bin/env bash
# Opening a 2 GB MP4: time from the open call to the first frame, best of
# three, for a constant-rate file and for one whose rate changes (30 then 20
# pictures a second, every 4 s), whose picture index is read off the user's
# path (its time is reported too). Goal: the first frame in 100 ms at most.
# The files (H.264 720p, 4 s pieces copied 250 times over) are made once in
# the build folder's bench_open/, never committed.
#   bench/open_mp4.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target bench_open >/dev/null
folder=$build/bench_open
mkdir -p "$folder"
make_big() {  # name, extra encoder arguments...
  local name=$1 big=$folder/big_$1.mp4
  shift
  if [[ ! -s $big ]]; then
    ffmpeg -nostdin -v error -y -f lavfi -i "testsrc2=s=1280x720:r=30:d=4" "$@" \
      -c:v libx264 -preset ultrafast -qp 0 -pix_fmt yuv420p -g 60 "$folder/piece_$name.mp4"
    local piece
    piece=$(realpath "$folder/piece_$name.mp4")
    for _ in $(seq 250); do echo "file '$piece'"; done >"$big.txt"
    ffmpeg -nostdin -v error -y -f concat -safe 0 -i "$big.txt" -c copy "$big"
  fi
  echo "$(basename "$big"): $(du -m "$big" | cut -f1) MB" >&2
  echo "$big"
}
constant=$(make_big cfr)
varying=$(make_big vfr -vf "setpts='if(lt(N,60),2*N,120+3*(N-60))/(60*TB)'" \
  -fps_mode passthrough -enc_time_base 1/60)
echo "constant rate:"
"$build/bench/bench_open" "$constant" 3
echo "variable rate:"
"$build/bench/bench_open" "$varying" 3 index
