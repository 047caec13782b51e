#!/usr/bin/env bash
# The benchmark: measures the tool and a bare floor of the same work side by
# side in one run, under Wine as the tests run, and prints for each figure
# the tool's time, the floor's and their ratio as min/median/max over the
# repetitions, with the targets.
#   scripts/bench.sh            the full sizes, 3 repetitions (about 10 minutes)
#   scripts/bench.sh --smoke    tiny sizes, one repetition: does it still work
# Figures:
#   scan N    a root of N empty subfolders, from the folder dialog's OK to the
#             list holding N rows; floor: a bare program that lists the root
#             and makes the same list-view calls, painting held off
#   merge     folders of empty *.pdf files, a pdftk that ends at once, from
#             the click on 合并 to the last row's final status; floor: a bare
#             loop of the same calls keeping as many processes running
#   reply     the window's answer to WM_NULL, sent every 20 ms during that run
#   real      folders of small real PDFs through the bridge to Debian's pdftk,
#             until every output is written; floor: xargs -P N of the same
#             pdftk commands on the Linux side; with the peak number of pdftk
#             processes and their peak memory. Also the same bare loop as
#             for "merge" through the bridge: what Wine and the bridge cost
#             apart from the tool.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

smoke=0
[ "${1:-}" = --smoke ] && smoke=1
if [ $smoke = 1 ]; then
  scan_sizes=(20 40); merge_folders=6; merge_files=2; real_folders=3; real_files=2; reps=1
else
  scan_sizes=(2000 5000 10000); merge_folders=500; merge_files=10; real_folders=50; real_files=5; reps=3
fi

. scripts/wine-env.sh
build_tool >/dev/null
bin="$root/$BUILD_BIN"

export WINEPREFIX="$root/build/wine-bench"
log="$WINEPREFIX.log"
mkdir -p "$WINEPREFIX"
: >"$log"
XVFB_PID=
SAMPLER_PID=
trap 'kill $SAMPLER_PID 2>/dev/null || true; end_session' EXIT
unset DISPLAY
start_xvfb "$log"
boot_prefix "$log" unmanaged

work="$root/build/bench"
rm -rf "$work"
mkdir -p "$work"
win() { winepath -w "$1" 2>/dev/null; }
driver() { wine "$bin/bench_driver.exe" "$@" </dev/null 2>>"$log"; }

echo "making the trees in $work"
for n in "${scan_sizes[@]}"; do
  mkdir -p "$work/scan-$n"
  (cd "$work/scan-$n" && seq -f 'd%05g' 1 "$n" | xargs mkdir)
done
for f in $(seq -f 'f%03g' 1 $merge_folders); do
  mkdir -p "$work/merge/$f"
  (cd "$work/merge/$f" && seq -f 'p%02g.pdf' 1 $merge_files | xargs touch)
done
driver pdfs "$(win "$work/real")" $real_folders $real_files
places=$(nproc)
[ "$places" -lt 2 ] && places=2

# The pdftk processes (Debian's pdftk is Java) and their memory, sampled
# every 50 ms: "count kilobytes" a line.
sample_pdftk() {
  while :; do
    ps -eo rss=,args= | awk '/pdftk_java/ && !/awk/ {n++; m += $1} END {print n + 0, m + 0}'
    sleep 0.05
  done
}
peak() { awk -v c="$2" 'BEGIN {m = 0} {if ($c > m) m = $c} END {print m}' "$1"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

results="$work/results"
: >"$results"
for rep in $(seq 1 $reps); do
  echo "repetition $rep of $reps"
  for n in "${scan_sizes[@]}"; do
    driver scan "$(win "$work/scan-$n")" "$n" >>"$results"
  done
  rm -rf "$work/out-merge"; mkdir -p "$work/out-merge"
  driver merge "$(win "$work/merge")" "$(win "$work/out-merge")" "$(win "$bin/instant_pdftk.exe")" >>"$results"

  rm -rf "$work/out-real"; mkdir -p "$work/out-real"
  sample_pdftk >"$work/samples-tool" & SAMPLER_PID=$!
  tool_line=$(driver real "$(win "$work/real")" "$(win "$work/out-real")" "$(win "$bin/pdftk_bridge.exe")")
  kill $SAMPLER_PID; wait $SAMPLER_PID 2>/dev/null || true; SAMPLER_PID=
  made=$(ls "$work/out-real/tool" | wc -l)
  [ "$made" -eq $real_folders ] || { echo "the tool wrote $made of $real_folders files" >&2; exit 1; }

  rm -rf "$work/out-xargs"; mkdir -p "$work/out-xargs"
  for f in "$work/real"/f*; do
    echo "$f"/*.pdf cat output "$work/out-xargs/$(basename "$f").pdf"
  done >"$work/commands"
  sample_pdftk >"$work/samples-floor" & SAMPLER_PID=$!
  start=$(now_ms)
  xargs -P "$places" -L 1 pdftk <"$work/commands"
  floor=$(($(now_ms) - start))
  kill $SAMPLER_PID; wait $SAMPLER_PID 2>/dev/null || true; SAMPLER_PID=
  echo "$tool_line $floor $(peak "$work/samples-tool" 1) $(peak "$work/samples-tool" 2)" \
    "$(peak "$work/samples-floor" 1) $(peak "$work/samples-floor" 2)" >>"$results"
done

# The values of one column of the result lines that match, then their
# min, median and max.
values() { awk -v key="$1" -v col="$2" '($1 == "scan" ? $1 " " $2 : $1) == key {print $col}' "$results"; }
ratios() { awk -v key="$1" -v t="$2" -v f="$3" '($1 == "scan" ? $1 " " $2 : $1) == key {print $t / $f}' "$results"; }
mmm() { sort -g | awk -v fmt="${1:-%9.1f}" '{a[NR] = $1} END {printf fmt " " fmt " " fmt, a[1], a[int((NR + 1) / 2)], a[NR]}'; }
median() { mmm "%.2f" | awk '{print $2}'; }
largest() { mmm "%.0f" | awk '{print $3}'; }
verdict() { awk -v v="$1" -v limit="$2" 'BEGIN {print (v <= limit ? "met" : "NOT MET")}'; }
# line LABEL KEY MEASURED-COLUMN FLOOR-COLUMN [MEASURED-NAME FLOOR-NAME]
line() { printf '%-16s %-5s %s   %-5s %s   ratio %s\n' "$1" "${5:-tool}" "$(values "$2" "$3" | mmm)" "${6:-floor}" \
  "$(values "$2" "$4" | mmm)" "$(ratios "$2" "$3" "$4" | mmm %6.2f)"; }

echo
echo "Quorvane benchmark: $reps repetition(s), $places merge places; times in ms, min / median / max"
for n in "${scan_sizes[@]}"; do line "scan $n" "scan $n" 3 4; done
line "merge run" merge 2 3
printf '%-16s p99 %s   max %s\n' "reply to WM_NULL" "$(values merge 4 | mmm)" "$(values merge 5 | mmm)"
line "real merging" real 2 4 tool xargs
line "  bare loop" real 3 4 loop xargs
line "  tool vs loop" real 2 3 tool loop
printf '%-16s tool and loop: peak pdftk processes %s, peak MB %s\n' "" "$(values real 5 | mmm %3.0f)" \
  "$(values real 6 | awk '{print $1 / 1024}' | mmm %6.0f)"
printf '%-16s xargs -P %d: peak pdftk processes %s, peak MB %s\n' "" "$places" "$(values real 7 | mmm %3.0f)" \
  "$(values real 8 | awk '{print $1 / 1024}' | mmm %6.0f)"

small=${scan_sizes[0]}; big=${scan_sizes[${#scan_sizes[@]} - 1]}
scan_big=$(ratios "scan $big" 3 4 | median); scan_small=$(ratios "scan $small" 3 4 | median)
merge_ratio=$(ratios merge 2 3 | median); real_ratio=$(ratios real 2 4 | median)
p99=$(values merge 4 | median); worst=$(values merge 5 | median); most=$(values real 5 | largest)
echo "targets (medians of the ratios):"
echo "  scan $big <= 2 x floor: $scan_big, $(verdict "$scan_big" 2)"
echo "  growth no worse than linear (the ratio does not grow with the size): scan $small $scan_small," \
  "scan $big $scan_big, $(verdict "$scan_big" "$(awk -v r="$scan_small" 'BEGIN {print r * 1.25 + 0.1}')")"
echo "  merge run <= 1.25 x floor: $merge_ratio, $(verdict "$merge_ratio" 1.25)"
echo "  reply p99 <= 100 ms: $p99, $(verdict "$p99" 100); max <= 250 ms: $worst, $(verdict "$worst" 250)"
echo "  real merging <= 1.15 x xargs -P $places: $real_ratio, $(verdict "$real_ratio" 1.15)"
echo "  never more than $places pdftk at once: $most, $(verdict "$most" "$places")"
