#!/usr/bin/env bash
# Runs every fuzz target in turn for SECONDS seconds (default 60), each on a corpus
# seeded with the program's own files, and prints how many inputs each ran. A
# finding stops the run; its input is kept in BUILD/fuzz/findings/.
#   fuzz/run.sh [SECONDS] [BUILD]      BUILD defaults to build-fuzz
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${2:-build-fuzz}
targets="fuzz_language fuzz_settings fuzz_picture fuzz_protocol fuzz_rle8"

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
        -DCMAKE_CXX_COMPILER=clang++ -DSANITIZE=ON -DFUZZ=ON >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target fuzz_all

out=$build/fuzz
mkdir -p "$out/findings"

# Seeds: the program's own files, in the shapes the targets read them.
seed() {   # seed <target> <name> : the seed's bytes on stdin
    mkdir -p "$out/corpus/$1"
    cat >"$out/corpus/$1/$2"
}
table=$build/tools/lang/lang1000.bin
{ printf 'Lang\\z0114\\zWirklich schon aufh\\zz'; cat "$table"; } | seed fuzz_language table-0114
{ printf 'lang\\z6143\\z\\z'; cat "$table"; } | seed fuzz_language table-6143
printf -- '-1\\z1\\z5\\z0\\z-1\\z-1\\z-1\\z\377\377\377\377\377\377\377\377\377\377\377\377\377\377\377' \
    | seed fuzz_settings defaults
printf -- '0\\z43\\z50\\z16777215\\z0\\z0\\z0\\z\377\001\377\001\377\001\377\001\377\001\377\001\377\001\001' \
    | seed fuzz_settings others
printf -- 'loud\\z1e9\\z 7.5 \\z-0\\z\\z12.5e1\\zx\\z\377\377\377\377\377\377\377\377\377\377\377\377\377\377\377' \
    | seed fuzz_settings broken
for f in "$build"/tools/lessons/10[1-5].bmp "$build"/tools/art/*.png; do
    [ -f "$f" ] && seed fuzz_picture "$(basename "$f")" <"$f"
done
# At the size limit: a picture of 4000 x 3000 at 32 bits (a small PNG file).
if command -v convert >/dev/null; then
    convert -size 4000x3000 xc:none PNG32:- | seed fuzz_picture limit.png
fi
printf 'stiftolino  V1.1.344\\zFehler-Nr / error :\\z13 (Type mismatch)\\zModul:\\zAllgemein\\zProzedur / procedure:\\zLoadConfig\\zZeile / Line:\\z20\\zLinux\\zDebian GNU/Linux 12 (bookworm)\\z' \
    | seed fuzz_protocol protocol
printf 'Gr\303\266\303\237e \342\202\254 \360\237\216\250\r\n\\z\\z\\z\\z\\z\\z\\z\\z\\z\\z' | seed fuzz_protocol unicode
for f in "$build"/tools/lessons/10[1-3].bmp; do
    [ -f "$f" ] && head -c 4096 "$f" | seed fuzz_rle8 "$(basename "$f")"
done

summary=""
status=0
for t in $targets; do
    log=$out/$t.log
    echo "== $t: $seconds s"
    if ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 QT_QPA_PLATFORM=offscreen \
        "$out/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=200000 \
        -print_final_stats=1 -artifact_prefix="$out/findings/$t-" "$out/corpus/$t" >"$log" 2>&1; then
        result="no findings"
    else
        result="FINDING (see $log)"
        status=1
        tail -n 40 "$log"
    fi
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
    summary+=$(printf '%-15s %10s inputs   %s' "$t" "$runs" "$result")$'\n'
done
echo
printf '%s' "$summary"
exit $status
