#!/usr/bin/env bash
# Every entry point of the corpus that the reader accepts goes through kvgen for a Unix target; its
# library and demo (and the service's skeleton) are then built with gcc -std=gnu99 -Wall -Wextra against the support library and
# libxml2, with no error and no warning; with a mingw-w64 compiler given, the Windows-target text is
# compiled too, against the mingw build of libxml2 that setup makes (its prefix given), or, without
# one, for its syntax only with the machine's libxml2 headers (and the two types they take from
# iconv and ICU) standing in. A document the reader rejects must end kvgen with 1 and a message;
# anything else (a crash, no files) fails. Failures name the document and the first compiler
# message.
#   corpus_build.sh KVGEN SUPPORT_INCLUDE SUPPORT_LIBRARY_DIR CORPUS_DIR WORK_DIR JOBS [MINGW_GCC
#                   [MINGW_PREFIX]]
set -uo pipefail

compiled() { # label, log: the first message of a failed or noisy compile, or nothing
  # GCC's note that a very large source ends its column tracking speaks of GCC, not of the code:
  # it alone (with its function and source lines) does not fail the compile.
  if grep -q -v -E 'In function|is disabled from this point onwards|-flarge-source-files|^ *[0-9]* *\| ' "$2"; then
    echo "FAIL $entry: $1: $(grep -m1 -E 'error|warning' "$2" || head -n1 "$2")"; return 1
  fi
}

if [ "${1:-}" = --one ]; then # --one KVGEN INCLUDE LIBDIR CORPUS WORK MINGW INDEX ENTRY
  kvgen=$2 include=$3 libdir=$4 corpus=$5 work=$6 mingw=$7 index=$8 entry=$9
  read -r -a mingw_flags <"$work/mingw_flags"
  dir="$work/$index" name="p$index"
  mkdir -p "$dir"
  "$kvgen" --out "$dir" "$name" "$corpus/$entry" >"$dir/kvgen.log" 2>&1
  status=$?
  if [ $status -eq 1 ] && [ -s "$dir/kvgen.log" ]; then echo "rejected $entry"; exit 0; fi
  if [ $status -ne 0 ]; then echo "FAIL $entry: kvgen exited with $status: $(tail -n1 "$dir/kvgen.log")"; exit 0; fi
  cd "$dir" || exit 1
  for file in "${name}_api.h" "${name}_api.c" "${name}_api_demo.c" "${name}_server.c" Makefile Make.rules; do
    [ -s "$file" ] || { echo "FAIL $entry: kvgen wrote no $file"; exit 0; }
  done
  # GCC reads source lines back for its misleading-indentation check at a cost that grows with the
  # square of a file's length: minutes of one core on the largest services. Their warning stays on
  # everywhere else, and gcc's own limit on column tracking turns it off in such files anyway.
  large=()
  [ "$(wc -l <"${name}_api.c")" -gt 100000 ] && large=(-Wno-misleading-indentation)
  gcc -std=gnu99 -Wall -Wextra "${large[@]}" -I. -I"$include" -I/usr/include/libxml2 -o demo "${name}_api_demo.c" "${name}_api.c" \
    -L"$libdir" -ltessaro -lxml2 -lssl -lcrypto -lpthread >gcc.log 2>&1 || echo "gcc exited with $?" >>gcc.log
  # the service's skeleton compiles alone against the header
  gcc -std=gnu99 -Wall -Wextra -I. -I"$include" -I/usr/include/libxml2 -c -o server.o "${name}_server.c" >>gcc.log 2>&1 ||
    echo "gcc exited with $? on the skeleton" >>gcc.log
  compiled gcc gcc.log || exit 0
  if [ -n "$mingw" ]; then
    "$kvgen" --target windows --out windows "$name" "$corpus/$entry" >kvgen-windows.log 2>&1 ||
      { echo "FAIL $entry: kvgen for Windows: $(tail -n1 kvgen-windows.log)"; exit 0; }
    (cd windows && for file in "${name}_api.c" "${name}_api_demo.c" "${name}_server.c"; do
       "$mingw" -std=gnu99 -Wall -Wextra "${large[@]}" "${mingw_flags[@]}" -I. -I"$include" "$file" || exit $?
     done) >mingw.log 2>&1 || echo "mingw exited with $?" >>mingw.log
    compiled mingw mingw.log || exit 0
  fi
  echo "built $entry"
  rm -rf demo server.o windows ./*.c ./*.h
  exit 0
fi

kvgen=$1 include=$2 libdir=$3 corpus=$4 work=$5 jobs=${6:-0} mingw=${7:-} mingw_prefix=${8:-}
[ "$jobs" -gt 0 ] || jobs=$(nproc)
# Nothing is fetched: downloads go to a port where nothing listens.
for name in http_proxy https_proxy ftp_proxy all_proxy HTTP_PROXY HTTPS_PROXY FTP_PROXY ALL_PROXY; do
  export "$name=http://127.0.0.1:9"
done
unset no_proxy NO_PROXY
rm -rf "$work" && mkdir -p "$work/stubs/unicode"
echo 'typedef void *iconv_t;' >"$work/stubs/iconv.h"
printf 'typedef void UConverter;\ntypedef unsigned short UChar;\n' >"$work/stubs/unicode/ucnv.h"
if [ -n "$mingw_prefix" ] && [ -f "$mingw_prefix/include/libxml2/libxml/parser.h" ]; then
  echo "-c -o /dev/null -DLIBXML_STATIC -I$mingw_prefix/include/libxml2" >"$work/mingw_flags"
else
  echo "-fsyntax-only -I$work/stubs -I/usr/include/libxml2" >"$work/mingw_flags"
fi
awk -F'\t' '$9 ~ /ENTRY POINT/ && $8 !~ /remote/ {print NR "\t" $1}' "$corpus/MANIFEST.tsv" |
  xargs -P "$jobs" -d '\n' -n1 sh -c 'exec "$0" --one "$1" "$2" "$3" "$4" "$5" "$6" "${7%%	*}" "${7#*	}"' \
    "$0" "$kvgen" "$include" "$libdir" "$corpus" "$work" "$mingw" >"$work/results.txt"
sort -k2 "$work/results.txt"
built=$(grep -c '^built ' "$work/results.txt")
rejected=$(grep -c '^rejected ' "$work/results.txt")
failed=$(grep -c '^FAIL ' "$work/results.txt")
echo "entry points: $((built + rejected + failed)), built: $built, rejected by the reader: $rejected"
echo "$built passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$built" -gt 20 ]
