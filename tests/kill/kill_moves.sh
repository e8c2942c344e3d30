#!/usr/bin/env bash
# kill_moves.sh: kills Rename and Move with SIGKILL at random moments, across two file systems
# in both directions, and checks after every kill that no file was lost, that no final name
# holds a partial file, and that whatever else is left is a recognisable *.tarnwick-part.
# Usage: kill_moves.sh <scan_driver> <work folder on the disk> [kills, default 100]
set -euo pipefail

driver=$(realpath "$1")
kills_wanted=${3:-100}
mkdir -p "$2"
disk=$(realpath "$2")
shm=/dev/shm/tarnwick-kill-$$
mkdir -p "$shm" 2>/dev/null || shm=$disk/other # still worth it: kills during same-volume renames
trap 'rm -rf "$shm" "$disk"' EXIT
[[ $(stat -c %d "$shm") != $(stat -c %d "$disk") ]] ||
  echo "kill: $shm and $disk are one file system: moves are renames only" >&2
kills=0 lost=0 partial=0 parts=0 doubled=0 extra=0 runs=0 sub=""

# A fresh collection: images of 128 KiB to 1 MiB, two with the bytes of another, a sub-folder,
# and a file of the user's in the destination that one Move target takes.
make_collection() { # <src> <dest> <program dir>
  local i
  rm -rf "$1" "$2" "$3"
  mkdir -p "$1/sub" "$2" "$3"
  for i in $(seq 1 16); do
    head -c $(((RANDOM % 8 + 1) * 131072)) /dev/urandom >"$1/$( ((i > 12)) && echo sub/)rom$i.gba"
  done
  cp "$1/rom1.gba" "$1/sub/copy of rom1.gba"
  cp "$1/rom2.gba" "$1/sub/rom2.gba"
  echo "the user's own rom3.gba" >"$2/rom3.gba"
  (cd "$1" && find . -type f -exec sha256sum {} + | cut -d' ' -f1 | sort) >"$3.want"
  (cd "$2" && sha256sum rom3.gba) >"$3.user"
}

# Against the sources' bytes: bytes of no source are a partial file under a final name; bytes
# found fewer times than sent are lost; more times, a kill fell between the copy taking its
# final name and the source's removal (extra, counted once a run gets through).
check() { # <src> <dest> <program dir>
  parts=$((parts + $(find "$1" "$2" -name '*.tarnwick-part' -type f -print -delete | wc -l)))
  if ! (cd "$2" && sha256sum --status -c "$3.user"); then
    echo "kill: the user's rom3.gba was overwritten" >&2
    lost=$((lost + 1))
  fi
  read -r bad missing extra < <(find "$1" "$2" -type f ! -path "$2/rom3.gba" -exec sha256sum {} + |
    cut -d' ' -f1 | awk 'NR == FNR { want[$1]++; next } { got[$1]++ }
      END { for (h in got) if (!(h in want)) b++; else if (got[h] > want[h]) e += got[h] - want[h]
            for (h in want) if (got[h] < want[h]) m += want[h] - got[h]
            print b + 0, m + 0, e + 0 }' "$3.want" -)
  partial=$((partial + bad)) lost=$((lost + missing))
  if ((bad + missing > 0)); then
    echo "kill: after kill $kills: $missing lost, $bad partial under a final name" >&2
    find "$1" "$2" -type f | sort >&2
  fi
}

# One mode and direction, SUB on when asked: kill, check, run again on the survivors; a new
# collection once a run gets through. An undisturbed run first sets the range of the moments.
round() { # <mode> <src root> <dest root> <kills> [sub]
  local mode=$1 src=$2/src dest=$3/dest prog=$disk/prog-$1 want=$((kills + $4)) start span pid killed
  sub=${5:-}
  make_collection "$src" "$dest" "$prog"
  start=$(date +%s%N)
  "$driver" "$mode" "$prog" "$src" "$dest" $sub >/dev/null
  span=$((($(date +%s%N) - start) / 1000000 + 20))
  check "$src" "$dest" "$prog"
  make_collection "$src" "$dest" "$prog"
  while ((kills < want)); do
    runs=$((runs + 1))
    "$driver" "$mode" "$prog" "$src" "$dest" $sub >/dev/null 2>&1 &
    pid=$!
    sleep "$(awk -v r=$((RANDOM * 32768 + RANDOM)) -v s="$span" 'BEGIN { print (r % s) / 1000 }')"
    killed=0
    kill -KILL "$pid" 2>/dev/null && killed=1 && kills=$((kills + 1))
    wait "$pid" 2>/dev/null || true
    check "$src" "$dest" "$prog"
    if ((!killed)); then
      doubled=$((doubled + extra))
      make_collection "$src" "$dest" "$prog"
    fi
  done
  "$driver" "$mode" "$prog" "$src" "$dest" $sub >/dev/null # finishes the job on the survivors
  check "$src" "$dest" "$prog"
  doubled=$((doubled + extra))
}

per_round=$(((kills_wanted + 3) / 4))
round rename "$shm" "$disk" "$per_round"
round move "$shm" "$disk" "$per_round"
round rename "$disk" "$shm" "$per_round" sub
round move "$disk" "$shm" "$per_round" sub

echo "Kills: $kills survived in $runs runs; files lost $lost; partial files under a final name" \
  "$partial; temporary files left $parts (all *.tarnwick-part); files found twice $doubled"
((lost == 0 && partial == 0))
