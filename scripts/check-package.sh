#!/usr/bin/env bash
# Builds the Debian package from a finished build folder, unpacks it into a scratch root and checks
# what it installs: the menu entry and the file types validate, the dependencies name Qt, and the
# installed CLI runs on the installed sample with the installed language files.
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

(cd "$build" && cpack -G DEB -B "$root/package" > "$root/cpack.log" 2>&1) || { cat "$root/cpack.log"; exit 1; }
deb=$(ls "$root"/package/korvelan2_*.deb)
echo "package: $(basename "$deb") ($(du -k "$deb" | cut -f1) kB)"

depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
for library in libqt6widgets6 libqt6printsupport6 libqt6svg6 libqt6serialport6 libc6; do
  grep -q "$library" <<< "$depends" || { echo "missing dependency on $library"; exit 1; }
done

dpkg-deb -x "$deb" "$root/install"
usr=$root/install/usr
for file in bin/korvelan2 bin/korvelan2-cli lib/korvelan2/korvelan2-cli-drawing.so share/korvelan2/deutsch.cty share/korvelan2/english.cty \
            share/korvelan2/francais.cty share/korvelan2/logo.txt share/korvelan2/sample.lng \
            share/korvelan2/help/de/index.html share/korvelan2/help/en/index.html \
            share/korvelan2/help/fr/index.html share/icons/hicolor/scalable/apps/korvelan2.svg \
            share/icons/hicolor/48x48/apps/korvelan2.png share/applications/korvelan2.desktop \
            share/mime/packages/korvelan2.xml; do
  [ -e "$usr/$file" ] || { echo "not installed: $file"; exit 1; }
done

desktop-file-validate "$usr/share/applications/korvelan2.desktop"
xmllint --noout "$usr/share/mime/packages/korvelan2.xml" "$usr/share/icons/hicolor/scalable/apps/korvelan2.svg"
xmllint --html --noout "$usr"/share/korvelan2/help/*/index.html

# The file types are told by their first bytes, whatever the extension says.
update-mime-database "$usr/share/mime" > /dev/null 2>&1
grep -q 'application/x-korvelan2-data' "$usr/share/mime/magic"
grep -q 'application/x-korvelan2-raw' "$usr/share/mime/magic"

# The installed CLI, started where the package put it, with a home of its own: it finds the
# language files and the sample in share/korvelan2 and answers in the chosen language.
export HOME=$root/home XDG_CONFIG_HOME=$root/home/.config
mkdir -p "$HOME"
info=$("$usr/bin/korvelan2-cli" info "$usr/share/korvelan2/sample.lng")
echo "$info" | head -3
grep -q '^kind: LNG' <<< "$info" || { echo "unexpected info: $info"; exit 1; }
summary=$("$usr/bin/korvelan2-cli" summary "$usr/share/korvelan2/sample.lng" --lang english.cty)
[ "$(head -1 <<< "$summary")" = "Overview" ] || { echo "the English language file was not used"; exit 1; }
# A drawing command loads the drawing part from lib/korvelan2; info loads no Qt at all.
"$usr/bin/korvelan2-cli" chart "$usr/share/korvelan2/sample.lng" --view count -o "$root/chart.png"
[ "$(head -c 8 "$root/chart.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || { echo "chart wrote no PNG"; exit 1; }
if LD_DEBUG=libs "$usr/bin/korvelan2-cli" info "$usr/share/korvelan2/sample.lng" 2>&1 >/dev/null | grep -q libQt6; then
  echo "info loaded Qt"; exit 1
fi
if "$usr/bin/korvelan2-cli" info "$root/no-such-file.lng" 2> "$root/error.txt"; then
  echo "a missing file was reported as success"; exit 1
fi
echo "package check passed"
