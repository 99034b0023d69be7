#!/bin/sh
# The command ippeveprinter runs for each document (-c): it keeps the job's IPP_* variables
# beside the document, counts 3 impressions, and jams a job whose name holds "jam".
env | grep '^IPP_' > "$1.env"
case "$IPP_JOB_NAME" in
  *jam*) echo "STATE: +media-jam" >&2; sleep 1; exit 1 ;;
esac
echo "ATTR: job-impressions-completed=3" >&2
