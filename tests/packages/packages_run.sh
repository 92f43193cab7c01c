#!/usr/bin/env bash
# Builds both packages with scripts/package from the Release trees named, then tests each: the
# .deb installed into a scratch root, the installer under Wine.
#   packages_run.sh NATIVE_RELEASE_TREE WINDOWS_RELEASE_TREE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out="$root/build/packages"
"$root/scripts/package" --native "$1" --windows "$2" --out "$out"
shared="$root/../shared"
[ -d "$shared/corpus" ] || shared=/work/shared
"$here/deb_test.sh" "$out"/kvgen_*.deb "$root" "$shared/corpus/wsdl" "$out/deb-test"
"$here/installer_test.sh" "$out"/kelvane-*-setup.exe "$root/scripts/wine-run" "$out/installer-test"
