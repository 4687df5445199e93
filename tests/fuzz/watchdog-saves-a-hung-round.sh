#!/bin/sh
# The notes target's watchdog on a round made to hang after an ordinary one, busy (spin) or
# blocked (block): the run fails with libFuzzer's timeout status, the hung round's input (not
# the one before it) lies where libFuzzer would put a timeout's, the message names it, and the
# target's scratch program folder is not left behind.
# Usage: watchdog-saves-a-hung-round.sh REPLAY WORK_FOLDER spin|block
set -eu
replay=$1 work=$2 mode=$3
long=600000
if [ "$mode" = spin ]; then
    processor=1000 wall=$long limit="1000 ms of processor time"
else
    processor=$long wall=1000 limit="1000 ms of wall time"
fi
rm -rf "$work"
mkdir -p "$work/inputs" "$work/artifacts" "$work/tmp"
printf '<p>an ordinary page</p>' >"$work/inputs/1-before"
# Over one SHA-1 block, so the artifact's name is not that of a short input only.
{
    printf '<p>hang here</p>'
    seq 1 40
} >"$work/inputs/2-hung"
printf '<p>never reached</p>' >"$work/inputs/3-after"

status=0
TMPDIR="$work/tmp" EXAMSIM_FUZZ_HANG=$mode EXAMSIM_FUZZ_ROUND_PROCESSOR_MS=$processor \
    EXAMSIM_FUZZ_ROUND_WALL_MS=$wall timeout --signal=KILL 120 \
    "$replay" -artifact_prefix="$work/artifacts/" "$work/inputs" 2>"$work/stderr" || status=$?
cat "$work/stderr"
if [ "$status" -ne 70 ]; then
    echo "the run ended with status $status, not the watchdog's 70"
    exit 1
fi
artifact="$work/artifacts/timeout-$(sha1sum <"$work/inputs/2-hung" | cut -d ' ' -f 1)"
if ! cmp "$work/inputs/2-hung" "$artifact"; then
    echo "the hung round's input is not at $artifact:"
    ls "$work/artifacts"
    exit 1
fi
if [ "$(ls "$work/artifacts" | wc -l)" -ne 1 ]; then
    echo "more than the hung round's input was saved"
    exit 1
fi
grep -F "a round ran over its limit of $limit; its input is in $artifact" "$work/stderr"
if ls "$work/tmp" | grep examsim-fuzz-; then
    echo "the scratch program folder was left behind"
    exit 1
fi
