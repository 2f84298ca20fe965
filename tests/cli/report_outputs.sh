#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# cdnozzle-report never reports success for output it could not write, and
# never loses a file or a report that was there before.
#   report_outputs.sh PATH/TO/cdnozzle-report SCRATCH-DIR
set -u
exe=$1
out=$2
rm -rf "$out" && mkdir -p "$out" && cd "$out" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect STATUS STDERR-PATTERN -- command...
expect() {
  local want=$1 pattern=$2
  shift 3
  "$@" >stdout.txt 2>stderr.txt
  local rc=$?
  [ "$rc" = "$want" ] || fail "$* exited $rc, expected $want: $(cat stderr.txt)"
  if [ -n "$pattern" ]; then
    grep -q -- "$pattern" stderr.txt || fail "$*: stderr lacks '$pattern': $(cat stderr.txt)"
  fi
}

# A full disk: the write limit makes every write fail as ENOSPC would.
printf 'precious' >old.csv
for f in old.csv new.csv; do
  prlimit --fsize=2000 "$exe" --pe-po .3 --csv $f >/dev/null 2>stderr.txt; rc=$?
  [ $rc = 1 ] && grep -q "could not save $f: file too large" stderr.txt || fail "--csv $f: $rc $(cat stderr.txt)"
done
[ "$(cat old.csv)" = precious ] || fail "old.csv was changed"
[ ! -e new.csv ] || fail "new.csv was left behind"
expect 1 "no space left on device" -- "$exe" --pe-po .3 --csv /dev/full
expect 1 "no space left on device" -- "$exe" --pe-po .3 --png /dev/full
[ "$(ls -A | sort | tr '\n' ' ')" = "old.csv stderr.txt stdout.txt " ] || fail "stray files: $(ls -A)"

# A write-protected file is refused and kept, as cp and the shell's > do;
# checked as an ordinary user, since root may write any file.
mkdir shared && chmod 777 shared && printf precious >shared/old.csv && chmod 444 shared/old.csv
user=()
[ "$(id -u)" = 0 ] && user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
if "${user[@]}" true 2>/dev/null; then
  for option in --csv --png; do
    expect 1 "could not save shared/old.csv: the file is write-protected" -- "${user[@]}" "$exe" $option shared/old.csv
  done
  [ "$(cat shared/old.csv)" = precious ] && [ "$(ls -A shared)" = old.csv ] || fail "old.csv was replaced"
else
  echo "SKIP: cannot run as an ordinary user (setpriv); write-protected files not checked"
fi
rm -rf shared

# Standard output that cannot be written is a failure.
"$exe" >/dev/full 2>stderr.txt; rc=$?
[ $rc = 1 ] && grep -q "could not write to standard output: no space left on device" stderr.txt \
  || fail "report to /dev/full: $rc $(cat stderr.txt)"
"$exe" --json >/dev/full 2>stderr.txt || [ $? = 1 ] || fail "--json to /dev/full"
[ "$("$exe" --json >/dev/full 2>/dev/null; echo $?)" = 1 ] || fail "--json to /dev/full exit status"
[ "$("$exe" >&- 2>/dev/null; echo $?)" = 1 ] || fail "closed standard output"

# /dev/stdout redirected into a file: the report stays, the table follows it.
"$exe" --pe-po 0.8 --csv /dev/stdout >both.txt 2>stderr.txt || fail "--csv /dev/stdout: $(cat stderr.txt)"
head -1 both.txt | grep -q '^iMax=100$' || fail "the report was lost: $(head -2 both.txt)"
grep -q '^i,x,y,AA,M,PiPo,T_T0,rho_rho0,V_astar$' both.txt || fail "the table is missing"
# "-" is standard output, which then carries that file alone.
"$exe" --pe-po 0.8 --csv - >table.csv || fail "--csv -"
[ "$(head -1 table.csv)" = "i,x,y,AA,M,PiPo,T_T0,rho_rho0,V_astar" ] && [ "$(wc -l <table.csv)" = 102 ] || fail "--csv - content"
"$exe" --pe-po 0.8 --svg - | grep -q '<svg' || fail "--svg -"
# A FIFO is written in place.
mkfifo pipe && { cat pipe >from-pipe.csv & "$exe" --csv pipe || fail "--csv FIFO"; wait; }
[ "$(wc -l <from-pipe.csv)" = 102 ] || fail "FIFO content"
[ -p pipe ] || fail "the FIFO was replaced"
rm -f pipe from-pipe.csv table.csv both.txt

# The option names the format, whatever the file is called.
"$exe" --png fig.svg --svg fig.png || fail "--png fig.svg --svg fig.png"
[ "$(head -c 4 fig.svg | tail -c 3)" = PNG ] || fail "--png fig.svg is not a PNG"
grep -q '<svg' fig.png || fail "--svg fig.png is not an SVG"
"$exe" --png figure || fail "--png without an extension"
[ "$(head -c 4 figure | tail -c 3)" = PNG ] || fail "--png figure is not a PNG"
expect 2 "needs a file name" -- "$exe" --png ""
expect 1 "could not save missing/fig.png: no such file or directory" -- "$exe" --png missing/fig.png
grep -q "libpng\|nknown error" stderr.txt && fail "stray library message: $(cat stderr.txt)"

# Arguments never swallow each other.
expect 0 "" -- "$exe" --amax= --pe-po=0.5
grep -q "^regime: oblique exit shocks$" stdout.txt || fail "--amax= --pe-po=0.5: $(grep regime stdout.txt)"
expect 2 "--csv needs a file name" -- "$exe" --csv= --json
[ ! -e ./--json ] || fail "a file called --json"
expect 2 "unknown option --bogus" -- "$exe" --bogus

# A sweep writes one numbered frame per back pressure, never into a folder
# that holds frames already, and a failed frame is a failure that still
# lists the frames written before it.
"$exe" --sweep 1:0.5:0.01 --frames frames >listing.txt || fail "--sweep"
[ "$(ls frames | wc -l)" = 51 ] || fail "--sweep 1:0.5:0.01 wrote $(ls frames | wc -l) frames"
[ "$(head -c 4 frames/frame-0051.png | tail -c 3)" = PNG ] || fail "frame-0051.png is not a PNG"
grep -q "frame-0021.png	Pe/Po=0.8	normal shock inside" listing.txt || fail "sweep listing"
expect 2 "the folder frames already holds frames" -- "$exe" --sweep 0.9:0.8:0.1 --frames frames
cmp -s frames/frame-0001.png <("$exe" --png - --pe-po 1) && [ "$(ls frames | wc -l)" = 51 ] \
  || fail "a second sweep changed the frames"
# The first frame (no flow) is the smallest: the second one fails.
prlimit --fsize="$(stat -c %s frames/frame-0001.png)" "$exe" --sweep 1:0.9:0.01 --frames small \
  >stdout.txt 2>stderr.txt; rc=$?
[ $rc = 1 ] && grep -q "file too large" stderr.txt || fail "a failed frame: $rc $(cat stderr.txt)"
[ "$(cat stdout.txt)" = "small/frame-0001.png	Pe/Po=1	no flow" ] || fail "listing of a failed sweep: $(cat stdout.txt)"
for option in --png=x.png --svg=x.svg --csv=x.csv --json --explain; do
  expect 2 "${option%%=*} cannot go with --sweep" -- "$exe" --sweep 1:0.9:0.1 --frames with $option
done
[ ! -e with ] && [ ! -e x.png ] || fail "a refused sweep wrote files"
touch notafolder
expect 1 "could not make the folder notafolder" -- "$exe" --sweep 1:0.9:0.01 --frames notafolder
expect 2 "Pe/Po = must be a number above 0" -- "$exe" --sweep 1.1:0.9:0.1 --frames refused
[ ! -e refused ] || fail "a refused sweep made its folder"
# The unsteady run's frames: every N steps from the start to the last step,
# refused as the sweep's are.
"$exe" --unsteady --cells 40 --steps 25 --frames uframes --every 10 >listing.txt || fail "--unsteady --frames"
[ "$(ls uframes | tr '\n' ' ')" = "frame-0001.png frame-0002.png frame-0003.png frame-0004.png " ] \
  || fail "--unsteady --steps 25 --every 10 wrote $(ls uframes)"
[ "$(head -c 4 uframes/frame-0004.png | tail -c 3)" = PNG ] || fail "uframes/frame-0004.png is not a PNG"
[ "$(cut -f1,2 listing.txt | head -4 | tr '\n' ' ')" = "uframes/frame-0001.png	step=0 uframes/frame-0002.png	step=10 uframes/frame-0003.png	step=20 uframes/frame-0004.png	step=25 " ] \
  || fail "unsteady frames listing: $(cat listing.txt)"
cmp -s uframes/frame-0003.png uframes/frame-0004.png && fail "the last frame is the one before it"
expect 2 "the folder uframes already holds frames" -- "$exe" --unsteady --steps 5 --frames uframes --every 1
expect 1 "could not make the folder notafolder" -- "$exe" --unsteady --steps 5 --frames notafolder --every 1
expect 2 "--every goes with --frames" -- "$exe" --unsteady --steps 5 --every 1
expect 2 "--every must be a whole number" -- "$exe" --unsteady --steps 5 --frames refused --every 0
[ ! -e refused ] || fail "a refused unsteady run made its folder"
rm -rf frames small notafolder listing.txt uframes
# Another user's link in a sticky folder everyone may write (such as /tmp) is
# refused before any folder is made through it.
if [ "$(id -u)" = 0 ]; then
  mkdir sticky elsewhere && chmod 1777 sticky && ln -s "$PWD/elsewhere" sticky/link && chown -h 65534 sticky/link
  expect 1 "could not make the folder sticky/link/new/frames: the link belongs to another user" \
    -- "$exe" --sweep 1:0.9:0.1 --frames sticky/link/new/frames
  [ -z "$(ls -A elsewhere)" ] || fail "--frames made folders through another user's link: $(ls -A elsewhere)"
  rm -rf sticky elsewhere
else
  echo "SKIP: only root can make another user's link; --frames through it not checked"
fi

# Numbers are read with "." as the decimal point whatever the user's locale,
# also once the rendering has started (a comma-decimal locale, made here
# when the system lacks one).
locales=$out-locales
[ -e "$locales/de_DE.UTF-8" ] || { mkdir -p "$locales" && localedef -i de_DE -f UTF-8 "$locales/de_DE.UTF-8"; } >/dev/null 2>&1
if [ "$(LOCPATH=$locales LC_ALL=de_DE.UTF-8 locale decimal_point 2>/dev/null)" = , ]; then
  de() { LOCPATH=$locales LC_ALL=de_DE.UTF-8 "$@"; }
  expect 0 "" -- de "$exe" --k 1.2 --png de.png
  expect 2 'k must be a number from 1.05 to 1.7 (got "1,2")' -- de "$exe" --k 1,2 --png de.png
  expect 0 "" -- de "$exe" --sweep 0.9:0.8:0.1 --frames de-frames
  grep -q "frame-0002.png	Pe/Po=0.8	" stdout.txt || fail "sweep in a comma locale: $(cat stdout.txt)"
  expect 2 "--sweep takes FROM:TO:STEP" -- de "$exe" --sweep 0,9:0,8:0,1 --frames de-frames2
  # Every output of a picture, a table and a figure set is the same byte for
  # byte in a comma-decimal locale (tick values and significant figures
  # included), for the nozzle alone and for an engine.
  for inputs in "--pe-po 0.5" "--me-sup 3 --pe-po 0.0071 --amax 4" \
      "--me-sup 3 --k 1.2 --p0 7MPa --t0 3500K --throat-area 300cm2 --molar-mass 22 --altitude 20km"; do
    for lc in C de; do
      run=$([ $lc = C ] && echo env LC_ALL=C || echo de)
      # shellcheck disable=SC2086
      $run "$exe" $inputs --png $lc.png --svg $lc.svg --csv $lc.csv >/dev/null 2>&1 || fail "$lc: $inputs"
      # shellcheck disable=SC2086
      $run "$exe" $inputs --json --explain >$lc.json 2>/dev/null || fail "$lc json: $inputs"
    done
    for f in png svg csv json; do cmp -s C.$f de.$f || fail "$f differs in a comma locale: $inputs"; done
  done
  rm -rf de.png de-frames C.* de.*
else
  echo "SKIP: no comma-decimal locale could be made (localedef -i de_DE); locale checks not run"
fi

# --explain follows the report, and is a key of the JSON object.
"$exe" --pe-po 0.5 --explain | tail -3 | grep -q "over-expanded" || fail "--explain"
"$exe" --pe-po 0.5 --explain --json | grep -q '"explanation": "Pe/Po = 0.5 lies between' || fail "--explain --json"

# Other gases: --k 1.4 is air, byte for byte; a k out of range is refused.
"$exe" --pe-po 0.5 --json --explain >air.json
"$exe" --pe-po 0.5 --json --explain --k 1.4 | cmp -s - air.json || fail "--k 1.4 differs from air"
"$exe" --pe-po 0.5 --csv - --k=1.4 | cmp -s - <("$exe" --pe-po 0.5 --csv -) || fail "--k 1.4 CSV"
expect 2 "k must be a number from 1.05 to 1.7 (got \"1.8\")" -- "$exe" --k 1.8
expect 2 "k must be a number from 1.05 to 1.7 (got \"air\")" -- "$exe" --k air
"$exe" --k 1.6666666666666667 --me-sup 2 --pe-po 0.8 | grep -q "sesaltı limit=0.8728" || fail "--k helium"
grep -q '"mdot_ratio": 1' air.json && grep -q '"C_F"' air.json && grep -q '"T_T0"' air.json \
  || fail "JSON lacks the new figures"
rm -f air.json

if [ $failures -ne 0 ]; then echo "$failures failed"; exit 1; fi
echo "all output checks passed"
