#!/usr/bin/env bash
# The Debian package of kvgen as a user meets it: it holds the files listed in kvgen-deb.files and
# no other, its control names what kvgen loads, and installed into a scratch root (dpkg -x) its
# kvgen runs from there: it reads the schemas and catalog installed beside it (a document that
# imports the SOAP encoding by its address is served the installed copy, with no network), writes
# a project whose make builds it, and its man page reads.
#   deb_test.sh DEB SOURCE_DIR CORPUS_WSDL_DIR WORK_DIR
set -euo pipefail
deb=$1 source=$2 corpus=$3 work=$4
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"
mkdir -p "$work"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {sub(/^\.\//, "", $6); print $6}' | sort >"$work/files"
diff -u "$here/kvgen-deb.files" "$work/files"
dpkg-deb -f "$deb" Package Depends | tee "$work/control"
grep -q '^Depends: .*libc6.*libcurl4' "$work/control"

dpkg -x "$deb" "$work/root"
kvgen="$work/root/usr/bin/kvgen"
"$kvgen" --version | grep -q '^kvgen (Kelvane) '
"$kvgen" -v --list "$corpus/zeep/wsdl_files/soap_import_2.wsdl" 2>"$work/list.err" >/dev/null
grep -Fx "catalog: http://schemas.xmlsoap.org/soap/encoding/ -> $work/root/usr/share/kelvane/soap-schemas/soap-encoding.xsd" \
  "$work/list.err"
(cd "$work" && "$kvgen" --out project calculator "$source/runtime/example/calculator.wsdl" >kvgen.txt)
[ "$(tail -n1 "$work/kvgen.txt")" = "next: cd project && make" ]
cmp "$work/root/usr/share/kelvane/make/Make.rules" "$work/project/Make.rules"
make -C "$work/project" --no-print-directory >/dev/null
[ -x "$work/project/calculator_demo" ]
(cd "$work/project" && timeout 120 ./calculator_demo 0 >demo.txt)
zcat "$work/root/usr/share/man/man1/kvgen.1.gz" | man -l - 2>/dev/null | grep -q -- '--auth=A'
echo "the package installs kvgen, which runs from where it was installed"
