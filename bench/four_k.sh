#!/usr/bin/env bash
# 4K footage: 3840 x 2160, 25 fps H.264 and HEVC, and HEVC Main 10 HDR10,
# 10 s each with a key frame every 2 s at a phone's bit rate (H.264 40,
# HEVC 25 Mbit/s), made here by the ffmpeg tool from the benchmark clip
# scaled up with grain (never committed; kept in the build folder's
# bench_4k/). Per file:
# - bench_4k: time to the first frame, unpaced frames per second with whole
#   frames (playing) and thumbnails alone (slicing), resident memory;
# - bench_paced at 1x for 20 s: frames dropped (0 means it plays at 1x);
# - trevanto-cli: slicing with the engine, and the sampler (every 40 frames)
#   writing the shots as JPEG images of the whole 3840 x 2160 frame.
# The load average is printed: two cores shared with other work make all of
# these slower.
#   bench/four_k.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target bench_4k bench_paced trevanto-cli bench_clip >/dev/null
cli=$build/src/cli/trevanto-cli
work=$build/bench_4k
mkdir -p "$work"
source=$build/media/bench_mpeg2.mpg

make_clip() {  # name, ffmpeg output options...
  local name=$1
  shift
  [[ -s $work/$name ]] ||
    ffmpeg -nostdin -v error -y -i "$source" -t 10 -an -g 50 \
      -vf scale=3840:2160:flags=bicubic,noise=alls=5:allf=t "$@" "$work/$name"
}
make_clip h264.mkv -c:v libx264 -preset veryfast -b:v 40M -maxrate 50M -bufsize 80M \
  -pix_fmt yuv420p
make_clip hevc.mkv -c:v libx265 -preset ultrafast -b:v 25M -pix_fmt yuv420p \
  -x265-params log-level=error
make_clip hevc_hdr10.mkv -c:v libx265 -preset ultrafast -b:v 25M -pix_fmt yuv420p10le \
  -color_primaries bt2020 -color_trc smpte2084 -colorspace bt2020nc -x265-params log-level=error

source bench/timing.sh

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
for name in h264.mkv hevc.mkv hevc_hdr10.mkv; do
  file=$work/$name
  echo "== $name ($(du -m "$file" | cut -f1) MB, 250 frames)"
  "$build/bench/bench_4k" "$file" 10
  "$build/bench/bench_paced" "$file" 20 1
  rm -rf "$work/jpeg" && mkdir -p "$work/jpeg"
  echo "slice_engine_s=$(seconds "$cli" slice "$file" --engine --quiet)" \
    "slice_sampler_jpeg_s=$(seconds "$cli" slice "$file" --sampler frames 40 --jpeg \
      --target "$work/jpeg" --shot-size 3840x2160 --stretch --quiet)" \
    "jpeg_files=$(find "$work/jpeg" -name '*.jpg' | wc -l)" \
    "jpeg_size=$(python3 -c "import struct,sys
d=open(sys.argv[1],'rb').read(); i=d.find(b'\xff\xc0'); h,w=struct.unpack('>HH',d[i+5:i+9]); print(f'{w}x{h}')" \
      "$(find "$work/jpeg" -name '*.jpg' | sort | head -1)")"
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
