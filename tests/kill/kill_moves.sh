#!/usr/bin/env bash
# kill_moves.sh: kills Rename and Move with SIGKILL at random moments, across two file systems
# in both directions, and checks after every kill that no file was lost, that no final name
# holds a partial file, and that whatever else is left is a recognisable *.tarnwick-part.
# Usage: kill_moves.sh <scan_driver> <work folder on the disk> [kills, default 100]
set -euo pipefail

driver=$(realpath "$1")
disk=$2
kills_wanted=${3:-100}
mkdir -p "$disk"
disk=$(realpath "$disk")
shm=/dev/shm/tarnwick-kill-$$
if ! mkdir -p "$shm" 2>/dev/null; then
  shm=$disk/other  # still worth running: kills during same-volume renames
fi
trap 'rm -rf "$shm" "$disk"' EXIT

if [[ $(stat -c %d "$shm") == $(stat -c %d "$disk") ]]; then
  echo "kill: $shm and $disk are one file system: moves are renames only" >&2
fi

kills=0 lost=0 partial=0 parts=0 doubled=0 runs=0 sub=""

# A fresh collection in src: loose images of 128 KiB to 1 MiB, two with the bytes of another,
# a sub-folder, and a file of the user's in the destination that one Move target takes.
make_collection() { # <root of src> <root of dest> <program dir>
  local src=$1 dest=$2 prog=$3 i
  rm -rf "$src" "$dest" "$prog"
  mkdir -p "$src/sub" "$dest" "$prog"
  for i in $(seq 1 12); do
    head -c $(((RANDOM % 8 + 1) * 128 * 1024)) /dev/urandom >"$src/rom$i.gba"
  done
  for i in $(seq 13 16); do
    head -c $(((RANDOM % 8 + 1) * 128 * 1024)) /dev/urandom >"$src/sub/rom$i.gba"
  done
  cp "$src/rom1.gba" "$src/sub/copy of rom1.gba"
  cp "$src/rom2.gba" "$src/sub/rom2.gba"
  echo "the user's own rom3.gba" >"$dest/rom3.gba"
  # What must survive: the bytes of every source, and the user's file where it is.
  (cd "$src" && find . -type f -exec sha256sum {} + | cut -d' ' -f1 | sort) >"$prog.want"
  (cd "$dest" && sha256sum rom3.gba) >"$prog.user"
}

# Checks src and dest after a kill; adds to the counters; prints and fails on a loss.
check() { # <src> <dest> <program dir>
  local src=$1 dest=$2 prog=$3 file
  local found=$prog.found
  : >"$found"
  while IFS= read -r -d '' file; do
    if [[ $file == *.tarnwick-part ]]; then
      parts=$((parts + 1))
      rm -f "$file"  # counted; a later run would never reuse its name
      continue
    fi
    sha256sum "$file" | cut -d' ' -f1 >>"$found"
  done < <(find "$src" "$dest" -type f ! -path "$dest/rom3.gba" -print0)
  if ! (cd "$dest" && sha256sum --status -c "$prog.user"); then
    echo "kill: the user's rom3.gba was overwritten" >&2
    lost=$((lost + 1))
  fi
  # Against the sources' bytes: bytes of no source are a partial file under a final name;
  # bytes found fewer times than they were sent are lost; more times, a kill fell between
  # the copy taking its final name and the source's removal.
  local bad missing extra
  read -r bad missing extra < <(awk '
    NR == FNR { want[$1]++; next }
    { got[$1]++ }
    END {
      for (h in got) if (!(h in want)) bad++; else if (got[h] > want[h]) extra += got[h] - want[h]
      for (h in want) if (got[h] < want[h]) missing += want[h] - got[h]
      print bad + 0, missing + 0, extra + 0
    }' "$prog.want" "$found")
  rm -f "$found"
  partial=$((partial + bad))
  lost=$((lost + missing))
  echo "$extra" >"$prog.doubled"
  if ((bad + missing > 0)); then
    echo "kill: after kill $kills: $missing lost, $bad partial under a final name" >&2
    find "$src" "$dest" -type f | sort >&2
  fi
}

# Runs the driver and kills it after delay seconds; fails when it had finished first.
run_and_kill() { # <mode> <prog> <src> <dest> <delay>
  "$driver" "$1" "$2" "$3" "$4" $sub >/dev/null 2>&1 &
  local pid=$!
  sleep "$5"
  local killed=0
  kill -KILL "$pid" 2>/dev/null && killed=1
  wait "$pid" 2>/dev/null || true
  ((killed))
}

# One mode and direction, with SUB on when asked: kill, check, run again on the survivors; a
# new collection once a run gets through.
round() { # <mode> <src root> <dest root> <kills> [sub]
  local mode=$1 src=$2/src dest=$3/dest prog=$disk/prog-$1 want=$((kills + $4))
  sub=${5:-}
  make_collection "$src" "$dest" "$prog"
  # The length of an undisturbed run decides the range of the random moments.
  local start end span
  start=$(date +%s%N)
  "$driver" "$mode" "$prog" "$src" "$dest" $sub >/dev/null
  end=$(date +%s%N)
  span=$(((end - start) / 1000000 + 20))
  check "$src" "$dest" "$prog"
  make_collection "$src" "$dest" "$prog"
  while ((kills < want)); do
    runs=$((runs + 1))
    local delay
    delay=$(awk -v r=$((RANDOM * 32768 + RANDOM)) -v span="$span" \
      'BEGIN { printf "%.3f", (r % span) / 1000 }')
    if run_and_kill "$mode" "$prog" "$src" "$dest" "$delay"; then
      kills=$((kills + 1))
      check "$src" "$dest" "$prog"
    else
      check "$src" "$dest" "$prog"
      doubled=$((doubled + $(cat "$prog.doubled")))
      make_collection "$src" "$dest" "$prog"
    fi
  done
  # A last undisturbed run finishes the job on the survivors.
  "$driver" "$mode" "$prog" "$src" "$dest" $sub >/dev/null
  check "$src" "$dest" "$prog"
  doubled=$((doubled + $(cat "$prog.doubled")))
}

per_round=$(((kills_wanted + 3) / 4))
round rename "$shm" "$disk" "$per_round"
round move "$shm" "$disk" "$per_round"
round rename "$disk" "$shm" "$per_round" sub
round move "$disk" "$shm" "$per_round" sub

echo "Kills: $kills survived in $runs runs; files lost $lost; partial files under a final name" \
  "$partial; temporary files left $parts (all *.tarnwick-part); files found twice $doubled"
((lost == 0 && partial == 0))
