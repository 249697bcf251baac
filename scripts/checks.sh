# The tally the shell test scripts keep, sourced by each: pass, or fail with
# the reason, and `checks_done`, which sums up and fails when any did.
checks=0
failures=0
pass() { checks=$((checks + 1)); }
fail() { checks=$((checks + 1)); failures=$((failures + 1)); echo "FAIL: $*"; }
checks_done() {
  echo "$checks checks, $failures failed"
  [ "$failures" = 0 ]
}
