#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks its control
# fields and its files; the programs it installs run from where it puts them
# and find the files shipped with them (../share/trevanto).
#   check_package.sh CPACK BUILD_FOLDER VERSION
set -euo pipefail
cpack=$1
build=$2
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && "$cpack" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
  fail "cpack: $(cat "$work/cpack.log")"
debs=("$work"/out/trevanto_*.deb)
[[ ${#debs[@]} -eq 1 && -f "${debs[0]}" ]] || fail "no single trevanto_*.deb"
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
[[ "$(field Package)" == trevanto ]] || fail "Package: $(field Package)"
[[ "$(field Version)" == "$version" ]] || fail "Version: $(field Version)"
[[ "$(field Architecture)" == "$(dpkg --print-architecture)" ]] || fail "Architecture"
[[ -n "$(field Maintainer)" && -n "$(field Description)" ]] || fail "Maintainer, Description"
depends=$(field Depends)
# The libraries the programs link (found by dpkg-shlibdeps), the SVG plugins and
# the web engine's helper process.
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 \
  libavformat59 libavcodec59 libswscale6 libavutil57 libjpeg62-turbo libqt6svg6 \
  libqt6webenginecore6-bin; do
  [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] ||
    fail "Depends lacks $package: $depends"
done

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$' | sort >"$work/all"
# The user guide's pages are checked below, where they are installed.
grep -v '^/usr/share/trevanto/help/' "$work/all" >"$work/files"
cat >"$work/expected" <<LIST
/usr/bin/trevanto
/usr/bin/trevanto-cli
/usr/share/applications/trevanto.desktop
/usr/share/icons/hicolor/128x128/apps/trevanto.png
/usr/share/icons/hicolor/48x48/apps/trevanto.png
/usr/share/icons/hicolor/scalable/apps/trevanto.svg
/usr/share/man/man1/trevanto-cli.1.gz
/usr/share/man/man1/trevanto.1.gz
/usr/share/mime/packages/trevanto.xml
/usr/share/trevanto/bitmaps/film_frame.bmp
/usr/share/trevanto/bitmaps/shot_template_141.bmp
/usr/share/trevanto/bitmaps/slide_mount.bmp
/usr/share/trevanto/bitmaps/white_border.bmp
/usr/share/trevanto/samples/sample.mpg
/usr/share/trevanto/templates/archive_index.html
/usr/share/trevanto/templates/contact_sheet.html
/usr/share/trevanto/templates/filmstrip.html
/usr/share/trevanto/templates/responsive_grid.html
LIST
diff -u "$work/expected" "$work/files" || fail "the package's files differ"

# The installed layout works: the user guide's links and pictures resolve, and
# the sample slices with a template given by name.
dpkg-deb -x "$deb" "$work/root"
python3 "$(dirname "$0")/check_guide.py" "$work/root/usr/share/trevanto/help" ||
  fail "the installed user guide"
"$work/root/usr/bin/trevanto-cli" --version | grep -qx "trevanto-cli $version" ||
  fail "trevanto-cli --version"
"$work/root/usr/bin/trevanto-cli" slice "$work/root/usr/share/trevanto/samples/sample.mpg" \
  --template shot_template_141.bmp --quiet >"$work/shots.txt" || fail "slicing the sample"
[[ $(wc -l <"$work/shots.txt") -gt 1 ]] || fail "the sample gave no shots"
echo "package $(basename "$deb"): ok"
