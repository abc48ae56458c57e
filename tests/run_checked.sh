#!/usr/bin/env bash
# Runs a Java command and fails it when the VM's JNI checking complained,
# even if the program itself exited 0.
set -u
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$@" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
if grep -qE 'WARNING in native method|FATAL ERROR in native method|hs_err_pid|SIGSEGV' "$log"; then
  echo "run_checked: the JVM reported a JNI problem" >&2
  exit 1
fi
exit "$status"
