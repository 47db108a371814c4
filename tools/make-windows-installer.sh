#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Windows installer (NSIS) and the zip for copying by hand from the built plug-ins, with
# the manual as one HTML page and the licence. The names are the module's, the version the project's.
# Usage: tools/make-windows-installer.sh [windows-build-root]   (default: build-windows/)
# Leaves <root>/dist/<Product>-<version>-setup.exe and <root>/dist/<Product>-<version>-windows.zip.
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
root="$(cd "${1:-$source_dir/build-windows}" && pwd)"
files="$source_dir/packaging/windows"

identity() {
    sed -n "s/.*constexpr const char\* $1 = \"\(.*\)\";/\1/p" "$source_dir/host/PluginIdentity.h"
}
product="$(identity effectName)"
vendor="$(identity vendorName)"
version="$(sed -n 's/^project(Quane VERSION \([0-9.]*\) .*/\1/p' "$source_dir/CMakeLists.txt")"
if [ -z "$product" ] || [ -z "$vendor" ] || [ -z "$version" ]; then
    echo "could not read the product, vendor or version" >&2
    exit 1
fi

dist="$root/dist"
stage="$dist/$product-$version-windows"
rm -rf "$dist"
mkdir -p "$stage/64-bit" "$stage/32-bit"
cp "$root/x86_64/module/Kolv.dll" "$stage/64-bit/"
cp "$root/i686/module/Kolv.dll" "$stage/32-bit/"
cp -r "$root/x86_64/formats/Quane_artefacts/Release/VST3/$product.vst3" "$stage/"
"$source_dir/tools/make-manual-html.sh" "$stage/manual.html"

# Shipped text: without the source header, the names filled in, Windows' line ends.
shipped_text() {
    grep -v '^#' "$1" | sed -e "s/@PRODUCT@/$product/g" -e "s/@VENDOR@/$vendor/g" -e "s/@VERSION@/$version/g"
}
{ shipped_text "$files/licence-notice.txt"; cat /usr/share/common-licenses/GPL-3; } | sed 's/$/\r/' >"$stage/LICENCE.txt"
shipped_text "$files/README.txt" | sed 's/$/\r/' >"$stage/README.txt"

installer="$dist/$product-$version-setup.exe"
makensis -V2 -WX -DPRODUCT="$product" -DVENDOR="$vendor" -DVERSION="$version" \
    -DSTAGE="$stage" -DOUTFILE="$installer" "$files/Quane.nsi"

(cd "$dist" && zip -qr -X "$product-$version-windows.zip" "$product-$version-windows")
for file in "$installer" "$dist/$product-$version-windows.zip"; do
    echo "$file ($(stat -c %s "$file") bytes)"
done
