#!/bin/bash
# Fetches the real footage the shot detectors are developed on into FOLDER
# (never into the source tree; nothing of it is committed):
#   Megamind.avi, Megamind_bugy.avi, tree.avi  from Debian's opencv-doc
#   test_video.mp4                             from Debian's libopenshot source
# usage: bench/fetch_detector_footage.sh FOLDER
set -euo pipefail
folder=${1:?usage: fetch_detector_footage.sh FOLDER}
mkdir -p "$folder"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# apt-get works as the _apt user: it must be able to write the folder.
chmod 777 "$work"
(cd "$work" && apt-get download opencv-doc >/dev/null)
dpkg-deb -x "$work"/opencv-doc_*.deb "$work/opencv"
for clip in Megamind.avi Megamind_bugy.avi tree.avi; do
  cp "$(find "$work/opencv" -name "$clip" | head -1)" "$folder/$clip"
done

# The libopenshot test clip ships in no binary package: its source package
# needs a deb-src line in the APT sources.
if (cd "$work" && apt-get source --download-only libopenshot >/dev/null 2>&1); then
  tarball=$(ls "$work"/libopenshot_*.orig.tar.* | head -1)
  member=$(tar -tf "$tarball" | grep '/test_video.mp4$' | head -1)
  tar -xf "$tarball" -C "$work" "$member"
  cp "$work/$member" "$folder/test_video.mp4"
else
  echo "test_video.mp4: the libopenshot source package cannot be fetched (no deb-src)" >&2
fi
ls -l "$folder"
