#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a power cut the moment a save returns leaves on the disk:
#     bench/power_cut.sh BUILD_DIR
# Makes a small ext4 image, mounts it through a loop device, and takes a copy
# of the image at once after each step, as the disk stands then. Each copy is
# repaired as a restart would (e2fsck replays the journal) and the vocabulary
# file read out of it with debugfs. Steps: a Create of a new file, a save to
# it, and, as the yardstick, a save without the sync. Needs root, or sudo,
# for the loop device. Exits with 1 when a step the saver reported written is
# not in its copy.
set -euo pipefail
build=$(realpath "$1")
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

work=$(mktemp -d)
mounted=""
cleanup() {
    [ -z "$mounted" ] || "${as_root[@]}" umount "$mounted"
    rm -rf "$work"
}
trap cleanup EXIT

image="$work/disk.img"
truncate -s 32M "$image"
mkfs.ext4 -q -F "$image"
mkdir "$work/disk"
"${as_root[@]}" mount -o loop "$image" "$work/disk"
mounted="$work/disk"
"${as_root[@]}" chmod 0777 "$work/disk"
words="$work/disk/words.txt"

# What the file holds in a copy of the image taken now.
after_power_cut() {
    local copy="$work/copy.img"
    cp --sparse=always "$image" "$copy"
    e2fsck -fy "$copy" >/dev/null 2>&1 || [ $? -le 1 ]
    debugfs -R "cat /words.txt" "$copy" 2>/dev/null | tr -d '\r'
    rm -f "$copy"
}

sound=0
report() {
    local step=$1 expected=$2 kept=$3 held_to=$4
    local result
    if grep -qxF "$expected" <<< "$kept"; then result="kept"; else result="LOST"; fi
    printf '%-34s %s\n' "$step" "$result"
    if [ "$held_to" = yes ] && [ "$result" = LOST ]; then sound=1; fi
}

"$build/bin/save_once" create "$words" "film.avi"
report "create of a new file" "film.avi" "$(after_power_cut)" yes
"$build/bin/save_once" save "$words" "saved --> kept"
report "save" "saved --> kept" "$(after_power_cut)" yes
"$build/bin/save_once" save-without-sync "$words" "unsynced --> lost"
report "save without the sync (yardstick)" "unsynced --> lost" "$(after_power_cut)" no
exit $sound
