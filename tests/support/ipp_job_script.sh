#!/bin/sh
# The command ippeveprinter runs for each document (-c): it keeps the job's IPP_* variables
# beside the document, counts 3 impressions, jams a job whose name holds "jam" and takes 5 s
# for one whose name holds "slow".
env | grep '^IPP_' > "$1.env"
case "$IPP_JOB_NAME" in
  *jam*) echo "STATE: +media-jam" >&2; sleep 1; exit 1 ;;
  *slow*) sleep 5 ;;
esac
echo "ATTR: job-impressions-completed=3" >&2
