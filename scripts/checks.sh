# Sourced by the test scripts that check things one command at a time: check
# runs a command and counts it, checks_summary prints the closing line and
# gives the exit status.
passes=0
failures=0
check() {
  if "$@"; then
    passes=$((passes + 1))
  else
    echo "FAILED: $*"
    failures=$((failures + 1))
  fi
}
checks_summary() {
  echo "$1: $passes passed, $failures failed"
  ((failures == 0))
}
